#pragma once

#include "ByteWalk.h"

#include <QByteArrayView>
#include <QtGlobal>

namespace zelvo {

// Whether the parts of a picture file that a reader needs all lie in the file: a file cut short,
// or still being written, ends before them.

// Whether a bitmap's picture data ends in the file: all the rows of an uncompressed one, the
// end-of-picture code of a run-length coded one. The head holds the headers.
[[nodiscard]] bool bitmapDataEnds(ByteWalk& file, QByteArrayView head);

// Whether every picture an icon's directory lists lies in the file.
[[nodiscard]] bool iconEntriesFit(QByteArrayView file);

// Whether the blocks of a GIF from at on (frames and extensions after its first picture) end
// with its trailer.
[[nodiscard]] bool gifTrailerFollows(ByteWalk& file, qint64 at);

} // namespace zelvo
