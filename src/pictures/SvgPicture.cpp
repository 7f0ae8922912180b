#include "SvgPicture.h"

#include "PictureBudget.h"
#include "SvgDocument.h"
#include "core/ZoomRule.h"

#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace zelvo {

namespace {

// Marks a picture drawn from an SVG.
constexpr char DrawnKey[] = "Zelvo.Drawn";
// What is drawn between two looks at the guard: strips of whole rows, each drawn as a picture of
// its own, over which every element is walked and may cover every pixel. A strip holds about
// StripWork / elements pixels, within the bounds below: a few milliseconds of work for a sound
// picture, under half a second for one of the most elements that each cover the whole strip.
// Qt's stroker lays thin lines a little differently on pictures of other sizes, so a picture that
// fits one strip is drawn whole, as Qt SVG draws it at that size.
constexpr qint64 StripWork = qint64(800) * 1000 * 1000;
constexpr qint64 LeastStripPixels = 16 * 1024;
constexpr qint64 MostStripPixels = 1024 * 1024;
// The memory Qt SVG takes for each element it holds, and for the markup beside the elements.
constexpr qint64 ElementBytes = 1024;
constexpr qint64 MarkupFactor = 3;
// How much of the file is read between two looks at the guard.
constexpr qint64 ReadStepBytes = 1024 * 1024;

[[nodiscard]] bool readWhole(const PictureFile& file, QByteArray& bytes, const LoadGuard& guard)
{
    bytes.reserve(qsizetype(file.size()));
    while (bytes.size() < file.size()) {
        const qsizetype before = bytes.size();
        if (guard.stopped() || !file.readMore(bytes, ReadStepBytes))
            return false;
        if (bytes.size() == before)
            break;
    }
    return true;
}

// The picture's size in whole pixels, when it has a usable one.
[[nodiscard]] std::optional<QSize> wholePixels(QSizeF size)
{
    const double most = double(PictureBudgetBytes / 4);
    if (!std::isfinite(size.width()) || !std::isfinite(size.height()) || size.width() < 0.5 ||
        size.height() < 0.5 || size.width() > most || size.height() > most ||
        size.width() * size.height() > most)
        return std::nullopt;
    return QSize(int(std::lround(size.width())), int(std::lround(size.height())));
}

} // namespace

QImage loadSvg(const PictureFile& file, QByteArray head, const PictureRequest& request,
               const LoadGuard& guard)
{
    if (file.size() > MaxSvgFileBytes || !readWhole(file, head, guard))
        return {};
    std::optional<SvgDocument> document = readSvgDocument(std::move(head), guard);
    const std::optional<QSize> natural = document ? wholePixels(document->size) : std::nullopt;
    if (!natural)
        return {};
    const int zoom = std::clamp(request.zoom, ZoomLevels.front(), ZoomLevels.back());
    // The rectangle the whole picture is drawn to, and the part of it kept.
    const QSize drawnTo = request.scaledTo.isValid() ? request.scaledTo
                                                     : QSize(zoomedLength(natural->width(), zoom),
                                                             zoomedLength(natural->height(), zoom));
    const QSize kept = request.clippedTo.isValid() ? drawnTo.boundedTo(request.clippedTo) : drawnTo;
    if (kept.isEmpty() || qint64(natural->width()) * natural->height() > PictureBudgetBytes / 4 ||
        MarkupFactor * document->cleaned.size() + ElementBytes * document->drawnElements +
                4 * qint64(kept.width()) * kept.height() >
            PictureBudgetBytes)
        return {};

    QSvgRenderer renderer;
    if (guard.stopped() || !renderer.load(document->cleaned) || !renderer.isValid())
        return {};
    document->cleaned = QByteArray();
    // Without a view box, the picture's own units are pixels, whatever Qt SVG takes an inch for.
    if (const QRectF own(QPointF(0, 0), document->size);
        document->viewBox.isEmpty() && renderer.viewBoxF() != own)
        renderer.setViewBox(own);
    QImage picture(kept, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return {};
    picture.fill(Qt::transparent);
    const QRectF bounds(0, 0, drawnTo.width(), drawnTo.height());
    const qint64 stripPixels = std::clamp(StripWork / std::max<qint64>(document->drawnElements, 1),
                                          LeastStripPixels, MostStripPixels);
    const int stripRows = int(std::max<qint64>(1, stripPixels / kept.width()));
    for (int top = 0; top < kept.height(); top += stripRows) {
        if (guard.stopped())
            return {};
        QImage strip(picture.scanLine(top), kept.width(), std::min(stripRows, kept.height() - top),
                     picture.bytesPerLine(), picture.format());
        QPainter painter(&strip);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        painter.translate(0, -top);
        renderer.render(&painter, bounds);
    }
    if (guard.stopped())
        return {};
    picture.setText(QLatin1String(DrawnKey), QStringLiteral("svg"));
    return picture;
}

bool isDrawnPicture(const QImage& picture)
{
    return !picture.text(QLatin1String(DrawnKey)).isEmpty();
}

} // namespace zelvo
