// Memory: peak resident memory growth while the program opens its main window, previews a
// 20000 x 20000 JPEG and tiles it in the Large tile window, each step measured in a process
// of its own, beside the size of the picture fully decoded.
#include "HugeJpeg.h"
#include "app/Startup.h"
#include "common/ProcessMemory.h"
#include "common/ProgramSession.h"
#include "common/Report.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"
#include "tile/TilingImage.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 3;
constexpr int Side = 20000;
constexpr char PictureName[] = "huge.jpg";

enum class Step { Open, Preview, Tile };
const std::map<std::string, Step> Steps{
    {"open", Step::Open}, {"preview", Step::Preview}, {"tile", Step::Tile}};

// One step in a fresh process: prints the growth of the peak over the size before the step,
// in kB, or nothing when the step did not do what it should.
int child(Step step, const QString& folder, int argc, char* argv[])
{
    test::IsolatedSettings settings;
    chooseLargeTiles(settings);
    QApplication app(argc, argv);
    configureApplication();
    applyPictureAllocationLimit();

    long before = 0;
    bool peakRestarted = false;
    bool shown = true;
    const auto mark = [&] {
        before = statusKb("VmRSS");
        peakRestarted = restartPeak();
        if (!peakRestarted)
            before = statusKb("VmHWM");
    };
    if (step == Step::Open)
        mark();
    SettingsStore store;
    BenchPlatform platform;
    WindowRegistry windows(store, platform);
    windows.start();
    MainWindow& main = windows.get<MainWindow>();
    main.repaint();
    browseTo(main, platform, folder);
    if (step == Step::Preview)
        mark();
    if (step != Step::Open) {
        preview(main, QLatin1String(PictureName));
        main.repaint();
        shown = !ui(main).preview->picture().isNull();
    }
    if (step == Step::Tile) {
        mark();
        TileWindow& tile = openTile(windows);
        // A picture the tile window cannot load closes it at once.
        shown = windows.isLoaded<TileWindow>() && !tile.tiledView->picture().isNull();
        if (shown)
            tile.repaint();
    }
    const long peak = statusKb("VmHWM");
    std::printf("%ld %s %s\n", peak - before, peakRestarted ? "restarted" : "since-start",
                shown ? "shown" : "not-shown");
    return 0;
}

struct Growth
{
    double mb;
    bool shown;
};

Growth measure(const QString& program, const char* step, const QString& folder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, {QStringLiteral("--child"), QLatin1String(step), folder});
    if (!process.waitForFinished(600000) || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_memory: the %s step failed\n", step);
        std::exit(1);
    }
    const QList<QByteArray> answer = process.readAllStandardOutput().trimmed().split(' ');
    if (answer.value(1) != "restarted")
        std::fprintf(stderr, "bench_memory: %s: peak counted from process start\n", step);
    return {answer.value(0).toDouble() / 1024.0, answer.value(2) == "shown"};
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 4 && std::string(argv[1]) == "--child" && Steps.contains(argv[2]))
        return child(Steps.at(argv[2]), QString::fromLocal8Bit(argv[3]), argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    std::printf("writing a %d x %d JPEG with cjpeg...\n", Side, Side);
    std::fflush(stdout);
    const QString path = folder.filePath(QLatin1String(PictureName));
    if (!writeHugeJpeg(path, Side, Side, 80)) {
        std::fputs("bench_memory: cannot write the test picture with cjpeg\n", stderr);
        return 1;
    }
    const QString program = QCoreApplication::applicationFilePath();
    const double rawMb = double(Side) * Side * 4 / (1024.0 * 1024.0);
    constexpr double LimitMb = 150.0;

    Table table(QStringLiteral("Memory: peak resident growth, %1 x %1 JPEG (%2 MB on disk)")
                    .arg(Side)
                    .arg(QFile(path).size() / (1024.0 * 1024.0), 0, 'f', 1)
                    .toStdString(),
                "MB; baseline: the picture fully decoded, w*h*4 bytes", Rounds);
    std::vector<std::string> notShown;
    for (const auto& [label, step] : {std::pair{"opening the main window", "open"},
                                      std::pair{"previewing the picture", "preview"},
                                      std::pair{"tiling it, Large tile window", "tile"}}) {
        std::vector<double> growth;
        bool shown = true;
        for (int round = 0; round < Rounds; ++round) {
            const Growth measured = measure(program, step, folder.path());
            growth.push_back(measured.mb);
            shown = shown && measured.shown;
        }
        // Memory saved by not showing the picture at all meets no target.
        if (!shown)
            notShown.push_back(label);
        table.add({std::string(label) + (shown ? "" : " (NOT SHOWN)"), median(growth), rawMb,
                   shown ? LimitMb : 0.0, false});
    }
    const bool met = table.print();
    for (const std::string& label : notShown)
        std::printf("MISSED: %s: the program showed no picture\n", label.c_str());
    return met && notShown.empty() ? 0 : 2;
}
