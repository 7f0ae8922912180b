// The desktop background the program sets on a bare X11 session: the root window's pixmap, read
// back from a private X server as another client sees it, after the program has ended.

#include "XSession.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace zelvo::realwindow;

namespace {

const char* const ProgramBinary = ZELVO_BINARY;
constexpr int WaitMs = 20000;
// The preview in the main window's client area.
const QPoint PreviewCentre(304 + 67, 96 + 67);

bool xFailed = false;
int noteError(Display*, XErrorEvent*)
{
    xFailed = true;
    return 0;
}

// The display as a second client reads it.
class Reader
{
public:
    explicit Reader(const QString& display) : m_display(XOpenDisplay(qPrintable(display)))
    {
        XSetErrorHandler(noteError);
    }
    ~Reader()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    [[nodiscard]] bool open() const { return m_display != nullptr; }

    // The pixmap a property of the root window names, or none.
    [[nodiscard]] Pixmap pixmapNamed(const char* property) const
    {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        Pixmap pixmap = None;
        if (XGetWindowProperty(m_display, DefaultRootWindow(m_display),
                               XInternAtom(m_display, property, False), 0, 1, False, XA_PIXMAP,
                               &type, &format, &count, &after, &data) == Success &&
            type == XA_PIXMAP && count == 1)
            pixmap = *reinterpret_cast<Pixmap*>(data);
        if (data)
            XFree(data);
        return pixmap;
    }

    [[nodiscard]] bool exists(Pixmap pixmap) const
    {
        xFailed = false;
        Window root = None;
        int x = 0, y = 0;
        unsigned width = 0, height = 0, border = 0, depth = 0;
        XGetGeometry(m_display, pixmap, &root, &x, &y, &width, &height, &border, &depth);
        XSync(m_display, False);
        return !xFailed;
    }

    [[nodiscard]] QImage read(Drawable drawable, QSize size) const
    {
        XImage* image = XGetImage(m_display, drawable, 0, 0, unsigned(size.width()),
                                  unsigned(size.height()), AllPlanes, ZPixmap);
        if (!image)
            return {};
        QImage read(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x)
                read.setPixel(x, y, 0xff000000 | uint(XGetPixel(image, x, y)));
        }
        XDestroyImage(image);
        return read;
    }
    [[nodiscard]] Window root() const { return DefaultRootWindow(m_display); }

private:
    Display* m_display;
};

// Left half red, right half blue, a gradient down: a shift or a turn shows.
QImage twoHalves(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, x < size.width() / 2 ? qRgb(255, y * 8, 0) : qRgb(0, y * 8, 255));
    }
    return image;
}

// Where the pixels of an area differ from the picture laid side by side, or an empty text.
QString mismatch(const QImage& shown, const QImage& tile)
{
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb expected = tile.pixel(x % tile.width(), y % tile.height());
            if (shown.pixel(x, y) != expected)
                return QStringLiteral("(%1, %2) shows %3, not %4")
                    .arg(x)
                    .arg(y)
                    .arg(shown.pixel(x, y), 8, 16)
                    .arg(expected, 8, 16);
        }
    }
    return {};
}

QStringList backgrounds(const XSession& session)
{
    return QDir(session.configFolder() + QStringLiteral("/../.local/share/backgrounds"))
        .entryList(QDir::Files);
}

QImage background(const XSession& session, const QString& name)
{
    return QImage(session.configFolder() + QStringLiteral("/../.local/share/backgrounds/") + name)
        .convertToFormat(QImage::Format_RGB32);
}

} // namespace

class DesktopBackgroundTest : public QObject
{
    Q_OBJECT
private slots:
    void commandSetsRootWindow();
    void keyInTileWindowUnderOpenbox();
};

