#pragma once

#include <QImage>
#include <QSize>

#include <memory>
#include <mutex>

namespace zelvo {

// A new picture for a decoder to write into. A large one is laid on the system's large memory
// pages where it has them, so that its first writes do not stop at each small page: for a photo
// of many megapixels that is a third of its decode.
[[nodiscard]] QImage newLargeImage(QSize size, QImage::Format format);

// Keeps the memory of the last large picture let go, for the next one of the same size, which is
// then decoded into memory already in place: a window that steps through photos of one camera
// holds at most one more picture's memory. The kept memory is let go with the pool, once the
// window that made it and every picture from it have ended.
class LargeImagePool : public std::enable_shared_from_this<LargeImagePool>
{
public:
    LargeImagePool() = default;
    ~LargeImagePool();
    LargeImagePool(const LargeImagePool&) = delete;
    LargeImagePool& operator=(const LargeImagePool&) = delete;

    // A picture as newLargeImage makes it, in the kept memory where that has the size.
    [[nodiscard]] QImage image(QSize size, QImage::Format format);
    // The memory kept for the next picture.
    [[nodiscard]] std::size_t keptBytes();

private:
    struct Block
    {
        void* data = nullptr;
        std::size_t bytes = 0;
    };
    struct Lent;
    static void giveBack(void* lent);

    std::mutex m_lock;
    Block m_kept;
};

} // namespace zelvo
