// How long the program leaves its windows unanswered while pictures load: the real program on a
// private X server with a window manager, driven with xdotool, its main window pinged over the X
// server as window managers do (_NET_WM_PING) by a probe that keeps the longest wait for an
// answer. During the preview and then the tile window of each hostile picture and of a
// legitimate 50-megapixel JPEG, and during Right held for 10 s in the tile window over large
// bitmaps and over large JPEGs; beside the same window left idle for as long.
#include "badinput/BadPictures.h"
#include "common/Report.h"
#include "common/WindowPing.h"
#include "memory/HugeJpeg.h"
#include "realwindow/XSession.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {

using namespace zelvo;
using namespace zelvo::bench;
using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

// Places in the main window's client area, in pixels.
const QSize MainSize(497, 432);
const QPoint BrowseButton(245, 164);
const QPoint FirstName(71, 103);
const QPoint Preview(371, 163);
// How long a hostile load is watched: past the loader's allowance of work.
constexpr int LoadSpanMs = 2500;
constexpr int HoldMs = 10000;
constexpr int TargetMs = 100;

[[noreturn]] void fail(const QString& what)
{
    std::fprintf(stderr, "bench_responsive: %s\n", qPrintable(what));
    std::exit(1);
}

class Program
{
public:
    Program()
    {
        if (const QString failure = m_session.start(); !failure.isEmpty())
            fail(failure);
        if (const QString failure = m_session.startWindowManager(); !failure.isEmpty())
            fail(failure);
        if (const QString failure = m_session.startProgram(QStringLiteral(ZELVO_BINARY));
            !failure.isEmpty())
            fail(failure);
        const std::optional<WindowId> main = m_session.waitForWindow(
            [&](WindowId window) {
                const auto area = m_session.geometry(window);
                return area && area->size() == MainSize;
            },
            20000);
        if (!main)
            fail(QStringLiteral("the main window did not appear"));
        m_main = *main;
        m_ping = std::make_unique<WindowPing>(m_session.display(), m_main);
        if (!m_ping->running())
            fail(QStringLiteral("the window cannot be pinged"));
    }

    void click(QPoint inMain) const
    {
        const QRect area = m_session.geometry(m_main).value_or(QRect());
        if (!m_session.click(area.topLeft() + inMain))
            fail(QStringLiteral("cannot click"));
    }
    void key(const char* keys) const { (void)m_session.key(QLatin1String(keys)); }
    void xdotool(const char* command, const char* key) const
    {
        (void)m_session.tool(QStringLiteral("xdotool"),
                             {QLatin1String(command), QLatin1String(key)});
    }

    // Browses to the folder with the folder chooser and clicks the first name listed.
    void browseAndClickFirst(const QString& folder)
    {
        click(BrowseButton);
        const auto dialog = m_session.waitForWindow([&](WindowId window) {
            return m_session.title(window).startsWith(QLatin1String("Find Directory"));
        });
        if (!dialog || !m_session.activate(*dialog))
            fail(QStringLiteral("no folder chooser"));
        key("ctrl+a");
        (void)m_session.typeText(folder);
        key("Return");
        if (!XSession::waitUntil([&] { return !m_session.isViewable(*dialog); }, 10000))
            fail(QStringLiteral("the folder chooser stayed open"));
        QTest::qWait(500);
        click(FirstName);
    }

    [[nodiscard]] std::optional<WindowId> tileWindow(int timeoutMs) const
    {
        return m_session.waitForWindow(
            [&](WindowId window) {
                const auto frame = m_session.frameExtents(window);
                return window != m_main && frame && frame->top() > 0 &&
                       m_session.title(window) == QLatin1String("Zelvo");
            },
            timeoutMs);
    }
    void closeTileWindow() const
    {
        if (const std::optional<WindowId> tile = tileWindow(1000)) {
            key("Escape");
            (void)XSession::waitUntil([&] { return !m_session.isViewable(*tile); }, 5000);
        }
    }

