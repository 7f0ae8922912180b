#include "drawings.h"

#include "painting.h"
#include "palette.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace zelvo::art {
namespace {

constexpr double kPi = std::numbers::pi;

struct Vec3
{
    double x;
    double y;
    double z;
};

[[nodiscard]] double dot(Vec3 a, Vec3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

[[nodiscard]] Vec3 normalised(Vec3 v)
{
    const double length = std::sqrt(dot(v, v));
    return {v.x / length, v.y / length, v.z / length};
}

[[nodiscard]] int channel(double value)
{
    return static_cast<int>(std::lround(clamp01(value) * 255));
}

[[nodiscard]] QRgb opaque(double r, double g, double b)
{
    return qRgb(channel(r), channel(g), channel(b));
}

// Baseline that puts the capitals of `font` vertically centred on `centreY`.
[[nodiscard]] double capitalBaseline(const QFont& font, double centreY)
{
    return centreY + QFontMetricsF(font).capHeight() / 2.0;
}

// `text` centred horizontally on `centreX` (by its ink) with its capitals centred on `centreY`.
[[nodiscard]] QPainterPath captionPath(const QString& text, const QFont& font, double centreX,
                                       double centreY)
{
    QPainterPath path;
    path.addText(QPointF(0, capitalBaseline(font, centreY)), font, text);
    return path.translated(centreX - path.boundingRect().center().x(), 0);
}

// Orange and red flecks scattered over the front of the program icon's sphere.
struct Fleck
{
    Vec3 at;
    double radius;
    Vec3 colour;
};

// The flecks for a sphere of radius `radiusPixels`: smaller spheres get fewer flecks, each
// at least about a pixel wide so that they still show.
[[nodiscard]] std::vector<Fleck> sphereFlecks(double radiusPixels)
{
    constexpr Vec3 orange{1.0, 0.52, 0.08};
    constexpr Vec3 amber{0.95, 0.68, 0.20};
    constexpr Vec3 red{0.82, 0.10, 0.06};
    const auto count = static_cast<std::size_t>(std::clamp(radiusPixels * 1.6, 8.0, 70.0));
    const double minimum = 1.05 / radiusPixels;
    Random random(1907);
    std::vector<Fleck> flecks;
    while (flecks.size() < count) {
        const double x = random.uniform(-1.0, 1.0);
        const double y = random.uniform(-1.0, 1.0);
        const double d2 = x * x + y * y;
        const double radius = std::max(minimum, 0.012 + 0.07 * std::pow(random.uniform(0, 1), 2.5));
        const double hue = random.uniform(0.0, 1.0);
        if (d2 > 0.9)
            continue;
        const Vec3 colour = hue < 0.35 ? red : (hue < 0.85 ? orange : amber);
        flecks.push_back({{x, y, std::sqrt(1.0 - d2)}, radius, colour});
    }
    return flecks;
}

[[nodiscard]] double distance(Vec3 a, Vec3 b)
{
    const Vec3 d{a.x - b.x, a.y - b.y, a.z - b.z};
    return std::sqrt(dot(d, d));
}

struct Surface
{
    Vec3 colour;
    double fleck; // how much of it is fleck, 0 to 1
};

// Colour of the sphere's surface at normal `n`, before lighting.
[[nodiscard]] Surface marble(Vec3 n, const Noise& veins, const Noise& grain,
                             const std::vector<Fleck>& flecks)
{
    const double u = std::atan2(n.x, n.z);
    const double v = std::asin(n.y);
    const double turbulence = veins.fractal(u * 1.5 + 10.0, v * 1.5 + 10.0, 5);
    const double phase = (u * 1.0 + v * 0.7) * 6.5 + turbulence * 7.0;
    const double bands = 0.5 + 0.5 * std::sin(phase);
    const double vein = std::exp(-std::abs(std::sin(phase * 0.5 + 0.9)) * 8.0);
    const double cloud = grain.fractal(u * 4.0 + 3.0, v * 4.0, 4) - 0.5;
    const double grey = 0.42 + 0.30 * bands + 0.30 * cloud - 0.25 * vein;
    Vec3 colour{grey, grey, grey * 1.03};
    double fleckCoverage = 0.0;
    for (const Fleck& fleck : flecks) {
        const double rough =
            0.75 + 0.5 * grain.at(u * 14.0 + fleck.at.x * 40.0, v * 14.0 + fleck.at.y * 40.0);
        const double edge = fleck.radius * rough;
        const double coverage = clamp01((edge - distance(n, fleck.at)) / (edge * 0.35));
        colour = {mix(colour.x, fleck.colour.x, coverage), mix(colour.y, fleck.colour.y, coverage),
                  mix(colour.z, fleck.colour.z, coverage)};
        fleckCoverage = std::max(fleckCoverage, coverage);
    }
    return {colour, fleckCoverage};
}

// The outline as drawn at the picture's scale.
[[nodiscard]] QPainterPath scaled(const QPainterPath& path, int scale)
{
    return scale == 1 ? path : QTransform::fromScale(scale, scale).map(path);
}

// Lets the painter take the coordinates of the picture at scale 1.
void paintAtScale(QPainter& painter, int scale)
{
    if (scale != 1)
        painter.scale(scale, scale);
}

// The centre of device pixel `index` in the coordinates of the picture at scale 1; exactly
// `index` at scale 1.
[[nodiscard]] double unscaled(int index, int scale)
{
    return (index + 0.5) / scale - 0.5;
}

// A 1-pixel black outline around every opaque pixel of `shape` (4-connected neighbours).
[[nodiscard]] QImage outlined(const QImage& shape)
{
    QImage result = shape;
    const auto opaqueAt = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < shape.width() && y < shape.height() &&
               qAlpha(shape.pixel(x, y)) > 0;
    };
    for (int y = 0; y < shape.height(); ++y) {
        for (int x = 0; x < shape.width(); ++x) {
            if (opaqueAt(x, y))
                continue;
            if (opaqueAt(x - 1, y) || opaqueAt(x + 1, y) || opaqueAt(x, y - 1) ||
                opaqueAt(x, y + 1))
                result.setPixel(x, y, vga::black);
        }
    }
    return result;
}

} // namespace

