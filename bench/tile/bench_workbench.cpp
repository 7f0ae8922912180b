// The tile window's work beyond its first showing, on 6000 x 4000 JPEGs in the Large tile
// window, the pictures loading beside the window as in the program. A new version of the file,
// until both windows show it, beside one whole decode of it. A step to the next file: until the
// tile window shows it, and until the preview shows it too, beside the two decodes that showed it
// before the windows shared their pictures (one for the preview and one for the tile window's
// part, one after the other); and the processor time of the step's one decode, and of the whole
// step on every thread, beside djpeg's for the whole file. A key held for ten seconds: the longest
// the window's events wait meanwhile, and from its release until both windows show the file the
// selection stands on, beside one whole decode. Each sample starts with the loaders idle.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "common/Spawn.h"
#include "memory/HugeJpeg.h"
#include "pictures/LargeImage.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"
#include "tile/TileWorkbench.h"
#include "tile/TilingImage.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <sys/resource.h>

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 9;
constexpr int HeldRounds = 3;
constexpr int Width = 6000;
constexpr int Height = 4000;
// Files in the list, each a link to one of two pictures, and the key's repeats in one hold: 25
// repeats a second for ten seconds.
constexpr int Repeats = 250;
constexpr int Files = Repeats + 10;
constexpr int RepeatMs = 40;
constexpr int ProbeMs = 5;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "bench_workbench: %s\n", qPrintable(what));
    std::exit(1);
}

