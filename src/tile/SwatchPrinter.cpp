#include "SwatchPrinter.h"

#include "TileWindow.h"
#include "TileWorkbench.h"
#include "TilingImage.h"
#include "core/SwatchPage.h"
#include "desktop/ChosenPrinter.h"
#include "pictures/PictureBudget.h"
#include "widgets/BusySign.h"

#include <QAction>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QPainter>
#include <QPointer>

#include <cmath>

namespace zelvo {

namespace {

// A picture too large to load whole within the budget is loaded halved, as often as it takes, which
// a JPEG decodes at once; its copies keep the size on paper of the whole.
[[nodiscard]] QSize swatchLoadSize(QSize whole)
{
    QSize size = whole;
    while (qint64(size.width()) * size.height() * 4 > PictureBudgetBytes)
        size = QSize(std::max(1, size.width() / 2), std::max(1, size.height() / 2));
    return size == whole ? QSize() : size;
}

// What a swatch shows.
struct Swatch
{
    QImage picture;
    QSizeF copyInches;
    Repeat repeat;
    QBrush ground;
    QString caption;
};

[[nodiscard]] QSize pixelsAtScale(QSizeF size, double scale)
{
    return QSize(std::max(1, int(std::lround(size.width() * scale))),
                 std::max(1, int(std::lround(size.height() * scale))));
}

// An image of the page's pattern, and the picture's pixels it covers across and down.
struct Block
{
    QImage image;
    QSizeF area;
};

// The copies laid in the repeat system over the given copies across and down, no more of them than
// the shown area of the picture's pixels, drawn at scale into an image of their own; copies
// before the first and after the last are drawn too, where shifted copies reach in.
[[nodiscard]] Block laidCopies(const Swatch& swatch, QSize copies, double scale, QSizeF shown)
{
    const QSize copy = swatch.picture.size();
    const QSizeF area =
        QSizeF(double(copies.width()) * copy.width(), double(copies.height()) * copy.height())
            .boundedTo(shown);
    QImage laid(pixelsAtScale(area, scale), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&laid);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1);
    // The ground also fills what smoothing leaves of the pixels along the copies' edges.
    painter.fillRect(laid.rect(), swatch.ground);
    painter.scale(laid.width() / area.width(), laid.height() / area.height());
    for (int row = -1; row <= copies.height(); ++row) {
        for (int column = -1; column <= copies.width(); ++column) {
            const CopyPlace place = copyPlace(swatch.repeat, copy, column, row);
            painter.save();
            painter.translate(place.topLeft);
            painter.scale(place.mirroredAcross ? -1 : 1, place.mirroredDown ? -1 : 1);
            painter.translate(place.mirroredAcross ? -copy.width() : 0,
                              place.mirroredDown ? -copy.height() : 0);
            painter.drawImage(0, 0, swatch.picture);
            painter.restore();
        }
    }
    return {laid, area};
}

// The block of the page: one period of the repeat system, no more of it than the page shows, or
// periods repeated when the copies are tiny.
[[nodiscard]] Block block(const Swatch& swatch, const SwatchPage& page)
{
    const QSize period = repeatPeriod(swatch.repeat);
    const QSize copy = swatch.picture.size();
    if (page.blockCopies == period) {
        // A little more than the page shows each way, so that no edge of a repetition reaches
        // into it.
        const QSizeF shown(page.tiling.width() * copy.width() / page.copy.width() * 1.05 + 2,
                           page.tiling.height() * copy.height() / page.copy.height() * 1.05 + 2);
        return laidCopies(swatch, period, page.blockScale, shown);
    }
    const Block one = laidCopies(swatch, period, page.blockScale, QSizeF(Unbounded, Unbounded));
    const QSizeF area(double(page.blockCopies.width()) * copy.width(),
                      double(page.blockCopies.height()) * copy.height());
    QImage whole(pixelsAtScale(area, page.blockScale), QImage::Format_ARGB32_Premultiplied);
    whole.fill(Qt::transparent);
    QPainter painter(&whole);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QBrush periods(one.image);
    periods.setTransform(QTransform::fromScale(
        whole.width() / area.width() * one.area.width() / one.image.width(),
        whole.height() / area.height() * one.area.height() / one.image.height()));
    painter.fillRect(whole.rect(), periods);
    return {whole, area};
}

bool drawSwatch(QPainter& painter, QSizeF printable, double dpi, const Swatch& swatch)
{
    QFont font = painter.font();
    font.setPointSizeF(9);
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const std::optional<SwatchPage> page =
        swatchPage(printable, dpi, swatch.picture.size(), swatch.copyInches, swatch.repeat,
                   metrics.height() * 1.6);
    if (!page)
        return false;
    const Block tile = block(swatch, *page);
    // The page's pattern repeats the block at its exact size on paper from the corner.
    QBrush tiled(tile.image);
    tiled.setTransform(QTransform::fromScale(
        tile.area.width() * page->copy.width() / swatch.picture.width() / tile.image.width(),
        tile.area.height() * page->copy.height() / swatch.picture.height() / tile.image.height()));
    painter.fillRect(page->tiling, tiled);
    painter.setPen(Qt::black);
    painter.drawText(page->caption, Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(swatch.caption, Qt::ElideMiddle, page->caption.width()));
    return true;
}

} // namespace