QImage drawProgramIcon(int size)
{
    const int scale = size <= 64 ? 4 : 2;
    const int n = size * scale;
    QImage image = canvas(n, n);
    const double centre = n / 2.0;
    const double radius = n * 0.46;
    const Noise veins(7);
    const Noise grain(11);
    const std::vector<Fleck> flecks = sphereFlecks(size * 0.46);
    const Vec3 light = normalised({-0.45, -0.6, 0.75});
    const Vec3 halfway = normalised({light.x, light.y, light.z + 1.0});
    const Vec3 bounce = normalised({0.6, 0.7, 0.2});

    for (int y = 0; y < n; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < n; ++x) {
            const double dx = (x + 0.5 - centre) / radius;
            const double dy = (y + 0.5 - centre) / radius;
            const double d2 = dx * dx + dy * dy;
            if (d2 > 1.0)
                continue;
            const Vec3 normal{dx, dy, std::sqrt(1.0 - d2)};
            const Surface surface = marble(normal, veins, grain, flecks);
            const Vec3 base = surface.colour;
            const double diffuse = std::max(0.0, dot(normal, light));
            // Flecks catch the light like glazed enamel, so shading darkens them less.
            const double shade = mix(0.22 + 0.88 * diffuse, 0.55 + 0.5 * diffuse, surface.fleck);
            const double specular = 0.55 * std::pow(std::max(0.0, dot(normal, halfway)), 36.0);
            const double rim =
                0.10 * std::pow(1.0 - normal.z, 2.0) * std::max(0.0, dot(normal, bounce));
            line[x] = opaque(base.x * shade + specular + rim, base.y * shade + specular + rim,
                             base.z * shade + specular + rim * 1.1);
        }
    }
    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage drawTitleBar(int scale)
{
    constexpr int width = 482;
    constexpr int height = 33;
    QImage image = canvas(width * scale, height * scale, Qt::black);
    const Noise streaks(21);
    const Noise fine(22);
    Random random(23);

    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double at = unscaled(y, scale);
        const int row = y / scale;
        const double v = (at + 0.5) / height;
        const double profile = 0.40 + 0.17 * std::exp(-std::pow((v - 0.3) / 0.28, 2.0)) - 0.08 * v;
        for (int x = 0; x < image.width(); ++x) {
            const double across = unscaled(x, scale);
            const int column = x / scale;
            double grey = profile + 0.20 * (streaks.fractal(across / 110.0, at * 1.9, 4) - 0.5) +
                          0.08 * (fine.at(across / 7.0, at * 3.3) - 0.5) +
                          random.uniform(-0.018, 0.018);
            if (row == 0 || column == 0)
                grey = mix(grey, 0.92, 0.7);
            else if (row == height - 1 || column == width - 1)
                grey = mix(grey, 0.12, 0.75);
            else if (row == 1 || column == 1)
                grey = mix(grey, 0.85, 0.25);
            else if (row == height - 2 || column == width - 2)
                grey = mix(grey, 0.15, 0.25);
            line[x] = opaque(grey, grey, grey * 1.04);
        }
    }

    const QPainterPath title = scaled(
        centredText(QStringLiteral("The Image Zelvo"), scriptFont(27), QPointF(width / 2.0, 16.5)),
        scale);
    drawSoftShadow(image, title, QPointF(1.0, 1.5) * scale, QColor(0, 0, 0, 230), scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 4 * scale, 0, 29 * scale);
    fill.setColorAt(0.0, QColor(255, 255, 255));
    fill.setColorAt(1.0, QColor(226, 230, 236));
    painter.fillPath(title, fill);
    return image;
}

