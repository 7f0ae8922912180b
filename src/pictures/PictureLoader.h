#pragma once

#include "PictureBudget.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace zelvo {

// Qt's own limit for one decoded picture, as a second guard behind the loader's budget; set once
// at start-up.
void applyPictureAllocationLimit();

// The reader chosen for a file by its extension: "bmp", "jpeg", "gif" or "ico"; nothing for
// any other extension, whose content then chooses among those four readers.
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

// A null image when the file is not a picture that can be loaded within the budget: at most
// PictureBudgetBytes of memory for the whole load, and no more bytes read or decoding work done
// than a real picture of its size can need.
[[nodiscard]] QImage loadPicture(const QString& path, const PictureRequest& request = {});

} // namespace zelvo
