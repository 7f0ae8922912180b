#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QPoint>

namespace zelvo::art {

// One image of an icon or cursor file, with the colour depth it is stored at.
struct IconImage
{
    QImage image;      // any format; pixels with alpha below 128 become transparent
    int bitCount = 24; // 24 (BI_RGB) or 4 (16 colours, quantised to the VGA palette)
};

// The image as an icon or cursor file stores it: opaque in the colours of its depth, or wholly
// transparent (0) where its mask is set. Its PNG twin holds exactly these pixels.
[[nodiscard]] QImage storedIconImage(const IconImage& image);

// Windows icon (.ico) holding the given images in order.
[[nodiscard]] QByteArray encodeIcon(const QList<IconImage>& images);

// Windows cursor (.cur) holding one image with its hot spot.
[[nodiscard]] QByteArray encodeCursor(const IconImage& image, QPoint hotSpot);

// GIF89a with a 4-entry global colour table; `indexed` must be Format_Indexed8 with at most
// four colours. `transparentIndex` is marked transparent in a Graphic Control Extension.
[[nodiscard]] QByteArray encodeGif(const QImage& indexed, int transparentIndex);

// 24-bit Windows bitmap; empty if Qt did not write 24 bits per pixel.
[[nodiscard]] QByteArray encodeBmp24(const QImage& image);

[[nodiscard]] QByteArray encodeJpeg(const QImage& image, int quality);

[[nodiscard]] QByteArray encodePng(const QImage& image);

} // namespace zelvo::art
