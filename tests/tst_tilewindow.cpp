// The tile window opened from the main window's preview: its size from the stored flags, the
// picture repeated over it, its silent close on a picture that cannot be loaded, and its close
// on a press on the picture.

#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "widgets/AutoLabel.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;
using test::Session;

namespace {

const QString Absent = QStringLiteral("<absent>");

void putSize(const test::IsolatedSettings& iso, const char* key, const QString& value)
{
    if (value != Absent)
        iso.put("Size", key, value);
}

// The first place where `shown` differs from `picture` repeated from the top-left corner, or
// an empty text when it matches everywhere.
[[nodiscard]] QString tilingMismatch(const QImage& shown, const QImage& picture)
{
    const QImage tile = picture.convertToFormat(QImage::Format_RGB32);
    const QImage screen = shown.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < screen.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(screen.constScanLine(y));
        const auto* tileRow = reinterpret_cast<const QRgb*>(tile.constScanLine(y % tile.height()));
        for (int x = 0; x < screen.width(); ++x) {
            if (qRgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x])) !=
                qRgb(qRed(tileRow[x % tile.width()]), qGreen(tileRow[x % tile.width()]),
                     qBlue(tileRow[x % tile.width()]))) {
                return QStringLiteral("at %1,%2: shown %3, picture %4")
                    .arg(x)
                    .arg(y)
                    .arg(QColor(row[x]).name(), QColor(tileRow[x % tile.width()]).name());
            }
        }
    }
    return {};
}

} // namespace

class TestTileWindow : public QObject
{
    Q_OBJECT

private slots:
    void sizing_fromStoredFlags_data();
    void sizing_fromStoredFlags();
    void sizing_storedAfterStartUpWaitsForNextLoad();

    void activate_tilesPictureOverWindow_data();
    void activate_tilesPictureOverWindow();
    void activate_largePictureShownOnceFromTopLeft_data();
    void activate_largePictureShownOnceFromTopLeft();
    void activate_unloadablePictureClosesSilently_data();
    void activate_unloadablePictureClosesSilently();

    void picturePress_unloadsWindow_data();
    void picturePress_unloadsWindow();
    void printPress_keepsWindowOpen();
};

void TestTileWindow::sizing_fromStoredFlags_data()
{
    // "Small", "Mid" and "Big" as stored; the outer size, frame and title bar included, empty
    // when the layout's size holds.
    test::addColumns<QStringList, QSize, QPoint>("flags", "outer", "print");

    // 15 twips to the pixel: Medium 12000 x 8000, Print at 5640, 7200.
    const QSize medium(800, 533);
    const QPoint mediumPrint(376, 480);
    const QSize small(633, 420);
    const QPoint smallPrint(293, 367);
    const QSize large(1000, 700);
    const QPoint largePrint(476, 620);
    const QSize declared;

    QTest::newRow("nothing stored") << QStringList{Absent, Absent, Absent} << medium << mediumPrint;
    QTest::newRow("Small") << QStringList{"1", "0", "0"} << small << smallPrint;
    QTest::newRow("Medium") << QStringList{"0", "1", "0"} << medium << mediumPrint;
    QTest::newRow("Large") << QStringList{"0", "0", "1"} << large << largePrint;
    QTest::newRow("Small alone stored") << QStringList{"1", Absent, Absent} << small << smallPrint;
    QTest::newRow("Small and Big") << QStringList{"1", "0", "1"} << large << largePrint;
    QTest::newRow("Small and Mid") << QStringList{"1", "1", "0"} << medium << mediumPrint;
    QTest::newRow("all three") << QStringList{"1", "1", "1"} << large << largePrint;
    QTest::newRow("all 0") << QStringList{"0", "0", "0"} << declared << mediumPrint;
    QTest::newRow("0, absent, 0") << QStringList{"0", Absent, "0"} << declared << mediumPrint;
    QTest::newRow("Small with a space") << QStringList{" 1", "0", "0"} << declared << mediumPrint;
    QTest::newRow("unknown Mid, others absent")
        << QStringList{Absent, "x", Absent} << medium << mediumPrint;
    QTest::newRow("unknown Small, others absent")
        << QStringList{"x", Absent, Absent} << medium << mediumPrint;
    QTest::newRow("leading zero") << QStringList{Absent, Absent, "01"} << medium << mediumPrint;
    QTest::newRow("Big with unknown Mid") << QStringList{Absent, "yes", "1"} << large << largePrint;
}