    // The longest the window went unanswered from the start of the action to spanMs after it.
    [[nodiscard]] double longestWaitMs(const std::function<void()>& action, int spanMs) const
    {
        m_ping->reset();
        action();
        QTest::qWait(spanMs);
        return m_ping->longestWaitMs();
    }

private:
    XSession m_session;
    WindowId m_main = 0;
    std::unique_ptr<WindowPing> m_ping;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A folder of many large files, each a link to one of three pictures written by write.
void writeLinkedFolder(const QString& folder, const QString& sources, const char* suffix,
                       const std::function<bool(const QString&, int)>& write)
{
    for (int i = 0; i < 3; ++i) {
        if (!write(QDir(sources).filePath(QString::number(i)), i))
            fail(QStringLiteral("cannot write the large pictures"));
    }
    for (int n = 0; n < 400; ++n) {
        const QString name =
            QStringLiteral("p%1.").arg(n, 3, 10, QLatin1Char('0')) + QLatin1String(suffix);
        if (!QFile::link(QDir(sources).filePath(QString::number(n % 3)),
                         QDir(folder).filePath(name)))
            fail(QStringLiteral("cannot link the large pictures"));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Program program;
    Table table("Longest time the window went unanswered, the real program on an X server",
                "ms; baseline: the idle window over the same time", 0);
    const double idleLoad = program.longestWaitMs([] {}, LoadSpanMs);

    QTemporaryDir root;
    std::vector<std::pair<std::string, QString>> pictures;
    for (const test::BadPicture& picture : test::badPictures()) {
        // Icons are not listed until the options choose them.
        if (!picture.name.startsWith(QLatin1String("hostile-")) ||
            picture.name.endsWith(QLatin1String(".ico")))
            continue;
        const QString folder = root.filePath(picture.name + QStringLiteral(".d"));
        if (!QDir().mkpath(folder) ||
            !writeFile(QDir(folder).filePath(picture.name), picture.bytes))
            fail(QStringLiteral("cannot write ") + picture.name);
        pictures.emplace_back(picture.name.toStdString(), folder);
    }
    const QString legitimate = root.filePath(QStringLiteral("50mp.d"));
    if (!QDir().mkpath(legitimate) ||
        !writeHugeJpeg(QDir(legitimate).filePath(QStringLiteral("50mp.jpg")), 8660, 5774, 90))
        fail(QStringLiteral("cannot write the 50-megapixel JPEG (is cjpeg installed?)"));
    pictures.emplace_back("legitimate 50-megapixel JPEG", legitimate);

    for (const auto& [label, folder] : pictures) {
        const double previewed =
            program.longestWaitMs([&] { program.browseAndClickFirst(folder); }, LoadSpanMs);
        const double tiled = program.longestWaitMs([&] { program.click(Preview); }, LoadSpanMs);
        program.closeTileWindow();
        table.add({label + ", preview", previewed, idleLoad, TargetMs, -1.0, false});
        table.add({label + ", tile window", tiled, idleLoad, TargetMs, -1.0, false});
    }

    const double idleHold = program.longestWaitMs([] {}, HoldMs + 2000);
    QTemporaryDir bitmaps;
    QTemporaryDir jpegs;
    QTemporaryDir sources;
    writeLinkedFolder(bitmaps.path(), sources.filePath(QStringLiteral("bmp")), "bmp",
                      [&](const QString& path, int i) {
                          QImage picture(4000, 3000, QImage::Format_RGB888);
                          picture.fill(QColor::fromHsv(i * 120, 200, 200));
                          return QDir().mkpath(QFileInfo(path).path()) && picture.save(path, "BMP");
                      });
    writeLinkedFolder(jpegs.path(), sources.filePath(QStringLiteral("jpg")), "jpg",
                      [&](const QString& path, int) {
                          return QDir().mkpath(QFileInfo(path).path()) &&
                                 writeHugeJpeg(path, 6000, 4000, 90);
                      });
    for (const auto& [label, folder] :
         {std::pair{"Right held 10 s over 4000 x 3000 bitmaps", bitmaps.path()},
          std::pair{"Right held 10 s over 6000 x 4000 JPEGs", jpegs.path()}}) {
        program.browseAndClickFirst(folder);
        QTest::qWait(1500);
        program.click(Preview);
        if (!program.tileWindow(10000))
            fail(QStringLiteral("no tile window"));
        QTest::qWait(1500);
        const double held = program.longestWaitMs(
            [&] {
                program.xdotool("keydown", "Right");
                QTest::qWait(HoldMs);
                program.xdotool("keyup", "Right");
            },
            2000);
        program.closeTileWindow();
        table.add({label, held, idleHold, TargetMs, -1.0, false});
    }
    return table.print() ? 0 : 2;
}
