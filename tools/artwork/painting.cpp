#include "painting.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace zelvo::art {

std::uint32_t Random::next()
{
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double Random::uniform(double low, double high)
{
    return low + (high - low) * (next() / 4294967296.0);
}

double Noise::lattice(int x, int y) const
{
    auto h = static_cast<std::uint32_t>(x) * 0x27d4eb2du ^
             static_cast<std::uint32_t>(y) * 0x165667b1u ^ seed_ * 0x9e3779b9u;
    h ^= h >> 15;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h / 4294967295.0;
}

double Noise::at(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const auto smooth = [](double t) { return t * t * (3.0 - 2.0 * t); };
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const double top = mix(lattice(ix, iy), lattice(ix + 1, iy), tx);
    const double bottom = mix(lattice(ix, iy + 1), lattice(ix + 1, iy + 1), tx);
    return mix(top, bottom, ty);
}

double Noise::fractal(double x, double y, int octaves) const
{
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * at(x, y);
        total += weight;
        x = x * 2.0 + 17.3;
        y = y * 2.0 + 5.1;
        weight *= 0.5;
    }
    return sum / total;
}

QFont scriptFont(int pixelSize)
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("Z003"), QStringLiteral("URW Chancery L"), QStringLiteral("DejaVu Serif")});
    font.setItalic(true);
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont captionFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Serif")});
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

QPainterPath centredText(const QString& text, const QFont& font, QPointF centre)
{
    QPainterPath path;
    path.addText(QPointF(0, 0), font, text);
    const QRectF ink = path.boundingRect();
    return path.translated(centre - ink.center());
}

QImage canvas(int width, int height, QColor fill)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

namespace {

// One horizontal box-blur pass over every channel, written transposed so that two calls blur
// both directions.
QImage boxPassTransposed(const QImage& source, int radius)
{
    const int width = source.width();
    const int height = source.height();
    QImage out(height, width, QImage::Format_ARGB32_Premultiplied);
    const int span = 2 * radius + 1;
    std::vector<int> sums(4);
    for (int y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        std::fill(sums.begin(), sums.end(), 0);
        const auto pixelAt = [&](int x) { return in[std::clamp(x, 0, width - 1)]; };
        for (int x = -radius; x <= radius; ++x) {
            const QRgb p = pixelAt(x);
            sums[0] += qAlpha(p);
            sums[1] += qRed(p);
            sums[2] += qGreen(p);
            sums[3] += qBlue(p);
        }
        for (int x = 0; x < width; ++x) {
            auto* column = reinterpret_cast<QRgb*>(out.scanLine(x));
            column[y] = qRgba(sums[1] / span, sums[2] / span, sums[3] / span, sums[0] / span);
            const QRgb leaving = pixelAt(x - radius);
            const QRgb entering = pixelAt(x + radius + 1);
            sums[0] += qAlpha(entering) - qAlpha(leaving);
            sums[1] += qRed(entering) - qRed(leaving);
            sums[2] += qGreen(entering) - qGreen(leaving);
            sums[3] += qBlue(entering) - qBlue(leaving);
        }
    }
    return out;
}

} // namespace

QImage blurred(const QImage& image, int radius)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius <= 0)
        return result;
    for (int pass = 0; pass < 3; ++pass)
        result = boxPassTransposed(boxPassTransposed(result, radius), radius);
    return result;
}

void drawSoftShadow(QImage& target, const QPainterPath& path, QPointF offset, QColor colour,
                    int radius)
{
    QImage shadow = canvas(target.width(), target.height());
    {
        QPainter painter(&shadow);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(path.translated(offset), colour);
    }
    shadow = blurred(shadow, radius);
    QPainter painter(&target);
    painter.drawImage(0, 0, shadow);
}

QColor mixColour(QColor a, QColor b, double t)
{
    return QColor::fromRgbF(static_cast<float>(mix(a.redF(), b.redF(), t)),
                            static_cast<float>(mix(a.greenF(), b.greenF(), t)),
                            static_cast<float>(mix(a.blueF(), b.blueF(), t)),
                            static_cast<float>(mix(a.alphaF(), b.alphaF(), t)));
}

} // namespace zelvo::art
