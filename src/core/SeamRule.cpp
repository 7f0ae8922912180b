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

SeamVerdict checkSeams(const QImage& picture)
{
    if (picture.isNull())
        return {};
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int width = image.width();
    const int height = image.height();
    double acrossOwn = 0;
    double downOwn = 0;
    double acrossSeam = 0;
    double downSeam = 0;
    const QRgb* previous = nullptr;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 1; x < width; ++x)
            acrossOwn += step(row[x - 1], row[x]);
        acrossSeam += step(row[width - 1], row[0]);
        if (previous) {
            for (int x = 0; x < width; ++x)
                downOwn += step(previous[x], row[x]);
        }
        previous = row;
    }
    const auto* top = reinterpret_cast<const QRgb*>(image.constScanLine(0));
    for (int x = 0; x < width; ++x)
        downSeam += step(previous[x], top[x]);
    SeamVerdict verdict;
    if (width > 1)
        verdict.leftRight = visible(acrossSeam / height, acrossOwn / (double(width - 1) * height));
    if (height > 1)
        verdict.topBottom = visible(downSeam / width, downOwn / (double(height - 1) * width));
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
