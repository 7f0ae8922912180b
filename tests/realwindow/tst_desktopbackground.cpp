// The desktop background the program sets on a bare X11 session: the root window's pixmap, read
// back from a private X server as another client sees it, after the program has ended.

#include "XSession.h"
#include "support/Pictures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

using namespace zelvo::realwindow;

namespace {

constexpr int WaitMs = 20000;
// The preview in the main window's client area.
const QPoint PreviewCentre(304 + 67, 96 + 67);

// The pixmap a property of the root window names, or none, as xprop reads it.
Pixmap pixmapNamed(const XSession& session, const char* property)
{
    const auto said = session.tool(QStringLiteral("xprop"), {"-root", QLatin1String(property)});
    return said ? said->section(QLatin1Char('#'), 1).trimmed().toULong(nullptr, 16) : None;
}

// The pixels of a pixmap, or of the root window, as a second client reads them; a null picture
// for a pixmap that is gone.
QImage readBack(const XSession& session, QSize size, Drawable drawable = None)
{
    Display* display = XOpenDisplay(qPrintable(session.display()));
    if (!display)
        return {};
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XImage* image = XGetImage(display, drawable ? drawable : DefaultRootWindow(display), 0, 0,
                              unsigned(size.width()), unsigned(size.height()), AllPlanes, ZPixmap);
    QImage read(size, QImage::Format_RGB32);
    for (int y = 0; image && y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            read.setPixel(x, y, 0xff000000 | uint(XGetPixel(image, x, y)));
    }
    if (image)
        XDestroyImage(image);
    XCloseDisplay(display);
    return image ? read : QImage();
}

// The pictures in the session's backgrounds folder.
QList<QImage> backgrounds(const XSession& session)
{
    const QDir folder(session.configFolder() + QStringLiteral("/../.local/share/backgrounds"));
    QList<QImage> pictures;
    for (const QString& name : folder.entryList(QDir::Files))
        pictures.append(QImage(folder.filePath(name)).convertToFormat(QImage::Format_RGB32));
    return pictures;
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
    const QImage picture = zelvo::test::patternedPicture({21, 31});
    const QString path = QDir(folder.path()).filePath(QStringLiteral("halves.png"));
    QVERIFY(picture.save(path));
    const auto setTo = [&](const char* repeat) {
        return session.tool(QStringLiteral(ZELVO_BINARY),
                            {QStringLiteral("--set-background"), path, QStringLiteral("--repeat"),
                             QLatin1String(repeat)});
    };
    QVERIFY(setTo("half-drop").value_or(QString()).contains(QStringLiteral("X display")));
    const QImage tile = backgrounds(session).value(0);
    QCOMPARE(tile.size(), QSize(42, 31));

    const Pixmap first = pixmapNamed(session, "_XROOTPMAP_ID");
    QVERIFY(first != None);
    QCOMPARE(pixmapNamed(session, "ESETROOT_PMAP_ID"), first);
    QVERIFY2(!readBack(session, {1, 1}, first).isNull(), "the pixmap went with the program");
    QCOMPARE(readBack(session, {400, 300}), zelvo::test::laidSideBySide(tile, {400, 300}));

    QVERIFY(setTo("mirror"));
    const Pixmap second = pixmapNamed(session, "_XROOTPMAP_ID");
    QVERIFY(second != None && second != first);
    QVERIFY2(readBack(session, {1, 1}, first).isNull(),
             "the previous background's pixmap was kept");
    QCOMPARE(backgrounds(session).size(), 2);
    QCOMPARE(readBack(session, {42, 62}, second).pixel(41, 61), picture.pixel(0, 0));
}

// D in the tile window of the real program, on openbox, sets the repeat on show.
void DesktopBackgroundTest::keyInTileWindowUnderOpenbox()
{
    XSession session;
    QCOMPARE(session.start(), QString());
    QCOMPARE(session.startWindowManager(), QString());
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("halves.png"));
    QVERIFY(zelvo::test::solidPicture({24, 20}, Qt::red).save(path));
    QCOMPARE(session.startProgram(QStringLiteral(ZELVO_BINARY), {path}), QString());
    const auto main = session.waitForWindow([](WindowId) { return true; }, WaitMs);
    QVERIFY(main);
    const QPoint preview = session.geometry(*main).value_or(QRect()).topLeft() + PreviewCentre;
    // The preview shows the picture once it is loaded.
    QVERIFY(XSession::waitUntil(
        [&] { return session.screenshot().pixel(preview) == qRgb(255, 0, 0); }, WaitMs));
    QVERIFY(session.click(preview));
    const auto tile = session.waitForWindow(
        [&](WindowId window) {
            return window != *main && session.frameExtents(window).value_or(QMargins()).top() > 0;
        },
        WaitMs);
    QVERIFY2(tile, "no tile window opened");
    QVERIFY(session.activate(*tile));
    QVERIFY(session.key(QStringLiteral("r")) && session.key(QStringLiteral("d")));
    QVERIFY(XSession::waitUntil(
        [&] {
            return pixmapNamed(session, "_XROOTPMAP_ID") != None &&
                   backgrounds(session).size() == 1;
        },
        WaitMs));
    QVERIFY2(session.waitForWindow(
                 [&](WindowId window) { return window != *main && window != *tile; }, WaitMs),
             "no message said what was set");
    const QImage tileFile = backgrounds(session).front();
    QCOMPARE(tileFile.size(), QSize(48, 20));
    QCOMPARE(readBack(session, tileFile.size(), pixmapNamed(session, "_XROOTPMAP_ID")), tileFile);
}

QTEST_GUILESS_MAIN(DesktopBackgroundTest)
#include "tst_desktopbackground.moc"