void TestTileWindow::sizing_fromStoredFlags()
{
    QFETCH(QStringList, flags);
    QFETCH(QSize, outer);
    QFETCH(QPoint, print);
    // The layout's client area, 11910 x 7620 twips.
    const QSize declaredClient(794, 508);

    Session session;
    putSize(session.iso, "Small", flags[0]);
    putSize(session.iso, "Mid", flags[1]);
    putSize(session.iso, "Big", flags[2]);
    session.windows.start();

    // Loaded hidden at start-up, already sized.
    TileWindow& loaded = session.windows.get<TileWindow>();
    QVERIFY(!loaded.isVisible());
    if (outer.isValid())
        QCOMPARE(loaded.outerSize(), outer);
    else
        QCOMPARE(loaded.size(), declaredClient);
    QCOMPARE(loaded.printButton->pos(), print);

    const test::RedBitmapChosen chosen(session);
    QVERIFY(chosen.ready);
    QSize shownOuter;
    QSize shownFrame;
    QSize shownClient;
    QPoint shownPrint;
    QColor farCorner;
    const bool reached = test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        shownOuter = tile.outerSize();
        shownFrame = tile.frameGeometry().size();
        shownClient = tile.size();
        shownPrint = tile.printButton->pos();
        farCorner = tile.grab().toImage().pixelColor(tile.width() - 1, tile.height() - 1);
    });

    QVERIFY(reached);
    // The outer size is what the window system's frame holds; the client area is what is left.
    QCOMPARE(shownOuter, shownFrame);
    if (outer.isValid()) {
        QCOMPARE(shownOuter, outer);
        QVERIFY(shownClient.width() <= outer.width() && shownClient.height() <= outer.height());
    } else {
        QCOMPARE(shownClient, declaredClient);
    }
    QCOMPARE(shownPrint, print);
    // The picture covers the client area to its far corner.
    QCOMPARE(farCorner, QColor(Qt::red));
}

void TestTileWindow::sizing_storedAfterStartUpWaitsForNextLoad()
{
    Session session;
    session.windows.start();
    const test::RedBitmapChosen chosen(session);
    QVERIFY(chosen.ready);
    session.iso.put("Size", "Small", QStringLiteral("0"));
    session.iso.put("Size", "Mid", QStringLiteral("0"));
    session.iso.put("Size", "Big", QStringLiteral("1"));

    QSize first;
    QPoint firstPrint;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        first = tile.outerSize();
        firstPrint = tile.printButton->pos();
    }));
    QSize second;
    QPoint secondPrint;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        second = tile.outerSize();
        secondPrint = tile.printButton->pos();
    }));

    QCOMPARE(first, QSize(800, 533));
    QCOMPARE(firstPrint, QPoint(376, 480));
    QCOMPARE(second, QSize(1000, 700));
    QCOMPARE(secondPrint, QPoint(476, 620));
}

void TestTileWindow::activate_tilesPictureOverWindow_data()
{
    test::addColumns<QString, QByteArray, QImage, bool>("name", "format", "picture", "lossless");

    QImage fourColours = test::solidPicture({13, 7}, Qt::yellow);
    for (int x = 0; x < 13; ++x)
        fourColours.setPixel(x, x % 7, qRgb(200, 0, 0));
    fourColours.setPixel(0, 0, qRgb(0, 0, 90));
    fourColours.setPixel(12, 6, qRgb(0, 160, 0));

    QTest::newRow("bitmap 70 x 50")
        << "p.bmp" << QByteArray("BMP") << test::patternedPicture({70, 50}) << true;
    QTest::newRow("GIF 13 x 7") << "p.gif" << QByteArray("GIF") << fourColours << true;
    QTest::newRow("one pixel") << "p.bmp" << QByteArray("BMP")
                               << test::solidPicture({1, 1}, QColor(10, 20, 30)) << true;
    QTest::newRow("JPEG 64 x 48") << "p.jpg" << QByteArray("JPG")
                                  << test::patternedPicture({64, 48}) << false;
    QTest::newRow("strip wider than the window")
        << "p.bmp" << QByteArray("BMP") << test::patternedPicture({900, 3}) << true;
}

