// Start-up: from starting the process to its main window painted on screen, for the program
// and for a bare Qt window of the same size and colour, under one private X server.
#include "FirstPaintWatch.h"
#include "PrivateXServer.h"
#include "common/Report.h"

#include "core/PictureTypes.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

extern char** environ;

namespace {

using namespace zelvo::bench;

constexpr int Rounds = 25;
constexpr QRgb Navy = 0x000040;
// Inside the main window's outline, left of its inner frame: window ground in both programs.
constexpr QPoint ProbePlace(5, 200);

// The environment both programs get: ours minus anything that points at the user's desktop,
// settings or display, plus the private server and a fresh empty home.
std::vector<std::string> environmentFor(const QString& display, const QString& home)
{
    static const char* const dropped[] = {
        "DISPLAY=",         "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",  "HOME=",
        "XDG_CONFIG_HOME=", "XDG_RUNTIME_DIR=", "XDG_SESSION_TYPE=", "DBUS_SESSION_BUS_ADDRESS=",
        "XAUTHORITY="};
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        bool keep = true;
        for (const char* prefix : dropped)
            keep = keep && std::strncmp(*entry, prefix, std::strlen(prefix)) != 0;
        if (keep)
            variables.emplace_back(*entry);
    }
    const QDir dir(home);
    (void)dir.mkpath(QStringLiteral("config"));
    (void)dir.mkpath(QStringLiteral("runtime"));
    (void)QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                                QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                    QFileDevice::ExeOwner);
    variables.push_back("DISPLAY=" + display.toStdString());
    variables.push_back("QT_QPA_PLATFORM=xcb");
    variables.push_back("HOME=" + home.toStdString());
    variables.push_back("XDG_CONFIG_HOME=" + dir.filePath(QStringLiteral("config")).toStdString());
    variables.push_back("XDG_RUNTIME_DIR=" + dir.filePath(QStringLiteral("runtime")).toStdString());
    return variables;
}

// A returning user's home: the settings file as the program writes it at its first start.
void writeFirstStartSettings(const QString& home)
{
    using namespace zelvo::settings;
    QSettings store(QDir(home).filePath(QStringLiteral("config/") + QLatin1String(Application) +
                                        QStringLiteral(".conf")),
                    QSettings::IniFormat);
    for (const zelvo::PictureType& type : zelvo::PictureTypes) {
        store.setValue(QLatin1String(type.key.section) + QLatin1Char('/') +
                           QLatin1String(type.key.name),
                       QLatin1String(type.initiallyEnabled ? type.pattern : Disabled));
    }
    store.sync();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const std::string program = argc > 1 ? argv[1] : ZELVO_BINARY;
    const std::string bare = argc > 2 ? argv[2] : ZELVO_BARE_WINDOW;

    const PrivateXServer server;
    if (!server.running()) {
        std::fputs("bench_startup: Xvfb did not start\n", stderr);
        return 1;
    }
    FirstPaintWatch watch(server.display());
    if (!watch.ready()) {
        std::fputs("bench_startup: cannot watch the X server for drawing\n", stderr);
        return 1;
    }
    QTemporaryDir homes;
    int run = 0;
    const auto timed = [&](const std::string& path, bool returning) {
        const QString home = homes.filePath(QString::number(++run));
        const std::vector<std::string> environment = environmentFor(server.display(), home);
        if (returning)
            writeFirstStartSettings(home);
        const double ms = watch.timeToFirstPaint({path}, environment, {ProbePlace, Navy});
        if (ms < 0.0)
            std::fprintf(stderr, "bench_startup: %s painted no window in time\n", path.c_str());
        return ms;
    };
    // The first start also creates the settings file; every later one finds it.
    const Samples first = interleave(
        Rounds, [&] { return timed(program, false); }, [&] { return timed(bare, false); });
    const Samples later = interleave(
        Rounds, [&] { return timed(program, true); }, [&] { return timed(bare, true); });

    Table table("Start-up: process start to first painted main window (Xvfb)", "ms", Rounds);
    table.addPaired("first start vs bare 497x432 navy Qt window", first, 1.5);
    table.addPaired("later start vs bare 497x432 navy Qt window", later, 1.5);
    const bool met = table.print();
    std::puts("ratio: median of the ratios of the interleaved runs, round by round");
    return met ? 0 : 2;
}
