#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace zelvo::art {

// Deterministic pseudo-random numbers (xorshift32), the same on every platform.
class Random
{
public:
    explicit Random(std::uint32_t seed) : state_(seed != 0 ? seed : 0x9e3779b9u) {}
    [[nodiscard]] std::uint32_t next();
    [[nodiscard]] double uniform(double low, double high); // in [low, high)

private:
    std::uint32_t state_;
};

// Smooth 2-D value noise in [0, 1].
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : seed_(seed) {}
    [[nodiscard]] double at(double x, double y) const;
    // Sum of `octaves` layers, each twice the frequency and half the weight, scaled to [0, 1].
    [[nodiscard]] double fractal(double x, double y, int octaves) const;

private:
    [[nodiscard]] double lattice(int x, int y) const;
    std::uint32_t seed_;
};

// Calligraphic lettering; falls back to an italic serif where no script face is installed.
[[nodiscard]] QFont scriptFont(int pixelSize);

// Upright serif for small button captions.
[[nodiscard]] QFont captionFont(int pixelSize);

// Outline of `text` in `font`, centred on `centre` (by its ink, not its line box).
[[nodiscard]] QPainterPath centredText(const QString& text, const QFont& font, QPointF centre);

// Blank premultiplied ARGB image filled with `fill`.
[[nodiscard]] QImage canvas(int width, int height, QColor fill = Qt::transparent);

// Separable box blur, run three times (close to a Gaussian), on a premultiplied image.
[[nodiscard]] QImage blurred(const QImage& image, int radius);

// Paints a blurred copy of `path`, moved by `offset`, onto `target` (a soft drop shadow).
void drawSoftShadow(QImage& target, const QPainterPath& path, QPointF offset, QColor colour,
                    int radius);

[[nodiscard]] constexpr double clamp01(double value)
{
    return value < 0.0 ? 0.0 : (value > 1.0 ? 1.0 : value);
}

[[nodiscard]] constexpr double mix(double a, double b, double t)
{
    return a + (b - a) * t;
}

[[nodiscard]] QColor mixColour(QColor a, QColor b, double t);

} // namespace zelvo::art
