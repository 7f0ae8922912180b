// Preview decode: a large JPEG loaded at the preview's size, beside libjpeg-turbo's own
// reduced-size decode run as a program; the same preview as the main window shows it after a
// click on the name, loaded beside the window; and a large PNG and TIFF and an SVG pattern beside
// Qt's own readers asked for the preview's size.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "common/Spawn.h"
#include "common/SyntheticPicture.h"
#include "pictures/PictureLoader.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace zelvo::bench;

constexpr int Rounds = 9;
constexpr QSize PictureSize(6000, 4000);
constexpr QSize PreviewSize(134, 134);

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "bench_preview: %s\n", what);
    std::exit(1);
}

// A repeating web pattern: shapes of every kind, filled with gradients and strokes.
QByteArray patternSvg(int shapes)
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='600' height='600'>"
                     "<defs><linearGradient id='g'><stop offset='0' stop-color='#c03'/>"
                     "<stop offset='1' stop-color='#08f'/></linearGradient></defs>";
    for (int i = 0; i < shapes; ++i) {
        const QByteArray x = QByteArray::number((i * 37) % 600);
        const QByteArray y = QByteArray::number((i * 91) % 600);
        switch (i % 3) {
        case 0:
            svg += "<circle cx='" + x + "' cy='" + y + "' r='9' fill='url(#g)'/>";
            break;
        case 1:
            svg += "<path d='M" + x + " " + y +
                   " q 12 -20 24 0 t 24 0' stroke='#333' "
                   "stroke-width='2' fill='none'/>";
            break;
        default:
            svg += "<rect x='" + x + "' y='" + y +
                   "' width='14' height='8' rx='3' "
                   "fill='#fc0' opacity='0.7' transform='rotate(30 " +
                   x + " " + y + ")'/>";
        }
    }
    return svg + "</svg>";
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zelvo::applyPictureAllocationLimit();

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.jpg"));
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    if (!writer.write(syntheticPicture(PictureSize.width(), PictureSize.height())))
        fail("cannot write the test picture");
    const std::string file = path.toStdString();

    const auto ours = [&] {
        const Clock::time_point start = Clock::now();
        const QImage preview = zelvo::loadPicture(path, {.scaledTo = PreviewSize, .clippedTo = {}});
        const double ms = millisecondsSince(start);
        if (preview.size() != PreviewSize)
            fail("the preview has the wrong size");
        return ms;
    };
    const auto djpeg = [&] {
        const Clock::time_point start = Clock::now();
        if (!runProgram({"djpeg", "-scale", "1/8", "-outfile", "/dev/null", file}))
            fail("djpeg failed");
        return millisecondsSince(start);
    };
    const auto readerAtEighth = [&] {
        const Clock::time_point start = Clock::now();
        QImageReader reader(path, "jpeg");
        reader.setScaledSize(PictureSize / 8);
        const QImage image = reader.read();
        const double ms = millisecondsSince(start);
        if (image.isNull())
            fail("QImageReader failed");
        return ms;
    };
    const auto fullThenScale = [&] {
        const Clock::time_point start = Clock::now();
        QImageReader reader(path, "jpeg");
        const QImage scaled =
            reader.read().scaled(PreviewSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const double ms = millisecondsSince(start);
        if (scaled.isNull())
            fail("the full decode failed");
        return ms;
    };

    LargeTileSession session(folder.path());
    const auto clicked = [&] {
        zelvo::MainWindow& main = session.main;
        // Nothing selected lets the picture go, which the next click then loads again.
        session.windows.currentFile().select(QString());
        ui(main).fileList->setFileName(QStringLiteral("large.jpg"));
        const Clock::time_point start = Clock::now();
        main.fileClicked();
        if (!waitFor([&] { return !main.previewLoading(); }) ||
            ui(main).preview->picture().isNull())
            fail("the click showed no preview");
        return millisecondsSince(start);
    };

    const Samples versusDjpeg = interleave(Rounds, ours, djpeg);
    const Samples clickVersusDjpeg = interleave(Rounds, clicked, djpeg);
    const Samples versusReader = interleave(Rounds, ours, readerAtEighth);
    const Samples fullVersusDjpeg = interleave(Rounds, fullThenScale, djpeg);

    const QString png = folder.filePath(QStringLiteral("large.png"));
    if (!syntheticPicture(PictureSize.width(), PictureSize.height()).save(png, "png"))
        fail("cannot write the PNG test picture");
    const auto oursPng = [&] {
        const Clock::time_point start = Clock::now();
        const QImage preview = zelvo::loadPicture(png, {.scaledTo = PreviewSize, .clippedTo = {}});
        const double ms = millisecondsSince(start);
        if (preview.size() != PreviewSize)
            fail("the PNG preview has the wrong size");
        return ms;
    };
    const auto readerScaledPng = [&] {
        const Clock::time_point start = Clock::now();
        QImageReader reader(png, "png");
        reader.setScaledSize(PreviewSize);
        const QImage image = reader.read();
        const double ms = millisecondsSince(start);
        if (image.size() != PreviewSize)
            fail("QImageReader failed on the PNG");
        return ms;
    };
    const Samples pngVersusReader = interleave(Rounds, oursPng, readerScaledPng);

    // TIFF, LZW-compressed as pattern makers hand it over, and an SVG of a web pattern: a few
    // thousand shapes with gradients. Qt's readers asked for the preview's size.
    const QString tiff = folder.filePath(QStringLiteral("large.tif"));
    QImageWriter tiffWriter(tiff, "tiff");
    tiffWriter.setCompression(1);
    if (!tiffWriter.write(syntheticPicture(PictureSize.width(), PictureSize.height())))
        fail("cannot write the TIFF test picture");
    const QString svg = folder.filePath(QStringLiteral("pattern.svg"));
    QFile svgFile(svg);
    if (!svgFile.open(QIODevice::WriteOnly) || svgFile.write(patternSvg(3000)) < 0)
        fail("cannot write the SVG test picture");
    svgFile.close();
    const auto oursAndReader = [&](const QString& file, const char* format) {
        const auto ours = [&file] {
            const Clock::time_point start = Clock::now();
            const QImage preview =
                zelvo::loadPicture(file, {.scaledTo = PreviewSize, .clippedTo = {}});
            const double ms = millisecondsSince(start);
            if (preview.size() != PreviewSize)
                fail("the preview has the wrong size");
            return ms;
        };
        const auto reader = [&file, format] {
            const Clock::time_point start = Clock::now();
            QImageReader reader(file, format);
            reader.setScaledSize(PreviewSize);
            const QImage image = reader.read();
            const double ms = millisecondsSince(start);
            if (image.size() != PreviewSize)
                fail("QImageReader failed");
            return ms;
        };
        return interleave(Rounds, ours, reader);
    };
    const Samples tiffVersusReader = oursAndReader(tiff, "tiff");
    const Samples svgVersusReader = oursAndReader(svg, "svg");

    Table table("Preview decode: 6000x4000 JPEG (quality 90), PNG and TIFF, and an SVG of 3000 "
                "shapes, to 134x134",
                "ms", Rounds);
    table.add("loadPicture scaled vs djpeg -scale 1/8", versusDjpeg, 1.0);
    table.add("shown after a click vs djpeg -scale 1/8", clickVersusDjpeg, 1.0);
    table.add("loadPicture scaled vs QImageReader at 1/8", versusReader, 0.0);
    table.add("full decode + scale vs djpeg -scale 1/8", fullVersusDjpeg, 0.0);
    table.add("PNG: loadPicture scaled vs QImageReader scaled", pngVersusReader, 1.2);
    table.add("TIFF: loadPicture scaled vs QImageReader scaled", tiffVersusReader, 1.1);
    table.add("SVG: loadPicture scaled vs QImageReader scaled", svgVersusReader, 1.1);
    return table.print() ? 0 : 2;
}
