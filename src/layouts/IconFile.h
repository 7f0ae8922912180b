#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace zelvo {

// The images of an icon or cursor file whose images are all uncompressed bitmaps of 1, 4, 8 or
// 24 bits with their one-bit masks, as the program's own artwork is; the masks become
// transparency. Anything else, or a file that is damaged anywhere, gives no images.
//
// Decoded with Qt's built-in bitmap reader: its icon plugin would have to be loaded, and it
// applies the masks through a colour-managed conversion whose tables take longer to build than
// the program takes to lay out its main window.
[[nodiscard]] QList<QImage> readIconFile(const QByteArray& file);

} // namespace zelvo