QImage drawBrowseButton(int scale)
{
    constexpr int size = 21;
    QImage image = canvas(size * scale, size * scale);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintAtScale(painter, scale);

    QLinearGradient ground(0, 0, 0, size);
    ground.setColorAt(0.0, QColor(0xea, 0x3b, 0x2c));
    ground.setColorAt(1.0, QColor(0x90, 0x0e, 0x0c));
    painter.fillRect(QRect(0, 0, size, size), ground);
    painter.setPen(QColor(255, 190, 170, 120));
    painter.drawLine(QPointF(0.5, 0.5), QPointF(size - 1.5, 0.5));
    painter.drawLine(QPointF(0.5, 0.5), QPointF(0.5, size - 1.5));
    painter.setPen(QColor(40, 0, 0, 150));
    painter.drawLine(QPointF(0.5, size - 0.5), QPointF(size - 0.5, size - 0.5));
    painter.drawLine(QPointF(size - 0.5, 0.5), QPointF(size - 0.5, size - 0.5));

    QPainterPath chevrons;
    for (const double left : {4.5, 10.0}) {
        chevrons.moveTo(left, 5.0);
        chevrons.lineTo(left + 5.5, 10.5);
        chevrons.lineTo(left, 16.0);
    }
    QPen pen(QColor(70, 0, 0, 170), 2.7, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    painter.strokePath(chevrons.translated(0.8, 1.0), pen);
    QLinearGradient gold(0, 4, 0, 17);
    gold.setColorAt(0.0, QColor(0xff, 0xf6, 0x6a));
    gold.setColorAt(1.0, QColor(0xff, 0xc2, 0x00));
    pen.setBrush(gold);
    painter.strokePath(chevrons, pen);
    return image;
}

QImage drawMenuButton(const QString& word, int scale)
{
    constexpr int width = 97;
    constexpr int height = 23;
    QImage image = canvas(width * scale, height * scale, QColor(0x47, 0x47, 0x47));
    const QRectF bar(1.5, 1.5, width - 3.0, height - 3.0);
    const double radius = bar.height() / 2.0;
    QPainterPath shape;
    shape.addRoundedRect(bar, radius, radius);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paintAtScale(painter, scale);
    QLinearGradient body(0, bar.top(), 0, bar.bottom());
    body.setColorAt(0.0, QColor(0x2c, 0x45, 0xa0));
    body.setColorAt(0.5, QColor(0x0c, 0x18, 0x58));
    body.setColorAt(1.0, QColor(0x14, 0x26, 0x72));
    painter.fillPath(shape, body);

    QPainterPath gloss;
    const QRectF glossRect(bar.left() + 4.0, bar.top() + 1.5, bar.width() - 8.0,
                           bar.height() * 0.42);
    gloss.addRoundedRect(glossRect, glossRect.height() / 2.0, glossRect.height() / 2.0);
    QLinearGradient glossFill(0, glossRect.top(), 0, glossRect.bottom());
    glossFill.setColorAt(0.0, QColor(255, 255, 255, 80));
    glossFill.setColorAt(1.0, QColor(255, 255, 255, 8));
    painter.fillPath(gloss, glossFill);

    QLinearGradient rim(0, bar.top(), 0, bar.bottom());
    rim.setColorAt(0.0, QColor(0x8c, 0xf5, 0x9c));
    rim.setColorAt(1.0, QColor(0x1f, 0x9a, 0x3e));
    painter.setPen(QPen(rim, 1.5));
    painter.drawPath(shape);

    const QPainterPath caption = captionPath(word, captionFont(13), width / 2.0, height / 2.0);
    painter.fillPath(caption.translated(0.8, 0.8), QColor(0, 8, 30, 200));
    painter.fillPath(caption, QColor(0xb8, 0xf7, 0xb0));
    return image;
}

QImage drawTrayIcon(bool flashing, int size)
{
    // Laid out on a grid of 16 x 16 cells; at other sizes each cell's edge falls on the nearest
    // pixel, so that every multiple of 16 gives the same picture in larger squares.
    constexpr int grid = 16;
    const auto at = [size](int cell) { return static_cast<int>(std::lround(cell * size / 16.0)); };
    QImage image = canvas(size, size);
    QPainter painter(&image);
    const auto fill = [&](int x, int y, int width, int height, QRgb colour) {
        painter.fillRect(QRect(QPoint(at(x), at(y)), QPoint(at(x + width) - 1, at(y + height) - 1)),
                         QColor::fromRgba(colour));
    };
    fill(0, 0, grid, grid, flashing ? vga::yellow : vga::navy);
    fill(1, 1, grid - 2, grid - 2, vga::silver);
    fill(1, 1, grid - 2, 1, vga::white);
    fill(1, 1, 1, grid - 2, vga::white);
    fill(2, grid - 2, grid - 3, 1, vga::grey);
    fill(grid - 2, 2, 1, grid - 3, vga::grey);

    struct Tile
    {
        QPoint at;
        QRgb face;
        QRgb shade;
    };
    const std::array<Tile, 4> tiles{{{{3, 3}, vga::red, vga::maroon},
                                     {{9, 3}, vga::lime, vga::green},
                                     {{3, 9}, vga::blue, vga::navy},
                                     {{9, 9}, vga::yellow, vga::olive}}};
    for (Tile tile : tiles) {
        if (flashing) {
            tile.face = vga::red;
            tile.shade = vga::maroon;
        }
        fill(tile.at.x(), tile.at.y(), 4, 4, tile.shade);
        fill(tile.at.x(), tile.at.y(), 3, 3, tile.face);
    }

    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(grid - 1, 0), QPoint(0, grid - 1), QPoint(grid - 1, grid - 1)})
        fill(corner.x(), corner.y(), 1, 1, 0);
    return image;
}

