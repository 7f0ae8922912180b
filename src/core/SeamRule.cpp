#include "SeamRule.h"

#include <cstdlib>

namespace zelvo {

namespace {

// The colour distance of two pixels: the sum of the channel differences, 0 to 765.
int step(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
           std::abs(qBlue(a) - qBlue(b));
}

// A step across the seam this many times the picture's mean step, and more than a faint one,
// is seen as an edge.
constexpr double StandOut = 3.0;
constexpr double Faint = 12.0;

bool visible(double seam, double own)
{
    return seam > StandOut * own + Faint;
}

} // namespace

SeamVerdict checkSeams(const QImage& picture, Repeat repeat)
{
    if (picture.isNull())
        return {};
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    const auto pixel = [&image](QPoint at) {
        return reinterpret_cast<const QRgb*>(image.constScanLine(at.y()))[at.x()];
    };
    double acrossOwn = 0;
    double downOwn = 0;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 1; x < width; ++x)
            acrossOwn += step(row[x - 1], row[x]);
        if (y > 0) {
            const auto* above = reinterpret_cast<const QRgb*>(image.constScanLine(y - 1));
            for (int x = 0; x < width; ++x)
                downOwn += step(above[x], row[x]);
        }
    }
    // Along the right and bottom edges of every copy of one period of the arrangement: the
    // pixel inside the edge against the one across it.
    double acrossSeam = 0;
    double downSeam = 0;
    const QSize size = image.size();
    const QSize period = repeatPeriod(repeat);
    for (int column = 0; column < period.width(); ++column) {
        for (int row = 0; row < period.height(); ++row) {
            const QPoint corner = copyPlace(repeat, size, column, row).topLeft;
            for (int y = 0; y < height; ++y) {
                const QPoint inside = corner + QPoint(width - 1, y);
                acrossSeam += step(pixel(pictureAt(repeat, size, inside)),
                                   pixel(pictureAt(repeat, size, inside + QPoint(1, 0))));
            }
            for (int x = 0; x < width; ++x) {
                const QPoint inside = corner + QPoint(x, height - 1);
                downSeam += step(pixel(pictureAt(repeat, size, inside)),
                                 pixel(pictureAt(repeat, size, inside + QPoint(0, 1))));
            }
        }
    }
    const double copies = double(period.width()) * period.height();
    SeamVerdict verdict;
    if (width > 1) {
        verdict.leftRight =
            visible(acrossSeam / (copies * height), acrossOwn / (double(width - 1) * height));
    }
    if (height > 1) {
        verdict.topBottom =
            visible(downSeam / (copies * width), downOwn / (double(height - 1) * width));
    }
    return verdict;
}

QString seamDescription(const SeamVerdict& verdict)
{
    const auto word = [](bool shown) {
        return shown ? QStringLiteral("visible") : QStringLiteral("invisible");
    };
    return QStringLiteral("Seams: left-right %1, top-bottom %2")
        .arg(word(verdict.leftRight), word(verdict.topBottom));
}

} // namespace zelvo
