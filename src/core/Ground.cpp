#include "Ground.h"

#include <QImage>

namespace zelvo {

namespace {

constexpr QRgb LightSquare = 0xffcccccc;
constexpr QRgb DarkSquare = 0xff999999;

} // namespace

QBrush groundBrush(Ground ground, const QColor& face)
{
    switch (ground) {
    case Ground::Face:
        return face;
    case Ground::White:
        return QColor(Qt::white);
    case Ground::Black:
        return QColor(Qt::black);
    case Ground::Checkerboard: {
        QImage squares(2 * CheckerSide, 2 * CheckerSide, QImage::Format_RGB32);
        for (int y = 0; y < squares.height(); ++y) {
            for (int x = 0; x < squares.width(); ++x) {
                const bool light = (x / CheckerSide + y / CheckerSide) % 2 == 0;
                squares.setPixel(x, y, light ? LightSquare : DarkSquare);
            }
        }
        return QBrush(squares);
    }
    }
    return face;
}

} // namespace zelvo
