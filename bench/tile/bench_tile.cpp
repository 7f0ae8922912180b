// Tile repaint: a full repaint of the Large tile window's tiled picture at every zoom level, with
// and without the guides, and in every repeat system, beside filling the same number of 32-bit
// pixels with memset; for reference, also the repaint that follows a change of look and so
// rebuilds what is drawn.
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "common/SyntheticPicture.h"
#include "core/RepeatRule.h"
#include "core/ZoomRule.h"
#include "settings/SettingsStore.h"
#include "tile/TileWorkbench.h"
#include "tile/TilingImage.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 15;
constexpr int RepaintsPerSample = 20;
constexpr QSize LargeClient(1000, 700);

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "bench_tile: %s\n", qPrintable(what));
    std::exit(1);
}

struct Picture
{
    const char* label;
    QString fileName;
    QSize size;
};

// The rendered window must show the picture repeated from its top-left corner.
void checkTiled(const QImage& shown, const QImage& picture, const QString& name)
{
    for (const QPoint point : {QPoint(0, 0), QPoint(999, 699), QPoint(517, 333), QPoint(63, 64)}) {
        const QRgb expected =
            picture.pixel(point.x() % picture.width(), point.y() % picture.height());
        if (shown.pixel(point) != expected)
            fail(QStringLiteral("%1 is not tiled at (%2, %3)")
                     .arg(name)
                     .arg(point.x())
                     .arg(point.y()));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir folder;
    const std::vector<Picture> pictures{
        {"1 x 1 picture", QStringLiteral("dot.bmp"), {1, 1}},
        {"16 x 16 picture", QStringLiteral("small.bmp"), {16, 16}},
        {"1000 x 700 picture", QStringLiteral("large.bmp"), LargeClient}};
    for (const Picture& picture : pictures) {
        if (!syntheticPicture(picture.size.width(), picture.size.height())
                 .save(folder.filePath(picture.fileName), "bmp"))
            fail(QStringLiteral("cannot write ") + picture.fileName);
    }

    LargeTileSession session(folder.path());
    MainWindow& main = session.main;
    WindowRegistry& windows = session.windows;

    std::vector<std::uint32_t> plain(std::size_t(LargeClient.width()) * LargeClient.height());
    const auto memsetSample = [&] {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < RepaintsPerSample; ++i) {
            std::memset(plain.data(), i, plain.size() * sizeof(std::uint32_t));
            asm volatile("" : : "r"(plain.data()) : "memory");
        }
        return millisecondsSince(start) * 1000.0 / RepaintsPerSample;
    };

    Table table("Tile repaint: Large tile window, 1000 x 700 client", "microseconds per repaint",
                Rounds);
    for (const Picture& picture : pictures) {
        preview(main, picture.fileName);
        TileWindow& tile = openTile(windows);
        TilingImage& tiling = *tile.tiledView;
        if (tiling.size() != LargeClient)
            fail(QStringLiteral("the tile window's picture area is %1 x %2")
                     .arg(tiling.width())
                     .arg(tiling.height()));
        QImage shown(tiling.size(), QImage::Format_RGB32);
        const auto repaintSample = [&] {
            const Clock::time_point start = Clock::now();
            for (int i = 0; i < RepaintsPerSample; ++i)
                tiling.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
            return millisecondsSince(start) * 1000.0 / RepaintsPerSample;
        };
        TileWorkbench& workbench = *tile.workbench;
        const auto measure = [&](const std::string& look, double target = 5.0) {
            const Samples samples = interleave(Rounds, repaintSample, memsetSample);
            table.add(std::string("repaint of ") + picture.label + look + " vs memset", samples,
                      target);
        };
        measure("");
        checkTiled(shown, tiling.picture(), picture.fileName);
        while (workbench.zoom() > ZoomLevels.front())
            workbench.setZoom(zoomOut(workbench.zoom()));
        for (const int level : ZoomLevels) {
            while (workbench.zoom() < level)
                workbench.setZoom(zoomIn(workbench.zoom()));
            const std::string zoom = ", " + std::to_string(level) + "%";
            if (level != NaturalZoom)
                measure(zoom);
            workbench.toggleGuides();
            measure(zoom + " with guides");
            workbench.toggleGuides();
        }
        workbench.setZoom(NaturalZoom);
        for (std::size_t i = 0; i < RepeatSystems.size(); ++i) {
            // Laid so once as much of the picture as the system shows is in memory.
            if (!waitFor([&] { return tiling.look().repeat == workbench.repeat(); }))
                fail(QStringLiteral("the repeat system was not laid"));
            measure(std::string(", ") + repeatSystem(workbench.repeat()).name, 3.0);
            workbench.stepRepeat();
        }
        // For reference: a repaint that must first rebuild the surface, after a change of look.
        const auto rebuildSample = [&] {
            const Clock::time_point start = Clock::now();
            for (int i = 0; i < RepaintsPerSample; ++i) {
                workbench.toggleGuides();
                tiling.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
            }
            return millisecondsSince(start) * 1000.0 / RepaintsPerSample;
        };
        table.add(std::string("first repaint of ") + picture.label +
                      " after guides toggled at 800% vs memset",
                  interleave(Rounds, rebuildSample, memsetSample), 0.0);
        closeTile(windows);
    }
    return table.print() ? 0 : 2;
}
