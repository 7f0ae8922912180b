#pragma once

#include <QImage>
#include <QSize>

namespace zelvo {

// A new picture for a decoder to write into. A large one is laid on the system's large memory
// pages where it has them, so that its first writes do not stop at each small page: for a photo
// of many megapixels that is a third of its decode.
[[nodiscard]] QImage newLargeImage(QSize size, QImage::Format format);

} // namespace zelvo
