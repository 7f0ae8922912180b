// Feeds each input to the program's picture loading as a file under every picture extension
// and an unknown one, whole or in part as the windows' documents load it (the part handed first),
// scaled down for the preview (to libjpeg's smallest scale too),
// clipped for the tile window (a part wider than the picture too), and as a reload that takes
// complete files only. Run with libFuzzer's memory limit at the loader's budget plus the
// harness, so that a load that escapes the budget fails, and its -timeout above what the loads
// of one input take at the loader's work limit each, so that a load that does not stop by it
// fails.

#include "pictures/PictureLoader.h"
#include "pictures/StoredResolution.h"

#include <QCoreApplication>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

struct Harness
{
    QTemporaryDir folder;
};

Harness* harness = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image readers of JPEG, GIF, icons and WebP are plugins, found through the application.
    new QCoreApplication(*argc, *argv);
    zelvo::applyPictureAllocationLimit();
    // The readers' complaints about every damaged input would bury the fuzzer's own report.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    harness = new Harness;
    return harness->folder.isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    constexpr std::array<const char*, 10> Names{"f.bmp",  "f.jpg", "f.gif", "f.ico",  "f.png",
                                                "f.webp", "f.tif", "f.svg", "f.JPEG", "f.dat"};
    for (const char* name : Names) {
        const QString path = harness->folder.filePath(QLatin1String(name));
        {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                file.write(bytes) != bytes.size())
                return 0;
        }
        (void)zelvo::pictureFormatFor(path);
        (void)zelvo::readPictureMeasure(path);
        QImage first;
        const zelvo::WholeOrPart document = zelvo::loadWholeOrPart(
            path, {40, 30}, false, {}, [&first](const QImage& part) { first = part; });
        const QImage preview = zelvo::loadPicture(path, {.scaledTo = {97, 61}, .clippedTo = {}});
        const QImage dot = zelvo::loadPicture(path, {.scaledTo = {1, 1}, .clippedTo = {}});
        const QImage tile = zelvo::loadPicture(path, {.scaledTo = {}, .clippedTo = {40, 30}});
        const QImage strip = zelvo::loadPicture(path, {.scaledTo = {}, .clippedTo = {5000, 2}});
        // An SVG drawn again at the largest zoom, for a part of the tile window.
        const QImage zoomed = zelvo::loadPicture(
            path, {.scaledTo = {}, .clippedTo = {40, 30}, .completeOnly = false, .zoom = 800});
        const zelvo::LoadedPicture reload = zelvo::loadPicture(
            path, {.scaledTo = {}, .clippedTo = {40, 30}, .completeOnly = true}, {});
        // Nothing asks the load to stop here, and only a loaded picture has pixels.
        if (reload.outcome == zelvo::LoadOutcome::Cancelled ||
            reload.image.isNull() == (reload.outcome == zelvo::LoadOutcome::Loaded))
            __builtin_trap();
        // What the loader promises: a preview no larger than asked (a JPEG's exactly that
        // size), a part no larger than asked.
        if (!preview.isNull() && (preview.width() > 97 || preview.height() > 61))
            __builtin_trap();
        if (!preview.isNull() && zelvo::pictureFormatFor(path) == QByteArray("jpeg") &&
            preview.size() != QSize(97, 61))
            __builtin_trap();
        if (!dot.isNull() && (dot.width() > 1 || dot.height() > 1))
            __builtin_trap();
        // A part handed first, and any part, no larger than asked; a part handed is never taken
        // back.
        const QImage& shown = document.loaded.image;
        if (!first.isNull() && (first.width() > 40 || first.height() > 30 || shown.isNull()))
            __builtin_trap();
        if (!document.whole && !shown.isNull() && (shown.width() > 40 || shown.height() > 30))
            __builtin_trap();
        if (!tile.isNull() && (tile.width() > 40 || tile.height() > 30))
            __builtin_trap();
        if (!strip.isNull() && (strip.width() > 5000 || strip.height() > 2))
            __builtin_trap();
        if (!zoomed.isNull() && (zoomed.width() > 40 || zoomed.height() > 30))
            __builtin_trap();
    }
    return 0;
}
