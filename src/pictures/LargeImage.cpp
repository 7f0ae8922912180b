#include "LargeImage.h"

// Platform-specific: large pages are asked for on Linux only; elsewhere the picture is Qt's own.
#ifdef Q_OS_LINUX
#include <sys/mman.h>

#include <cstdlib>
#endif

namespace zelvo {

#ifdef Q_OS_LINUX
namespace {

// The size of a large page on the machines the program runs on, and the size from which a picture
// is laid on them.
constexpr qint64 LargePageBytes = 2 * 1024 * 1024;
constexpr qint64 LargePictureBytes = 4 * LargePageBytes;

void freeLargeImage(void* data)
{
    std::free(data);
}

} // namespace
#endif

QImage newLargeImage(QSize size, QImage::Format format)
{
#ifdef Q_OS_LINUX
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qint64 bytesPerLine = ((qint64(size.width()) * depth + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * size.height();
    if (!size.isEmpty() && depth > 0 && bytes >= LargePictureBytes) {
        const auto rounded =
            std::size_t((bytes + LargePageBytes - 1) / LargePageBytes * LargePageBytes);
        void* data = std::aligned_alloc(std::size_t(LargePageBytes), rounded);
        if (!data)
            return {};
        // Only advice: where the system has no large pages the picture works all the same.
        (void)madvise(data, rounded, MADV_HUGEPAGE);
        return QImage(static_cast<uchar*>(data), size.width(), size.height(),
                      qsizetype(bytesPerLine), format, freeLargeImage, data);
    }
#endif
    return QImage(size, format);
}

} // namespace zelvo
