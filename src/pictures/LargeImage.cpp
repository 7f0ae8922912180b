#include "LargeImage.h"

#include <cstdlib>

// Platform-specific: large pages are asked for on Linux only; elsewhere the picture is Qt's own.
#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

namespace zelvo {

namespace {

// The size of a large page on the machines the program runs on, and the size from which a picture
// is laid on them.
constexpr qint64 LargePageBytes = 2 * 1024 * 1024;
constexpr qint64 LargePictureBytes = 4 * LargePageBytes;

struct Layout
{
    qint64 bytesPerLine = 0;
    // Whole large pages; 0 for a picture kept in Qt's own memory.
    std::size_t bytes = 0;
};

[[nodiscard]] Layout layoutOf(QSize size, QImage::Format format)
{
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    if (size.isEmpty() || depth <= 0)
        return {};
    const qint64 bytesPerLine = ((qint64(size.width()) * depth + 31) / 32) * 4;
    const qint64 bytes = bytesPerLine * size.height();
#ifdef Q_OS_LINUX
    if (bytes >= LargePictureBytes)
        return {bytesPerLine,
                std::size_t((bytes + LargePageBytes - 1) / LargePageBytes * LargePageBytes)};
#endif
    return {bytesPerLine, 0};
}

[[nodiscard]] void* allocateLarge(std::size_t bytes)
{
    void* data = std::aligned_alloc(std::size_t(LargePageBytes), bytes);
#ifdef Q_OS_LINUX
    // Only advice: where the system has no large pages the picture works all the same.
    if (data)
        (void)madvise(data, bytes, MADV_HUGEPAGE);
#endif
    return data;
}

void freeLarge(void* data)
{
    std::free(data);
}

} // namespace

QImage newLargeImage(QSize size, QImage::Format format)
{
    const Layout layout = layoutOf(size, format);
    if (layout.bytes == 0)
        return QImage(size, format);
    void* data = allocateLarge(layout.bytes);
    if (!data)
        return {};
    return QImage(static_cast<uchar*>(data), size.width(), size.height(),
                  qsizetype(layout.bytesPerLine), format, freeLarge, data);
}

// A block lent to a picture, and the pool it goes back to.
struct LargeImagePool::Lent
{
    std::shared_ptr<LargeImagePool> pool;
    Block block;
};

LargeImagePool::~LargeImagePool()
{
    std::free(m_kept.data);
}

QImage LargeImagePool::image(QSize size, QImage::Format format)
{
    const Layout layout = layoutOf(size, format);
    if (layout.bytes == 0)
        return QImage(size, format);
    Block block;
    {
        const std::lock_guard locked(m_lock);
        if (m_kept.bytes == layout.bytes)
            block = std::exchange(m_kept, Block{});
    }
    if (!block.data)
        block = {allocateLarge(layout.bytes), layout.bytes};
    if (!block.data)
        return {};
    auto* lent = new Lent{shared_from_this(), block};
    return QImage(static_cast<uchar*>(block.data), size.width(), size.height(),
                  qsizetype(layout.bytesPerLine), format, giveBack, lent);
}

std::size_t LargeImagePool::keptBytes()
{
    const std::lock_guard locked(m_lock);
    return m_kept.bytes;
}

// Runs on whichever thread lets the picture go last.
void LargeImagePool::giveBack(void* lent)
{
    std::unique_ptr<Lent> returned(static_cast<Lent*>(lent));
    LargeImagePool& pool = *returned->pool;
    const std::lock_guard locked(pool.m_lock);
    std::free(std::exchange(pool.m_kept, returned->block).data);
}

} // namespace zelvo
