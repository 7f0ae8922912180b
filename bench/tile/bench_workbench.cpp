// The tile window's work beyond its first showing, on 6000 x 4000 JPEGs in the Large tile
// window, the pictures loading beside the window as in the program: a new version of the file
// shown beside the preview's decode of it; a step to the next file, until the tile window and the
// preview both show it, beside one decode for the tile window plus one for the preview done one
// after the other; and a key held over the list, from its release until both show the file the
// selection stands on, beside the same two decodes. Each sample starts with the loaders idle.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "memory/HugeJpeg.h"
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

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 9;
constexpr int HeldRounds = 5;
constexpr int Width = 6000;
constexpr int Height = 4000;
// Files in the list, each a link to one of two pictures, and the key's repeats in one hold: as
// many as 25 repeats a second give in a second.
constexpr int Files = 60;
constexpr int Repeats = 25;
constexpr int RepeatMs = 40;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "bench_workbench: %s\n", qPrintable(what));
    std::exit(1);
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
        names.append(QStringLiteral("p%1.jpg").arg(n, 2, 10, QLatin1Char('0')));
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
            workbench.reload(folder.filePath(names[0]));
            if (!waitFor([&] { return reloads > before; }))
                fail(QStringLiteral("the new version was not shown"));
            tiling.repaint();
            return millisecondsSince(start);
        },
        [&] { return previewDecode(names[0]); });
    table.add("new version shown vs preview decode", reload, 1.5);

    int at = 0;
    const Samples step = interleave(
        Rounds,
        [&] {
            if (!waitFor(idle))
                fail(QStringLiteral("the loads did not end"));
            const Clock::time_point start = Clock::now();
            (void)windows.currentFile().step(at == 0 ? Step::Next : Step::Previous);
            at = 1 - at;
            if (ui(main).fileList->fileName() != names[at])
                fail(QStringLiteral("the step did not move the list"));
            if (!waitFor(bothShow))
                fail(QStringLiteral("the step was not shown"));
            tiling.repaint();
            return millisecondsSince(start);
        },
        [&] { return bothDecodes(names[1 - at]); });
    table.add("next/previous vs one preview + one tile decode", step, 1.1);

    QString last;
    const Samples held = interleave(
        HeldRounds,
        [&] {
            (void)windows.currentFile().step(Step::First);
            if (!waitFor(bothShow) || !waitFor(idle))
                fail(QStringLiteral("the first file was not shown"));
            for (int repeat = 0; repeat < Repeats; ++repeat) {
                QElapsedTimer gap;
                gap.start();
                (void)windows.currentFile().step(Step::Next);
                (void)waitFor([&] { return gap.hasExpired(RepeatMs); });
            }
            last = ui(main).fileList->fileName();
            const Clock::time_point released = Clock::now();
            if (!waitFor(bothShow))
                fail(QStringLiteral("the file of the selection was not shown"));
            tiling.repaint();
            return millisecondsSince(released);
        },
        [&] { return bothDecodes(names[Repeats]); });
    if (last != names[Repeats])
        fail(QStringLiteral("the held key ended on ") + last);
    table.add("key released: shown vs one preview + one tile decode", held, 1.5);
    closeTile(windows);
    return table.print() ? 0 : 2;
}