void TestTileWindow::activate_tilesPictureOverWindow()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QImage, picture);
    QFETCH(bool, lossless);

    Session session;
    session.windows.start();
    test::PictureChosen chosen(session, name, picture, format.constData());
    QVERIFY(chosen.ready);

    QImage loaded;
    QImage shown;
    QRect zelvo;
    QSize outer;
    bool printInFront = false;
    const bool reached = test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        loaded = tile.tiledView->picture();
        shown = tile.tiledView->grab().toImage();
        zelvo = tile.tiledView->geometry();
        outer = tile.outerSize();
        const QPoint onPrint = tile.printButton->geometry().center();
        printInFront = tile.printButton->isVisible() && tile.childAt(onPrint) == tile.printButton;
    });

    QVERIFY(reached);
    QCOMPARE(outer, QSize(800, 533));
    QCOMPARE(zelvo, QRect(QPoint(0, 0), outer));
    QCOMPARE(shown.size(), outer);
    const QSize expectedPicture = picture.size().boundedTo(outer);
    QCOMPARE(loaded.size(), expectedPicture);
    if (lossless) {
        QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32),
                 picture.copy(QRect(QPoint(0, 0), expectedPicture))
                     .convertToFormat(QImage::Format_RGB32));
    }
    const QString mismatch = tilingMismatch(shown, loaded);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
    QVERIFY(printInFront);
    QVERIFY(session.platform.messages.isEmpty());
}

void TestTileWindow::activate_largePictureShownOnceFromTopLeft_data()
{
    test::addColumns<QString, QString, QSize>("mid", "big", "outer");
    QTest::newRow("Medium") << "1"
                            << "0" << QSize(800, 533);
    QTest::newRow("Large") << "0"
                           << "1" << QSize(1000, 700);
}

void TestTileWindow::activate_largePictureShownOnceFromTopLeft()
{
    QFETCH(QString, mid);
    QFETCH(QString, big);
    QFETCH(QSize, outer);
    const QImage picture = test::patternedPicture({1200, 900});

    Session session;
    session.iso.put("Size", "Small", QStringLiteral("0"));
    session.iso.put("Size", "Mid", mid);
    session.iso.put("Size", "Big", big);
    session.windows.start();
    test::PictureChosen chosen(session, "large.bmp", picture, "BMP");
    QVERIFY(chosen.ready);

    QImage loaded;
    QImage shown;
    qreal ratio = 0;
    const bool reached = test::pressPreview(session, Qt::RightButton, [&](TileWindow& tile) {
        loaded = tile.tiledView->picture();
        shown = tile.tiledView->grab().toImage();
        ratio = tile.devicePixelRatioF();
    });

    QVERIFY(reached);
    QCOMPARE(ratio, 1.0);
    QVERIFY(loaded.width() <= outer.width() && loaded.height() <= outer.height());
    const QImage topLeft = picture.copy(QRect(QPoint(0, 0), loaded.size()));
    QCOMPARE(loaded.convertToFormat(QImage::Format_RGB32), topLeft);
    QCOMPARE(shown.size(), outer);
    QCOMPARE(shown.convertToFormat(QImage::Format_RGB32), picture.copy(QRect(QPoint(0, 0), outer)));
}

void TestTileWindow::activate_unloadablePictureClosesSilently_data()
{
    test::addColumns<QString, QByteArray, bool>("name", "content", "deletedAfterClick");
    const QImage blue = test::solidPicture({16, 16}, Qt::blue);
    QTest::newRow("deleted after listing")
        << "gone.bmp" << test::encodedPicture(blue, "BMP") << true;
    QTest::newRow("empty file") << "empty.jpg" << QByteArray() << false;
    QTest::newRow("empty bitmap") << "empty.bmp" << QByteArray() << false;
    QTest::newRow("PNG named bitmap") << "png.bmp" << test::encodedPicture(blue, "PNG") << false;
    QTest::newRow("text named GIF") << "text.gif" << QByteArray("GIF? no.\n") << false;
}