// With no desktop named, the X server tiles the half-drop repeat on the root window; the pixmap
// outlives the program, and the next setting frees it.
void DesktopBackgroundTest::commandSetsRootWindow()
{
    XSession session;
    QCOMPARE(session.start(), QString());
    QTemporaryDir folder;
    const QImage picture = twoHalves({21, 31});
    const QString path = QDir(folder.path()).filePath(QStringLiteral("halves.png"));
    QVERIFY(picture.save(path));
    const auto said = session.tool(QLatin1String(ProgramBinary),
                                   {QStringLiteral("--set-background"), path,
                                    QStringLiteral("--repeat"), QStringLiteral("half-drop")});
    QVERIFY2(said && said->contains(QStringLiteral("X display")), qPrintable(said.value_or("")));
    const QStringList kept = backgrounds(session);
    QCOMPARE(kept.size(), 1);
    QVERIFY2(said->contains(kept.front()), qPrintable(*said));
    const QImage tile = background(session, kept.front());
    QCOMPARE(tile.size(), QSize(42, 31));
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 21; ++x) {
            QCOMPARE(tile.pixel(x, y), picture.pixel(x, y));
            QCOMPARE(tile.pixel(21 + x, y), picture.pixel(x, (y + 31 - 15) % 31));
        }
    }

    const Reader reader(session.display());
    QVERIFY(reader.open());
    const Pixmap first = reader.pixmapNamed("_XROOTPMAP_ID");
    QVERIFY(first != None);
    QCOMPARE(reader.pixmapNamed("ESETROOT_PMAP_ID"), first);
    QVERIFY2(reader.exists(first), "the pixmap went with the program");
    const QString root = mismatch(reader.read(reader.root(), {400, 300}), tile);
    QVERIFY2(root.isEmpty(), qPrintable(root));

    QVERIFY(session.tool(QLatin1String(ProgramBinary),
                         {QStringLiteral("--set-background"), path, QStringLiteral("--repeat"),
                          QStringLiteral("mirror")}));
    const Pixmap second = reader.pixmapNamed("_XROOTPMAP_ID");
    QVERIFY(second != None && second != first);
    QVERIFY2(!reader.exists(first), "the previous background's pixmap was kept");
    QCOMPARE(backgrounds(session).size(), 2);
    const QImage mirrored = reader.read(second, {42, 62});
    QCOMPARE(mirrored.pixel(41, 61), picture.pixel(0, 0));
}

// D in the tile window of the real program, on openbox, sets the repeat on show.
void DesktopBackgroundTest::keyInTileWindowUnderOpenbox()
{
    XSession session;
    QCOMPARE(session.start(), QString());
    QCOMPARE(session.startWindowManager(), QString());
    QTemporaryDir folder;
    const QImage picture = twoHalves({24, 20});
    const QString path = QDir(folder.path()).filePath(QStringLiteral("halves.png"));
    QVERIFY(picture.save(path));
    QCOMPARE(session.startProgram(QLatin1String(ProgramBinary), {path}), QString());
    const auto main = session.waitForWindow([](WindowId) { return true; }, WaitMs);
    QVERIFY(main);
    const QPoint preview = session.geometry(*main).value_or(QRect()).topLeft() + PreviewCentre;
    // The preview shows the picture's red half left of its middle once it is loaded.
    QVERIFY(XSession::waitUntil(
        [&] {
            return near(session.screenshot().pixel(preview - QPoint(30, 0)), qRgb(255, 80, 0), 90);
        },
        WaitMs));
    QVERIFY(session.click(preview));
    const auto tile = session.waitForWindow(
        [&](WindowId window) {
            return window != *main && session.frameExtents(window).value_or(QMargins()).top() > 0;
        },
        WaitMs);
    QVERIFY2(tile, "no tile window opened");
    QVERIFY(session.activate(*tile));
    QVERIFY(session.key(QStringLiteral("r")));
    QVERIFY(session.key(QStringLiteral("d")));
    const Reader reader(session.display());
    QVERIFY(XSession::waitUntil(
        [&] {
            return reader.pixmapNamed("_XROOTPMAP_ID") != None && backgrounds(session).size() == 1;
        },
        WaitMs));
    const auto message = session.waitForWindow(
        [&](WindowId window) { return window != *main && window != *tile; }, WaitMs);
    QVERIFY2(message, "no message said what was set");
    const QImage tileFile = background(session, backgrounds(session).front());
    QCOMPARE(tileFile.size(), QSize(48, 20));
    const QString set =
        mismatch(reader.read(reader.pixmapNamed("_XROOTPMAP_ID"), tileFile.size()), tileFile);
    QVERIFY2(set.isEmpty(), qPrintable(set));
}

QTEST_GUILESS_MAIN(DesktopBackgroundTest)
#include "tst_desktopbackground.moc"
