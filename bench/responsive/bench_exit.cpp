// How soon the program is gone after a click on Exit: the real program on a private X server with
// a window manager, Exit clicked while the preview decodes a large WebP picture (a decoder that
// cannot be stopped midway), beside Exit clicked with nothing loading. The rounds alternate.
#include "common/Report.h"
#include "realwindow/XSession.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace zelvo::bench;
using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

const QSize MainSize(497, 432);
const QPoint ExitButton(246, 399);
constexpr int Rounds = 5;
constexpr double TargetMs = 300;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "bench_exit: %s\n", qPrintable(what));
    std::exit(1);
}

// Milliseconds from the click on Exit until the process has ended, the program started on the
// arguments and clicked waitMs after its main window appeared.
double exitMs(const QStringList& arguments, int waitMs)
{
    XSession session;
    if (const QString failure = session.start(); !failure.isEmpty())
        fail(failure);
    if (const QString failure = session.startWindowManager(); !failure.isEmpty())
        fail(failure);
    if (const QString failure = session.startProgram(ZELVO_BINARY, arguments); !failure.isEmpty())
        fail(failure);
    const auto main = session.waitForWindow(
        [&](WindowId w) { return session.geometry(w).value_or(QRect()).size() == MainSize; },
        20000);
    if (!main)
        fail(QStringLiteral("the main window did not appear"));
    QTest::qWait(waitMs);
    if (!session.click(session.geometry(*main).value_or(QRect()).topLeft() + ExitButton))
        fail(QStringLiteral("cannot click Exit"));
    QElapsedTimer clicked;
    clicked.start();
    while (session.programRunning() && clicked.elapsed() < 20000)
        QTest::qWait(1);
    return double(clicked.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    const QString webp = folder.filePath(QStringLiteral("large.webp"));
    // Noise: the decoder has every pixel to work out.
    QImage picture(5000, 3500, QImage::Format_RGB32);
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(picture.bits()),
                                          picture.sizeInBytes() / 4);
    if (!picture.save(webp, "WEBP", 90))
        fail(QStringLiteral("cannot write the WebP picture (is qt6-image-formats-plugins in?)"));

    Table table("Time from the click on Exit until the process has ended, the real program",
                "ms; baseline: Exit with nothing loading", Rounds);
    const Samples samples = interleave(
        Rounds, [&] { return exitMs({webp}, 50); }, [] { return exitMs({}, 50); });
    table.add({"Exit while the preview decodes a 5000 x 3500 WebP", median(samples.ours),
               median(samples.baseline), TargetMs, -1.0, false});
    return table.print() ? 0 : 2;
}
