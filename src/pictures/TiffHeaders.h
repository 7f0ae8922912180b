#pragma once

#include "ByteWalk.h"
#include "PictureHeaders.h"

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace zelvo {

// The leading bytes of a TIFF, little- or big-endian, classic or BigTIFF.
[[nodiscard]] bool isTiff(QByteArrayView head);

// What reading the first page of a TIFF asks of its reader, found by walking the page's
// directory and the lists of its strips or tiles before any pixel is decoded.
struct TiffPage
{
    // The decoded picture; the pixels computed are those of every strip or tile, padding
    // included.
    DecodedSize decoded;
    // What the reader holds beside the picture: the directory's values, the lists of strips or
    // tiles, and the buffers of one strip or tile, compressed and unpacked.
    qint64 readerBytes = 0;
};

// The most entries a directory may hold; writers put a few dozen there.
inline constexpr int MaxTiffDirectoryEntries = 1000;

// Nothing for a page that its reader would not decode within the budget: no size, samples or
// compression it knows, a list of strips or tiles that does not cover the picture, strips or
// tiles reaching past the end of the file, or more data than a picture of its size can honestly
// hold.
[[nodiscard]] std::optional<TiffPage> tiffFirstPage(ByteWalk& file);

} // namespace zelvo
