#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace zelvo {

// What a reader will allocate for a picture, found from the file's headers the way the reader
// itself reads them, which is not always the size it reports.
struct DecodedSize
{
    qint64 width = 0;
    qint64 height = 0;
    // The memory the reader takes for it, conversions included.
    qint64 bytes = 0;
    // The pixels the reader computes, shown or not: for a GIF, its first picture's, which may
    // reach far past the screen.
    qint64 pixelsComputed = 0;
    friend bool operator==(const DecodedSize&, const DecodedSize&) = default;
};

// The format the leading bytes belong to: "bmp", "jpeg", "gif" or "ico"; nothing for others.
[[nodiscard]] std::optional<QByteArray> pictureFormatOf(QByteArrayView head);

// A bitmap: a top-down bitmap's negative height is as tall as a positive one.
[[nodiscard]] std::optional<DecodedSize> bitmapDecodedSize(QByteArrayView head);

// A GIF: the logical screen, whatever the size of the picture on it (the picture's extent for a
// screen of no size); with a copy of the picture's area when it is to be restored afterwards.
[[nodiscard]] std::optional<DecodedSize> gifDecodedSize(QByteArrayView head);

// An icon: the largest picture inside it, by the headers of the bitmaps and PNG pictures
// themselves, not by the directory's entries, which cannot say more than 256.
[[nodiscard]] std::optional<DecodedSize> iconDecodedSize(QByteArrayView file);

// The bitmap's bits per pixel, 0 when the header cannot be read.
[[nodiscard]] int bitmapBitCount(QByteArrayView head);

} // namespace zelvo