QImage drawApplyLabel(int scale)
{
    constexpr int width = 62;
    constexpr int height = 43;
    // The largest lettering that leaves a two-pixel margin.
    QPainterPath word;
    for (int pixelSize = 40; pixelSize > 8; --pixelSize) {
        word = centredText(QStringLiteral("Apply"), scriptFont(pixelSize),
                           QPointF(width / 2.0 - 0.6, height / 2.0 - 0.7));
        if (word.boundingRect().width() <= width - 5.0 &&
            word.boundingRect().height() <= height - 5.0)
            break;
    }

    QImage letters = canvas(width * scale, height * scale);
    QImage shadow = canvas(width * scale, height * scale);
    {
        QPainter painter(&letters);
        painter.setRenderHint(QPainter::Antialiasing);
        paintAtScale(painter, scale);
        painter.fillPath(word, Qt::white);
        painter.strokePath(word, QPen(Qt::white, 0.7)); // a little weight for legibility
    }
    {
        QPainter painter(&shadow);
        painter.setRenderHint(QPainter::Antialiasing);
        paintAtScale(painter, scale);
        painter.fillPath(word.translated(1.2, 1.4), Qt::white);
        painter.strokePath(word.translated(1.2, 1.4), QPen(Qt::white, 0.7));
    }

    // 0: the ground, shown transparent; 1: the letters; 2: their edges, half way to the
    // ground; 3: a dark drop shadow.
    QImage indexed(width * scale, height * scale, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0x47, 0x47, 0x47), qRgb(0x00, 0xff, 0x80), qRgb(0x24, 0xa3, 0x64),
                           qRgb(0x10, 0x2a, 0x1c)});
    for (int y = 0; y < indexed.height(); ++y) {
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int ink = qAlpha(letters.pixel(x, y));
            const int dark = qAlpha(shadow.pixel(x, y));
            out[x] = ink >= 150 ? 1 : ink >= 60 ? 2 : dark >= 128 ? 3 : kApplyTransparentIndex;
        }
    }
    return indexed;
}

