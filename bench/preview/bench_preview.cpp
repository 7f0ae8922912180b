// Preview decode: a large JPEG loaded at the preview's size, beside libjpeg-turbo's own
// reduced-size decode run as a program; the same preview as the main window shows it after a
// click on the name, loaded beside the window; and a large PNG beside Qt's own reader asked for
// the preview's size.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "common/Spawn.h"
#include "common/SyntheticPicture.h"
#include "pictures/PictureLoader.h"
#include "widgets/PictureBox.h"

#include <QApplication>
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
        main.preview->clearPicture();
        main.fileList->setFileName(QStringLiteral("large.jpg"));
        const Clock::time_point start = Clock::now();
        main.fileClicked();
        if (!waitFor([&] { return !main.previewLoading(); }) || main.preview->picture().isNull())
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

    Table table("Preview decode: 6000x4000 JPEG (quality 90) and PNG to 134x134", "ms", Rounds);
    table.add("loadPicture scaled vs djpeg -scale 1/8", versusDjpeg, 1.0);
    table.add("shown after a click vs djpeg -scale 1/8", clickVersusDjpeg, 1.0);
    table.add("loadPicture scaled vs QImageReader at 1/8", versusReader, 0.0);
    table.add("full decode + scale vs djpeg -scale 1/8", fullVersusDjpeg, 0.0);
    table.add("PNG: loadPicture scaled vs QImageReader scaled", pngVersusReader, 1.2);
    return table.print() ? 0 : 2;
}
