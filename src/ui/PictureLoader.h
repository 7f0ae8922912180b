#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace zelvo {

// The most memory one decoded picture may take; set once at start-up.
inline constexpr int PictureAllocationLimitMB = 256;
void applyPictureAllocationLimit();

// The reader chosen for a file by its extension: "bmp", "jpeg", "gif" or "ico"; nothing for
// any other extension, whose content is then tried against those four readers only.
[[nodiscard]] std::optional<QByteArray> pictureFormatFor(const QString& path);

struct PictureRequest
{
    // When valid: the picture is wanted at this size (stretched), decoded at a reduced size
    // where the reader can do that.
    QSize scaledTo;
    // When valid: only the top-left part of this size is wanted, decoded alone where the
    // reader can do that.
    QSize clippedTo;
};

// A null image when the file is not a picture that can be loaded.
[[nodiscard]] QImage loadPicture(const QString& path, const PictureRequest& request = {});

} // namespace zelvo