QImage drawMailIcon(int size, int scale)
{
    QImage image = canvas(size * scale, size * scale);
    QPainter painter(&image);
    paintAtScale(painter, scale);
    const auto colour = [](QRgb rgb) { return QColor::fromRgb(rgb); };
    const auto line = [&](QRgb rgb, int x1, int y1, int x2, int y2) {
        painter.setPen(colour(rgb));
        painter.drawLine(x1, y1, x2, y2);
    };

    if (size >= 32) {
        // Speed lines, fading out to the left.
        for (const auto& [y, from] :
             std::array<std::pair<int, int>, 3>{{{10, 3}, {14, 0}, {18, 2}}}) {
            painter.fillRect(from, y, 2, 2, colour(vga::silver));
            painter.fillRect(from + 2, y, 8 - from - 2, 2, colour(vga::grey));
        }
        painter.fillRect(9, 7, 22, 18, colour(vga::white));
        painter.setPen(colour(vga::black));
        painter.drawRect(9, 7, 21, 17);
        line(vga::silver, 10, 23, 16, 17);
        line(vga::silver, 29, 23, 23, 17);
        line(vga::grey, 10, 8, 19, 17);
        line(vga::grey, 29, 8, 20, 17);
        painter.fillRect(22, 9, 7, 7, colour(vga::maroon));
        painter.fillRect(23, 10, 5, 5, colour(vga::red));
        line(vga::white, 24, 12, 26, 12);
    } else {
        for (const auto& [y, from] :
             std::array<std::pair<int, int>, 3>{{{6, 1}, {8, 0}, {10, 1}}}) {
            line(vga::silver, from, y, from, y);
            line(vga::grey, from + 1, y, 3, y);
        }
        painter.fillRect(4, 4, 12, 9, colour(vga::white));
        painter.setPen(colour(vga::black));
        painter.drawRect(4, 4, 11, 8);
        line(vga::grey, 5, 5, 9, 9);
        line(vga::grey, 14, 5, 10, 9);
        painter.fillRect(12, 5, 3, 3, colour(vga::red));
    }
    return image;
}

QImage drawHandCursor(int scale)
{
    constexpr int size = 32;
    // The hand's silhouette, then its cuff, each outlined in black, one pixel wide at any scale.
    QImage hand = canvas(size * scale, size * scale);
    {
        QPainter painter(&hand);
        paintAtScale(painter, scale);
        const QColor skin = QColor::fromRgb(vga::white);
        painter.fillRect(11, 2, 3, 14, skin); // raised index finger
        painter.fillRect(15, 9, 3, 7, skin);  // curled fingers, stepping down
        painter.fillRect(19, 10, 3, 6, skin);
        painter.fillRect(23, 12, 3, 5, skin);
        painter.fillRect(10, 15, 16, 5, skin); // palm
        painter.fillRect(11, 20, 14, 3, skin);
        painter.setPen(Qt::NoPen);
        painter.setBrush(skin);
        painter.drawPolygon(QPolygon({QPoint(4, 12), QPoint(6, 11), QPoint(11, 15), QPoint(11, 21),
                                      QPoint(9, 21), QPoint(4, 14)}));
    }
    QImage result = outlined(hand);

    // Shade the right-hand side of each finger and the palm's lower edge.
    const QImage shape = hand;
    for (int y = 0; y < shape.height(); ++y) {
        for (int x = 0; x + 1 < shape.width(); ++x) {
            if (qAlpha(shape.pixel(x, y)) == 0)
                continue;
            const bool edgeRight = qAlpha(shape.pixel(x + 1, y)) == 0;
            const bool edgeBelow = y + 1 < shape.height() && qAlpha(shape.pixel(x, y + 1)) == 0;
            if (edgeRight || (edgeBelow && y / scale > 18))
                result.setPixel(x, y, vga::silver);
        }
    }

    QImage cuff = canvas(size * scale, size * scale);
    {
        QPainter painter(&cuff);
        paintAtScale(painter, scale);
        painter.fillRect(10, 24, 16, 6, QColor::fromRgb(vga::blue));
        painter.fillRect(10, 28, 16, 2, QColor::fromRgb(vga::navy));
        painter.fillRect(11, 25, 14, 1, QColor::fromRgb(vga::aqua));
    }
    const QImage cuffOutlined = outlined(cuff);
    QPainter painter(&result);
    painter.drawImage(0, 0, cuffOutlined);
    return result;
}

