#pragma once

#include "LoadControl.h"
#include "PictureFile.h"
#include "PictureLoader.h"

#include <QImage>

namespace zelvo {

// Decodes the JPEG in file, whose first bytes were already read into head, with libjpeg itself, so
// that the load stays within limits no other reader lets us set: at most budget bytes of memory for
// the decoder's work and the picture it gives, at most MaxJpegScans scans and
// MaxJpegCoefficientPasses passes over the coefficients, no more bytes than a JPEG of its size can
// honestly take and no fewer than it must, and no work once the guard says stop. A preview
// (scaledTo) is decoded at libjpeg's nearest reduced size and shrunk row by row to exactly that
// size; a part (clippedTo) stops decoding past its last row. Null when the file is not a JPEG
// that can be loaded within those limits, when its coded data ends with the file before the
// picture does, or, for a complete file only, when its end-of-image marker is missing.
[[nodiscard]] QImage decodeJpeg(const PictureFile& file, const QByteArray& head,
                                const PictureRequest& request, qint64 budget,
                                const LoadGuard& guard);

} // namespace zelvo
