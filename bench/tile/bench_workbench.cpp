// The tile window's work beyond its first showing, on a 6000 x 4000 JPEG in the Large tile
// window: a new version of the file shown (load and repaint) beside the preview's decode of
// the same file, and a step to the next file of the list beside one decode for the tile window
// plus one for the preview.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "memory/HugeJpeg.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"
#include "tile/TileWorkbench.h"
#include "tile/TilingImage.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 9;
constexpr int Width = 6000;
constexpr int Height = 4000;

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

    QTemporaryDir folder;
    const QStringList names{QStringLiteral("a.jpg"), QStringLiteral("b.jpg")};
    for (const QString& name : names) {
        if (!writeHugeJpeg(folder.filePath(name), Width, Height, 90))
            fail(QStringLiteral("cannot write ") + name + QStringLiteral(" (is cjpeg installed?)"));
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
    const QSize previewSize = main.preview->pictureArea().size() * ratio;
    const QSize shown(int(std::ceil(tile.outerSize().width() * ratio)),
                      int(std::ceil(tile.outerSize().height() * ratio)));
    const auto previewDecode = [&](const QString& name) {
        const Clock::time_point start = Clock::now();
        const QImage picture =
            loadPicture(folder.filePath(name), {.scaledTo = previewSize, .clippedTo = {}});
        if (picture.isNull())
            fail(QStringLiteral("the preview decode failed"));
        return millisecondsSince(start);
    };
    const auto tileDecode = [&](const QString& name) {
        const Clock::time_point start = Clock::now();
        const QImage picture =
            loadPicture(folder.filePath(name), {.scaledTo = {}, .clippedTo = shown});
        if (picture.isNull())
            fail(QStringLiteral("the tile decode failed"));
        return millisecondsSince(start);
    };

    Table table("Tile window work on a 6000 x 4000 JPEG, Large tile window", "milliseconds",
                Rounds);
    const Samples reload = interleave(
        Rounds,
        [&] {
            const Clock::time_point start = Clock::now();
            workbench.reload(folder.filePath(names[0]));
            tiling.repaint();
            return millisecondsSince(start);
        },
        [&] { return previewDecode(names[0]); });
    table.add("new version shown vs preview decode", reload, 1.5);

    int at = 0;
    const Samples step = interleave(
        Rounds,
        [&] {
            const Clock::time_point start = Clock::now();
            main.stepTileWindow(at == 0 ? Step::Next : Step::Previous);
            tiling.repaint();
            at = 1 - at;
            if (main.fileList->fileName() != names[at])
                fail(QStringLiteral("the step did not move the list"));
            return millisecondsSince(start);
        },
        [&] { return previewDecode(names[1 - at]) + tileDecode(names[1 - at]); });
    table.add("next/previous vs one preview + one tile decode", step, 1.2);
    closeTile(windows);
    return table.print() ? 0 : 2;
}