// The processor time of this process, every thread of it, and of its ended children.
[[nodiscard]] double processorMs()
{
    timespec now{};
    (void)clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

[[nodiscard]] double childrenProcessorMs()
{
    rusage usage{};
    (void)getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval& time) {
        return double(time.tv_sec) * 1000.0 + double(time.tv_usec) / 1000.0;
    };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir sources;
    QTemporaryDir folder;
    for (const char* name : {"a.jpg", "b.jpg"}) {
        if (!writeHugeJpeg(sources.filePath(QLatin1String(name)), Width, Height, 90))
            fail(QStringLiteral("cannot write the pictures (is cjpeg installed?)"));
    }
    QStringList names;
    for (int n = 0; n < Files; ++n) {
        names.append(QStringLiteral("p%1.jpg").arg(n, 3, 10, QLatin1Char('0')));
        if (!QFile::link(
                sources.filePath(n % 2 == 0 ? QStringLiteral("a.jpg") : QStringLiteral("b.jpg")),
                folder.filePath(names.last())))
            fail(QStringLiteral("cannot link ") + names.last());
    }

    LargeTileSession session(folder.path());
    MainWindow& main = session.main;
    WindowRegistry& windows = session.windows;
    preview(main, names[0]);
    TileWindow& tile = openTile(windows);
    TilingImage& tiling = *tile.tiledView;
    TileWorkbench& workbench = *tile.workbench;
    if (tiling.picture().isNull())
        fail(QStringLiteral("the tile window shows no picture"));

    const qreal ratio = main.devicePixelRatioF();
    const QSize previewSize = ui(main).preview->pictureArea().size() * ratio;
    const QSize shown(int(std::ceil(tile.outerSize().width() * ratio)),
                      int(std::ceil(tile.outerSize().height() * ratio)));
    const auto decode = [&](const QString& name, const PictureRequest& request) {
        const Clock::time_point start = Clock::now();
        if (loadPicture(folder.filePath(name), request).isNull())
            fail(QStringLiteral("a decode failed"));
        return millisecondsSince(start);
    };
    const auto previewDecode = [&](const QString& name) {
        return decode(name, {.scaledTo = previewSize, .clippedTo = {}});
    };
    const auto bothDecodes = [&](const QString& name) {
        return previewDecode(name) + decode(name, {.scaledTo = {}, .clippedTo = shown});
    };
    const auto wholeDecode = [&](const QString& name) { return decode(name, {}); };
    const auto djpeg = [&](const QString& name) {
        const double before = childrenProcessorMs();
        if (!runProgram({"djpeg", "-outfile", "/dev/null", folder.filePath(name).toStdString()}))
            fail(QStringLiteral("djpeg failed (is libjpeg-turbo-progs installed?)"));
        return childrenProcessorMs() - before;
    };
    const auto idle = [&] { return !tile.loading() && !main.previewLoading(); };
    // Both windows show the selected file.
    const auto bothShow = [&] {
        return workbench.shownPath() == main.picturePath() && !main.previewLoading();
    };

    Table table("Tile window work on a 6000 x 4000 JPEG, Large tile window", "milliseconds",
                Rounds);
    int reloads = 0;
    QObject::connect(&workbench, &TileWorkbench::reloaded, [&reloads] { ++reloads; });
    const Samples reload = interleave(
        Rounds,
        [&] {
            if (!waitFor(idle))
                fail(QStringLiteral("the loads did not end"));
            const int before = reloads;
            const Clock::time_point start = Clock::now();
            const qint64 previewBefore = ui(main).preview->picture().cacheKey();
            workbench.reload(folder.filePath(names[0]));
            if (!waitFor([&] {
                    return reloads > before &&
                           ui(main).preview->picture().cacheKey() != previewBefore;
                }))
                fail(QStringLiteral("the new version was not shown"));
            tiling.repaint();
            return millisecondsSince(start);
        },
        [&] { return wholeDecode(names[0]); });
    table.add("new version in both windows vs one decode", reload, 1.5);

    int at = 0;
    const auto stepAndWait = [&](auto&& shown) {
        if (!waitFor(idle))
            fail(QStringLiteral("the loads did not end"));
        const Clock::time_point start = Clock::now();
        (void)windows.currentFile().step(at == 0 ? Step::Next : Step::Previous);
        at = 1 - at;
        if (ui(main).fileList->fileName() != names[at])
            fail(QStringLiteral("the step did not move the list"));
        if (!waitFor(shown))
            fail(QStringLiteral("the step was not shown"));
        tiling.repaint();
        return millisecondsSince(start);
    };
    const Samples tileShows = interleave(
        Rounds,
        [&] { return stepAndWait([&] { return workbench.shownPath() == main.picturePath(); }); },
        [&] { return bothDecodes(names[1 - at]); });
    table.add("next/previous: tile window vs preview + part decodes", tileShows, 0.9);
    const Samples bothShown = interleave(
        Rounds, [&] { return stepAndWait(bothShow); }, [&] { return bothDecodes(names[1 - at]); });
    table.add("next/previous: both windows vs preview + part decodes", bothShown, 0.0);
    // A step decodes its file once (as the share test counts): that decode beside djpeg's, and all
    // the processor time of the step, making the preview's and the window's pictures and drawing
    // them included.
    // Into memory kept from the decode before, as the tile window's steps decode.
    const auto pool = std::make_shared<LargeImagePool>();
    const Samples decodeTime = interleave(
        Rounds,
        [&] {
            const double before = processorMs();
            if (!loadWholeOrPart(folder.filePath(names[0]), shown, false, {}, {}, pool).whole)
                fail(QStringLiteral("the picture was not decoded whole"));
            return processorMs() - before;
        },
        [&] { return djpeg(names[0]); });
    table.add("processor time of one decode vs djpeg", decodeTime, 1.15);
    const Samples processor = interleave(
        Rounds,
        [&] {
            const double before = processorMs();
            (void)stepAndWait([&] { return bothShow() && idle(); });
            return processorMs() - before;
        },
        [&] { return djpeg(names[1 - at]); });
    table.add("processor time of a whole step vs djpeg", processor, 0.0);

    QString last;
    double longestWait = 0;
    const Samples held = interleave(
        HeldRounds,
        [&] {
            (void)windows.currentFile().step(Step::First);
            if (!waitFor(bothShow) || !waitFor(idle))
                fail(QStringLiteral("the first file was not shown"));
            // A timer every 5 ms: how late it comes is how long the events waited.
            QTimer probe;
            probe.setTimerType(Qt::PreciseTimer);
            Clock::time_point looked = Clock::now();
            QObject::connect(&probe, &QTimer::timeout, [&] {
                longestWait = std::max(longestWait, millisecondsSince(looked) - ProbeMs);
                looked = Clock::now();
            });
            probe.start(ProbeMs);
            for (int repeat = 0; repeat < Repeats; ++repeat) {
                QElapsedTimer gap;
                gap.start();
                (void)windows.currentFile().step(Step::Next);
                (void)waitFor([&] { return gap.hasExpired(RepeatMs); });
            }
            probe.stop();
            last = ui(main).fileList->fileName();
            const Clock::time_point released = Clock::now();
            if (!waitFor(bothShow))
                fail(QStringLiteral("the file of the selection was not shown"));
            tiling.repaint();
            return millisecondsSince(released);
        },
        [&] { return wholeDecode(names[Repeats]); });
    if (last != names[Repeats])
        fail(QStringLiteral("the held key ended on ") + last);
    table.add("key released: both windows vs one decode", held, 1.5);
    table.add({.figure = "longest wait of the events, key held 10 s",
               .ours = longestWait,
               .baseline = 0,
               .target = 100,
               .targetIsRatio = false});
    closeTile(windows);
    return table.print() ? 0 : 2;
}