QImage drawAboutPicture(int scale)
{
    constexpr int width = 300;
    constexpr int height = 228;
    QImage image = canvas(width * scale, height * scale, QColor(0x16, 0x16, 0x18));
    Random random(31);

    constexpr int ribbons = 12;
    for (int i = 0; i < ribbons; ++i) {
        const double baseline = -24.0 + i * (height + 36.0) / (ribbons - 1);
        const double amplitude = random.uniform(8.0, 18.0);
        const double wavelength = random.uniform(190.0, 320.0);
        const double phase = random.uniform(0.0, 2.0 * kPi);
        const double tilt = random.uniform(-0.08, 0.08);
        const double thickness = random.uniform(22.0, 36.0);
        const double swell = random.uniform(0.0, 2.0 * kPi);
        const auto top = [&](double x) {
            return baseline + amplitude * std::sin(2.0 * kPi * x / wavelength + phase) +
                   tilt * (x - width / 2.0);
        };
        const auto bottom = [&](double x) {
            return top(x) +
                   thickness * (0.7 + 0.3 * std::sin(2.0 * kPi * x / (wavelength * 0.7) + swell));
        };

        QPainterPath band;
        QPainterPath crest;
        band.moveTo(-8, top(-8));
        crest.moveTo(-8, top(-8));
        for (double x = -4; x <= width + 8; x += 4) {
            band.lineTo(x, top(x));
            crest.lineTo(x, top(x));
        }
        for (double x = width + 8; x >= -8; x -= 4)
            band.lineTo(x, bottom(x));
        band.closeSubpath();

        drawSoftShadow(image, scaled(band, scale), QPointF(0, 3) * scale, QColor(0, 0, 0, 170),
                       3 * scale);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintAtScale(painter, scale);
        QLinearGradient sheen(0, 0, width, 0);
        for (int stop = 0; stop <= 4; ++stop) {
            const int grey = static_cast<int>(random.uniform(0x26, 0x50));
            sheen.setColorAt(stop / 4.0, QColor(grey, grey, grey + 3));
        }
        painter.fillPath(band, sheen);
        QLinearGradient depth(0, baseline - amplitude, 0, baseline + amplitude + thickness);
        depth.setColorAt(0.0, QColor(255, 255, 255, 22));
        depth.setColorAt(1.0, QColor(0, 0, 0, 60));
        painter.fillPath(band, depth);
        painter.setPen(QPen(QColor(150, 150, 155, 90), 1.0));
        painter.drawPath(crest);
    }

    const Noise grain(32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double down = unscaled(y, scale);
        for (int x = 0; x < image.width(); ++x) {
            const double across = unscaled(x, scale);
            const double lift = 0.04 * (grain.at(across / 1.3, down / 1.3) - 0.5);
            const double dx = (across - width / 2.0) / width;
            const double dy = (down - height / 2.0) / height;
            const double vignette = 1.0 - 0.9 * (dx * dx + dy * dy);
            const QRgb p = line[x];
            line[x] = opaque(qRed(p) / 255.0 * vignette + lift, qGreen(p) / 255.0 * vignette + lift,
                             qBlue(p) / 255.0 * vignette + lift);
        }
    }

    // Seven rows of the title; the middle one largest, the outer ones fading.
    constexpr std::array<int, 7> sizes{15, 19, 24, 38, 24, 19, 15};
    constexpr std::array<double, 7> strength{0.45, 0.65, 0.85, 1.0, 0.85, 0.65, 0.45};
    double total = 0;
    for (const int s : sizes)
        total += s;
    const double gap = (height - 16.0 - total) / (sizes.size() - 1);
    double rowTop = 8.0;
    const QString title = QStringLiteral("The Image Zelvo");
    for (std::size_t row = 0; row < sizes.size(); ++row) {
        const QFont font = scriptFont(sizes[row]);
        const double centreY = rowTop + sizes[row] / 2.0;
        const QPainterPath text = captionPath(title, font, width / 2.0, centreY);
        drawSoftShadow(image, scaled(text, scale), QPointF(1.0, 1.5) * scale,
                       QColor(0, 0, 0, static_cast<int>(230 * strength[row])), 2 * scale);

        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        paintAtScale(painter, scale);
        painter.setOpacity(strength[row]);
        const QRectF ink = text.boundingRect();
        QLinearGradient silver(0, ink.top(), 0, ink.bottom());
        silver.setColorAt(0.0, QColor(0xff, 0xff, 0xff));
        silver.setColorAt(0.45, QColor(0xcc, 0xcd, 0xd4));
        silver.setColorAt(0.55, QColor(0x8e, 0x90, 0x98));
        silver.setColorAt(1.0, QColor(0xe4, 0xe5, 0xea));
        painter.fillPath(text, silver);
        rowTop += sizes[row] + gap;
    }
    return image;
}

} // namespace zelvo::art
