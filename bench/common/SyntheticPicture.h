#pragma once

#include <QImage>

#include <cstdint>

namespace zelvo::bench {

// A photograph-like test picture: smooth colour gradients with fine noise, so that a JPEG
// encoder has real detail to keep and a decoder real work to do.
[[nodiscard]] inline QImage syntheticPicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t state = 0x9E3779B9u;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int noise = int(state & 31) - 16;
            const int r = (x * 255) / width + noise;
            const int g = (y * 255) / height - noise;
            const int b = ((x + y) * 127) / (width + height) + 64 + noise / 2;
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

} // namespace zelvo::bench