void TestTileWindow::activate_unloadablePictureClosesSilently()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, deletedAfterClick);

    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    const test::PictureChosen chosen(session, "good.bmp", test::solidPicture({8, 8}, Qt::red),
                                     "BMP", {{name, content}}, name);
    QVERIFY(chosen.ready);
    const QDir dir(chosen.dir.path());
    if (deletedAfterClick) {
        QVERIFY(!ui(main).preview->picture().isNull());
        QVERIFY(QFile::remove(dir.filePath(name)));
    } else {
        // The preview failed too; the preview press opens the tile window all the same.
        QVERIFY(ui(main).preview->picture().isNull());
    }
    QStringList listed = test::listedNames(*ui(main).fileList);
    const QString file = ui(main).fileLabel->caption();
    const qint64 preview = ui(main).preview->picture().cacheKey();
    test::ShowCounter tileShows(session.windows.get<TileWindow>());

    const bool reached = test::pressPreview(session, Qt::LeftButton);

    QCOMPARE(tileShows.shows, 1);
    QVERIFY(!reached);
    QVERIFY(!session.windows.isLoaded<TileWindow>());
    QVERIFY(session.platform.messages.isEmpty());
    QVERIFY(main.isVisible());
    QCOMPARE(ui(main).fileList->path(), dir.path());
    // Activation re-reads the folder: only a deleted file leaves the list.
    if (deletedAfterClick)
        listed.removeAll(name);
    QCOMPARE(test::listedNames(*ui(main).fileList), listed);
    // A file still listed stays selected and shown; a deleted one leaves nothing showing it.
    QCOMPARE(ui(main).fileList->fileName(), deletedAfterClick ? QString() : name);
    QCOMPARE(ui(main).fileLabel->caption(), deletedAfterClick ? QString() : file);
    if (deletedAfterClick)
        QVERIFY(ui(main).preview->picture().isNull());
    else
        QCOMPARE(ui(main).preview->picture().cacheKey(), preview);
}

void TestTileWindow::picturePress_unloadsWindow_data()
{
    test::addColumns<Qt::MouseButton, Qt::KeyboardModifiers, QPoint>("button", "modifiers", "at");
    QTest::newRow("left, top-left corner")
        << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(1, 1);
    QTest::newRow("right, middle")
        << Qt::RightButton << Qt::KeyboardModifiers() << QPoint(400, 250);
    QTest::newRow("middle with shift, right edge")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(795, 10);
    QTest::newRow("left with alt, bottom left")
        << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier) << QPoint(3, 528);
}

void TestTileWindow::picturePress_unloadsWindow()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, at);

    Session session;
    session.windows.start();
    const test::RedBitmapChosen chosen(session);
    QVERIFY(chosen.ready);

    QPointer<TileWindow> pressed;
    bool hiddenByPress = false;
    const bool reached = test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        pressed = &tile;
        QTest::mousePress(tile.tiledView, button, modifiers, at);
        hiddenByPress = !tile.isVisible() && !session.windows.isLoaded<TileWindow>();
        QTest::mouseRelease(tile.tiledView, button, modifiers, at);
    });

    QVERIFY(reached);
    QVERIFY(hiddenByPress);
    QVERIFY(!session.windows.isLoaded<TileWindow>());
    QTRY_VERIFY(pressed.isNull());

    // The next reference creates it afresh, sized from the flags stored now.
    session.iso.put("Size", "Small", QStringLiteral("1"));
    TileWindow& fresh = session.windows.get<TileWindow>();
    QVERIFY(session.windows.isLoaded<TileWindow>());
    QVERIFY(!fresh.isVisible());
    QCOMPARE(fresh.outerSize(), QSize(633, 420));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestTileWindow::printPress_keepsWindowOpen()
{
    Session session;
    session.platform.printer = [](const QImage&) { return true; };
    session.windows.start();
    const test::RedBitmapChosen chosen(session);
    QVERIFY(chosen.ready);

    bool openAfterPrint = false;
    bool printVisible = false;
    const bool reached = test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QTest::mouseClick(tile.printButton, Qt::LeftButton);
        QTest::mouseClick(tile.printButton, Qt::RightButton);
        openAfterPrint = tile.isVisible() && session.windows.isLoaded<TileWindow>();
        printVisible = tile.printButton->isVisible();
    });

    QVERIFY(reached);
    QVERIFY(openAfterPrint);
    QVERIFY(printVisible);
    QCOMPARE(session.platform.printed.size(), 1);
    QVERIFY(session.platform.messages.isEmpty());
    QVERIFY(!session.windows.isLoaded<TileWindow>());
}

QTEST_MAIN(TestTileWindow)
#include "tst_tilewindow.moc"