SwatchPrinter::SwatchPrinter(TileWindow& window, Platform& platform, PictureWorkers& workers)
    : QObject(&window), m_window(window), m_platform(platform), m_loader(workers),
      m_busySign(new BusySign(window, Qt::BottomLeftCorner))
{
    auto* action = new QAction(&window);
    action->setObjectName(QStringLiteral("printSwatch"));
    action->setShortcuts({QKeySequence(Qt::ControlModifier | Qt::Key_P),
                          QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_P)});
    connect(action, &QAction::triggered, this, &SwatchPrinter::print);
    window.addAction(action);
    connect(&m_loader, &BackgroundLoader::slowChanged, m_busySign, &BusySign::setBusy);
}

void SwatchPrinter::print()
{
    const QString path = m_window.workbench->shownPath();
    if (path.isEmpty() || busy())
        return;
    m_loader.load(
        {.path = path,
         .request = {.scaledTo = swatchLoadSize(m_window.workbench->pictures().wholeSize()),
                     .clippedTo = {}},
         .ahead = false,
         .measured = true},
        [this, path](const PictureAnswer& answer) {
            if (answer.picture.isNull())
                cannotPrint();
            else
                loaded(path, answer.picture, answer.measure);
        });
}

void SwatchPrinter::cannotPrint()
{
    m_platform.messageBox(&m_window, QLatin1String(CannotPrintPrompt), MessageStyle::Plain, {});
}

void SwatchPrinter::loaded(const QString& path, const QImage& picture,
                           const PictureMeasure& measure)
{
    const TileWorkbench& bench = *m_window.workbench;
    const QSizeF inches = paperInchesOrScreen(
        measure.pixels.isEmpty() ? picture.size() : measure.pixels, measure.resolution);
    const Swatch swatch{.picture = picture,
                        .copyInches = inches,
                        .repeat = bench.repeat(),
                        .ground = groundBrush(
                            bench.ground(), m_window.tiledView->palette().color(QPalette::Button)),
                        .caption = swatchCaption(QFileInfo(path).fileName(), bench.repeat(), inches,
                                                 measureFor(QLocale().measurementSystem()))};
    // The dialog's and the print service's waits handle the program's events: the window may
    // close meanwhile, and this with it.
    const QPointer<SwatchPrinter> self(this);
    m_printing = true;
    const PrintResult result =
        printOnChosenPrinter(m_platform, &m_window, QStringLiteral("Zelvo"),
                             [&swatch](QPainter& painter, QSizeF printable, double dpi) {
                                 return drawSwatch(painter, printable, dpi, swatch);
                             });
    if (!self)
        return;
    m_printing = false;
    if (result == PrintResult::Failed)
        cannotPrint();
}

} // namespace zelvo
