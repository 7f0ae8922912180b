// The tile window as a workbench: the rules for zoom, keys, stepping, seams and drops, and what
// the keys, the drops and a new version of the file do in the windows.

#include "app/PictureDrop.h"
#include "core/SeamRule.h"
#include "core/StepRule.h"
#include "core/ZoomRule.h"
#include "pictures/PictureWatch.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "tile/TileWorkbench.h"
#include "tile/ZoomedTile.h"
#include "widgets/AutoLabel.h"
#include "widgets/FolderChooser.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace zelvo;
using test::Session;

Q_DECLARE_METATYPE(zelvo::Step)

namespace {

QImage periodic(QSize size, int period)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double phase = 2 * M_PI * (x + 2 * y) / period;
            const int level = int(127.5 + 127.5 * std::sin(phase));
            image.setPixel(x, y, qRgb(level, 255 - level, 90));
        }
    }
    return image;
}

QImage gradient(QSize size, Qt::Orientation along)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const int level = along == Qt::Horizontal ? x * 255 / (size.width() - 1)
                                                      : y * 255 / (size.height() - 1);
            image.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return image;
}

QImage noise(QSize size)
{
    QRandomGenerator random(7);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random.generate() | 0xff000000u);
    }
    return image;
}

QImage rgb32(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// Three pictures listed in this order, each of its own solid colour.
struct ThreePictures
{
    QTemporaryDir dir;
    const QStringList names{QStringLiteral("a.bmp"), QStringLiteral("b.bmp"),
                            QStringLiteral("c.bmp")};
    const QList<QColor> colours{QColor(200, 0, 0), QColor(0, 150, 0), QColor(0, 0, 220)};
    bool ready = dir.isValid();

    explicit ThreePictures(Session& session)
    {
        for (int i = 0; i < 3 && ready; ++i)
            ready = test::writePicture(dir.path(), names[i], test::solidPicture({9, 7}, colours[i]),
                                       "BMP");
        if (!ready)
            return;
        test::browseTo(session, dir.path());
        ready = test::clickFile(*ui(session.main()).fileList, names[1]);
    }
};

QRgb previewCentre(Session& session)
{
    PictureBox& preview = *ui(session.main()).preview;
    return preview.grab().toImage().pixel(preview.rect().center());
}

// A key pressed in the tile window once the window system has made it the active window.
void key(TileWindow& tile, int key, Qt::KeyboardModifiers modifiers = {})
{
    (void)QTest::qWaitForWindowActive(&tile);
    QTest::keyClick(tile.printButton, Qt::Key(key), modifiers);
}

// Drops the URLs on the main window as a file manager would.
void drop(MainWindow& main, const QList<QUrl>& urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = main.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&main, &enter);
    if (!enter.isAccepted())
        return;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(&main, &dropped);
}

// Writes a new version of a file aside and renames it over the old one, as editors save.
bool saveOver(const QString& folder, const QString& name, const QImage& picture)
{
    const QString aside = QStringLiteral(".~") + name;
    QDir dir(folder);
    return test::writePicture(folder, aside, picture, "BMP") && dir.remove(name) &&
           dir.rename(aside, name);
}

} // namespace

class TestWorkbench : public QObject
{
    Q_OBJECT

private slots:
    void zoomSteps_data();
    void zoomSteps();
    void keys_data();
    void keys();
    void stepping_data();
    void stepping();
    void seams_data();
    void seams();
    void seamsWhereRepeatedCopiesMeet_data();
    void seamsWhereRepeatedCopiesMeet();
    void drops_data();
    void drops();
    void zoomedTile_data();
    void zoomedTile();
    void zoomAtDeviceRatios_data();
    void zoomAtDeviceRatios();

    void keys_closeZoomGuidesAndCopy();
    void keys_stepThroughTheList();
    void drop_pointsTheListAndPreviews();
    void newVersion_showsInPreviewAndTileWindow();
    void seamCheck_judgesTheWholePictureOfOneCutToTheWindow();
    void halfDropLoadsAllOfACutPictureAndThePreviewFollowsTheGround();
};

void TestWorkbench::zoomSteps_data()
{
    test::addColumns<int, int, int>("level", "in", "out");
    QTest::newRow("smallest") << 25 << 50 << 25;
    QTest::newRow("50") << 50 << 100 << 25;
    QTest::newRow("natural") << 100 << 200 << 50;
    QTest::newRow("200") << 200 << 300 << 100;
    QTest::newRow("300") << 300 << 400 << 200;
    QTest::newRow("400") << 400 << 800 << 300;
    QTest::newRow("largest") << 800 << 800 << 400;
    QTest::newRow("between steps") << 150 << 200 << 100;
}

void TestWorkbench::zoomSteps()
{
    QFETCH(int, level);
    QFETCH(int, in);
    QFETCH(int, out);
    QCOMPARE(zoomIn(level), in);
    QCOMPARE(zoomOut(level), out);
    if (level >= NaturalZoom && level % NaturalZoom == 0)
        QCOMPARE(zoomedLength(7, level), 7 * level / NaturalZoom);
    else if (level < NaturalZoom)
        QCOMPARE(zoomedLength(1, level), 1);
}

void TestWorkbench::keys_data()
{
    // The action a key runs in the tile window, "" for none.
    test::addColumns<int, Qt::KeyboardModifiers, QString>("key", "modifiers", "action");
    const Qt::KeyboardModifiers none;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << none << "close";
    QTest::newRow("+") << int(Qt::Key_Plus) << none << "zoomIn";
    QTest::newRow("= (+ without Shift)") << int(Qt::Key_Equal) << none << "zoomIn";
    QTest::newRow("Shift+G") << int(Qt::Key_G) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                             << "guides";
    QTest::newRow("keypad -") << int(Qt::Key_Minus) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                              << "zoomOut";
    QTest::newRow("0") << int(Qt::Key_0) << none << "zoomNatural";
    QTest::newRow("G") << int(Qt::Key_G) << none << "guides";
    QTest::newRow("S") << int(Qt::Key_S) << none << "seamCheck";
    QTest::newRow("Right") << int(Qt::Key_Right) << none << "next";
    QTest::newRow("Down") << int(Qt::Key_Down) << none << "next";
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << none << "next";
    QTest::newRow("Left") << int(Qt::Key_Left) << none << "previous";
    QTest::newRow("Up") << int(Qt::Key_Up) << none << "previous";
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << "previous";
    QTest::newRow("Home") << int(Qt::Key_Home) << none << "first";
    QTest::newRow("End") << int(Qt::Key_End) << none << "last";
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier)
                            << "copy";
    QTest::newRow("I") << int(Qt::Key_I) << none << "realSize";
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << Qt::KeyboardModifiers(Qt::ControlModifier)
                            << "printSwatch";
    QTest::newRow("C alone") << int(Qt::Key_C) << none << "";
    QTest::newRow("Ctrl+G") << int(Qt::Key_G) << Qt::KeyboardModifiers(Qt::ControlModifier) << "";
    QTest::newRow("Alt+Right") << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::AltModifier)
                               << "";
    QTest::newRow("Space presses Print") << int(Qt::Key_Space) << none << "";
}

// Pressed on the Print button, which has the focus, the keys reach the window's actions.
void TestWorkbench::keys()
{
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, action);
    Session session;
    session.startShown();
    TileWindow& tile = session.windows.get<TileWindow>();
    tile.show();
    tile.printButton->setFocus();
    QString triggered;
    for (QAction* each : tile.actions())
        connect(each, &QAction::triggered, each, [&, each] { triggered = each->objectName(); });
    ::key(tile, key, modifiers);
    QCOMPARE(triggered, action);
}

void TestWorkbench::stepping_data()
{
    test::addColumns<Step, int, int, int>("step", "current", "count", "row");
    QTest::newRow("next") << Step::Next << 1 << 4 << 2;
    QTest::newRow("next at the end stays") << Step::Next << 3 << 4 << 3;
    QTest::newRow("previous") << Step::Previous << 2 << 4 << 1;
    QTest::newRow("previous at the start stays") << Step::Previous << 0 << 4 << 0;
    QTest::newRow("first") << Step::First << 2 << 4 << 0;
    QTest::newRow("last") << Step::Last << 0 << 4 << 3;
    QTest::newRow("next with none selected") << Step::Next << -1 << 4 << 0;
    QTest::newRow("empty list") << Step::Next << -1 << 0 << -1;
}

void TestWorkbench::stepping()
{
    QFETCH(Step, step);
    QFETCH(int, current);
    QFETCH(int, count);
    QFETCH(int, row);
    QCOMPARE(steppedRow(step, current, count), row);
}

void TestWorkbench::seams_data()
{
    test::addColumns<QImage, bool, bool>("picture", "leftRight", "topBottom");
    QTest::newRow("periodic texture, whole periods") << periodic({64, 32}, 32) << false << false;
    QTest::newRow("periodic texture cut mid-period") << periodic({50, 32}, 32) << true << false;
    QTest::newRow("gradient left to right") << gradient({64, 40}, Qt::Horizontal) << true << false;
    QTest::newRow("gradient top to bottom") << gradient({64, 40}, Qt::Vertical) << false << true;
    QTest::newRow("noise") << noise({48, 48}) << false << false;
    QTest::newRow("one pixel") << test::solidPicture({1, 1}, Qt::red) << false << false;
    QTest::newRow("one column of a gradient")
        << gradient({2, 40}, Qt::Vertical).copy(0, 0, 1, 40) << false << true;
    QTest::newRow("flat") << test::solidPicture({20, 20}, Qt::gray) << false << false;
}

void TestWorkbench::seams()
{
    QFETCH(QImage, picture);
    QFETCH(bool, leftRight);
    QFETCH(bool, topBottom);
    const SeamVerdict verdict = checkSeams(picture);
    QCOMPARE(verdict.leftRight, leftRight);
    QCOMPARE(verdict.topBottom, topBottom);
}

void TestWorkbench::seamsWhereRepeatedCopiesMeet_data()
{
    test::addColumns<QImage, Repeat, bool, bool>("picture", "repeat", "leftRight", "topBottom");
    QTest::newRow("mirror: each edge meets its mirror image")
        << gradient({64, 40}, Qt::Horizontal) << Repeat::Mirror << false << false;
    QTest::newRow("half-drop: right edges meet rows half a copy lower")
        << gradient({64, 40}, Qt::Vertical) << Repeat::HalfDrop << true << true;
    QTest::newRow("brick: rows meet half a copy over")
        << gradient({64, 40}, Qt::Horizontal) << Repeat::Brick << true << true;
}

void TestWorkbench::seamsWhereRepeatedCopiesMeet()
{
    QFETCH(QImage, picture);
    QFETCH(Repeat, repeat);
    QFETCH(bool, leftRight);
    QFETCH(bool, topBottom);
    QCOMPARE(checkSeams(picture, repeat), (SeamVerdict{leftRight, topBottom}));
}

void TestWorkbench::drops_data()
{
    test::addColumns<QString, QString, QString>("item", "folder", "fileName");
    QTest::newRow("a file") << "sub/p.bmp"
                            << "sub"
                            << "p.bmp";
    QTest::newRow("a folder") << "sub"
                              << "sub" << QString();
    QTest::newRow("a file that is gone") << "sub/gone.bmp" << QString() << QString();
    QTest::newRow("a web address") << "http://example.org/p.bmp" << QString() << QString();
}

void TestWorkbench::drops()
{
    QFETCH(QString, item);
    QFETCH(QString, folder);
    QFETCH(QString, fileName);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    QVERIFY(test::writeFile(dir.filePath(QStringLiteral("sub")), QStringLiteral("p.bmp"), "x"));
    const QUrl url = item.startsWith(QLatin1String("http"))
                         ? QUrl(item)
                         : QUrl::fromLocalFile(dir.filePath(item));
    const std::optional<DropTarget> target = dropTarget({url});
    if (folder.isEmpty()) {
        QVERIFY(!target);
        return;
    }
    QVERIFY(target);
    QCOMPARE(target->folder, dir.filePath(folder));
    QCOMPARE(target->fileName, fileName);
}

void TestWorkbench::zoomedTile_data()
{
    test::addColumns<int, bool>("zoom", "guides");
    QTest::newRow("natural") << 100 << false;
    QTest::newRow("200%") << 200 << false;
    QTest::newRow("300% with guides") << 300 << true;
    QTest::newRow("800%") << 800 << false;
    QTest::newRow("natural with guides") << 100 << true;
}

// Every picture pixel becomes a square of zoom/100 device pixels; the guides take the last
// column and row of each copy, in dashes of two colours, and nothing else.
void TestWorkbench::zoomedTile()
{
    QFETCH(int, zoom);
    QFETCH(bool, guides);
    const QImage picture = rgb32(test::patternedPicture({7, 5}));
    const int side = zoom / NaturalZoom;
    const QImage tile =
        zelvo::zoomedTile(picture, {.zoom = zoom, .guides = guides}, QSize(200, 150), 64);
    QVERIFY(tile.width() % (7 * side) == 0 && tile.height() % (5 * side) == 0);
    QSet<QRgb> guideColours;
    for (int y = 0; y < tile.height(); ++y) {
        for (int x = 0; x < tile.width(); ++x) {
            const bool onGuide = guides && ((x + 1) % (7 * side) == 0 || (y + 1) % (5 * side) == 0);
            if (onGuide) {
                guideColours.insert(tile.pixel(x, y));
                continue;
            }
            QCOMPARE(tile.pixel(x, y), picture.pixel((x / side) % 7, (y / side) % 5));
        }
    }
    if (guides)
        QCOMPARE(guideColours, (QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
    // Reductions are smoothed to the rounded size.
    const QImage reduced = zelvo::zoomedTile(picture, {.zoom = 25}, QSize(200, 150), 1);
    QCOMPARE(reduced.size(), QSize(2, 1));
}

void TestWorkbench::zoomAtDeviceRatios_data()
{
    test::addColumns<qreal, int>("ratio", "zoom");
    QTest::newRow("200% at 1.25") << qreal(1.25) << 200;
    QTest::newRow("300% at 1.5") << qreal(1.5) << 300;
    QTest::newRow("200% at 2") << qreal(2) << 200;
    QTest::newRow("800% at 1.5") << qreal(1.5) << 800;
}

// Each picture pixel is a square of zoom/100 device pixels, whatever the device pixel ratio.
void TestWorkbench::zoomAtDeviceRatios()
{
    QFETCH(qreal, ratio);
    QFETCH(int, zoom);
    const QImage picture = rgb32(test::patternedPicture({7, 5}));
    TilingImage tiling;
    tiling.resize(64, 48);
    tiling.setPicture(picture);
    tiling.setLook({.zoom = zoom});
    QImage rendered(QSize(80, 60), QImage::Format_RGB32);
    rendered.setDevicePixelRatio(ratio);
    tiling.render(&rendered);
    const int side = zoom / NaturalZoom;
    for (int y = 0; y < rendered.height(); ++y) {
        for (int x = 0; x < rendered.width(); ++x)
            QCOMPARE(rendered.pixel(x, y), picture.pixel((x / side) % 7, (y / side) % 5));
    }
}

// Until a key is pressed the window shows the picture as before; the keys then close it, zoom,
// draw the guides and copy the view.
void TestWorkbench::keys_closeZoomGuidesAndCopy()
{
    Session session;
    session.startShown();
    QTemporaryDir dir;
    // Steps of 40 across, with one of 240 from the last column to the first; steps of 3 down.
    QImage picture(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x)
            picture.setPixel(x, y, qRgb(x * 40, 100 + y * 3, 0));
    }
    QVERIFY(test::writePicture(dir.path(), QStringLiteral("p.bmp"), picture, "BMP"));
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(session.main()).fileList, QStringLiteral("p.bmp")));

    QImage natural;
    QImage zoomed;
    QImage guided;
    QImage marked;
    QImage copied;
    QString label;
    QString description;
    QString caption;
    QList<int> wheelZooms;
    bool closedByEsc = false;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QVERIFY(!tile.workbench->zoomLabel().isVisible());
        natural = tile.tiledView->grab(QRect(0, 0, 70, 50)).toImage();
        key(tile, Qt::Key_Plus);
        label = tile.workbench->zoomLabel().text();
        caption = tile.windowTitle();
        zoomed = tile.tiledView->grab(QRect(0, 0, 70, 50)).toImage();
        key(tile, Qt::Key_0);
        const auto wheel = [&](int angle, Qt::KeyboardModifiers modifiers) {
            const QPointF at(10, 10);
            QWheelEvent turned(at, tile.tiledView->mapToGlobal(at), {}, {0, angle}, Qt::NoButton,
                               modifiers, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(tile.tiledView, &turned);
            return tile.workbench->zoom();
        };
        wheelZooms = {wheel(120, Qt::ControlModifier), wheel(60, Qt::ControlModifier),
                      wheel(60, Qt::ControlModifier), wheel(-240, Qt::ControlModifier),
                      wheel(120, {})};
        key(tile, Qt::Key_0);
        key(tile, Qt::Key_G);
        guided = tile.tiledView->grab(QRect(0, 0, 70, 50)).toImage();
        key(tile, Qt::Key_S);
        if (QAccessibleInterface* view = QAccessible::queryAccessibleInterface(tile.tiledView))
            description = view->text(QAccessible::Description);
        marked = rgb32(tile.tiledView->grab(QRect(0, 0, 70, 50)).toImage());
        key(tile, Qt::Key_C, Qt::ControlModifier);
        copied = QGuiApplication::clipboard()->image();
        QVERIFY(QTest::qWaitFor([&] { return !tile.workbench->zoomLabel().isVisible(); }, 5000));
        key(tile, Qt::Key_Escape);
        closedByEsc = !session.windows.isLoaded<TileWindow>();
    }));
    QVERIFY(closedByEsc);
    QCOMPARE(caption, QStringLiteral("Zelvo"));
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 70; ++x) {
            QCOMPARE(rgb32(natural).pixel(x, y), picture.pixel(x % 7, y % 5));
            QCOMPARE(rgb32(zoomed).pixel(x, y), picture.pixel((x / 2) % 7, (y / 2) % 5));
        }
    }
    QCOMPARE(label, QStringLiteral("200%"));
    // Ctrl with the wheel steps a level a notch; the wheel alone does not zoom.
    QCOMPARE(wheelZooms, (QList<int>{200, 200, 300, 100, 100}));
    const QImage guide = rgb32(guided);
    QCOMPARE(guide.pixel(6, 0), qRgb(0, 0, 0));
    QCOMPARE(guide.pixel(6, 4), qRgb(255, 255, 255));
    QCOMPARE(guide.pixel(5, 0), picture.pixel(5, 0));
    QCOMPARE(description, QStringLiteral("Seams: left-right visible, top-bottom invisible"));
    // Bold marks on the right edges, over the guides there; none on the bottom edges.
    QVERIFY(marked.pixel(6, 1) != guide.pixel(6, 1) && marked.pixel(6, 1) != picture.pixel(6, 1));
    QCOMPARE(marked.pixel(2, 4), guide.pixel(2, 4));
    QCOMPARE(rgb32(copied).copy(0, 0, 70, 50), marked);
}

// Next and previous move the main window's selection, file label and preview, and the tile
// window follows; zoom stays as it was. A file that can no longer be read is stepped over, its
// name shown where the zoom level shows.
void TestWorkbench::keys_stepThroughTheList()
{
    Session session;
    session.startShown();
    ThreePictures three(session);
    QVERIFY(three.ready);
    QStringList selected;
    QList<QRgb> previews;
    QList<QRgb> tiles;
    int zoomAfter = 0;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        const auto note = [&] {
            (void)QTest::qWaitFor(
                [&] { return !tile.loading() && !session.main().previewLoading(); });
            selected.append(ui(session.main()).fileList->fileName());
            previews.append(previewCentre(session));
            tiles.append(tile.tiledView->grab(QRect(0, 0, 4, 4)).toImage().pixel(2, 2));
        };
        key(tile, Qt::Key_Plus);
        for (const int step : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Home, Qt::Key_End,
                               Qt::Key_PageUp}) {
            key(tile, step);
            note();
        }
        zoomAfter = tile.workbench->zoom();
        QVERIFY(test::writeFile(three.dir.path(), three.names[0], "damaged"));
        key(tile, Qt::Key_Home);
        note();
        QCOMPARE(tile.workbench->zoomLabel().text(), QStringLiteral("Skipped a.bmp"));
        QVERIFY(session.windows.isLoaded<TileWindow>() && tile.isVisible());
    }));
    const QStringList& n = three.names;
    QCOMPARE(selected, (QStringList{n[2], n[2], n[1], n[0], n[2], n[1], n[1]}));
    QList<QRgb> expected;
    for (const QString& name : selected)
        expected.append(three.colours[n.indexOf(name)].rgb());
    QCOMPARE(previews, expected);
    QCOMPARE(tiles, expected);
    QCOMPARE(zoomAfter, 200);
    QCOMPARE(session.platform.messages.size(), 0);
    QCOMPARE(ui(session.main()).fileLabel->caption().isEmpty(),
             ui(session.main()).fileList->fileName().isEmpty());
}

// A dropped file points the list at its folder and previews the file; a dropped folder only
// browses; a file the list does not show browses and selects nothing.
void TestWorkbench::drop_pointsTheListAndPreviews()
{
    Session session;
    session.startShown();
    ThreePictures three(session);
    QVERIFY(three.ready);
    QTemporaryDir other;
    QVERIFY(test::writePicture(other.path(), QStringLiteral("d.bmp"),
                               test::solidPicture({4, 4}, QColor(250, 200, 0)), "BMP"));
    QVERIFY(test::writeFile(other.path(), QStringLiteral("notes.txt"), "text"));
    MainWindow& main = session.main();
    QVERIFY(main.acceptDrops());

    drop(main, {QUrl::fromLocalFile(other.filePath(QStringLiteral("d.bmp")))});
    QCOMPARE(ui(main).folderChooser->selectedFolder(), other.path());
    QCOMPARE(test::listedNames(*ui(main).fileList), QStringList{QStringLiteral("d.bmp")});
    QCOMPARE(ui(main).fileList->fileName(), QStringLiteral("d.bmp"));
    QCOMPARE(ui(main).fileLabel->caption(), main.picturePath());
    QTRY_COMPARE(previewCentre(session), QColor(250, 200, 0).rgb());
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("1"));

    drop(main, {QUrl::fromLocalFile(three.dir.path())});
    QCOMPARE(ui(main).folderChooser->selectedFolder(), three.dir.path());
    QCOMPARE(ui(main).fileList->listCount(), 3);
    QCOMPARE(ui(main).fileList->fileName(), QString());

    drop(main, {QUrl::fromLocalFile(other.filePath(QStringLiteral("notes.txt")))});
    QCOMPARE(ui(main).folderChooser->selectedFolder(), other.path());
    QCOMPARE(ui(main).fileList->fileName(), QString());
    QVERIFY(ui(main).fileLabel->caption().isEmpty());
    QCOMPARE(session.platform.messages.size(), 0);

    QTemporaryDir empty;
    drop(main, {QUrl::fromLocalFile(empty.path())});
    QCOMPARE(session.platform.messages.size(), 1);
    QCOMPARE(session.platform.messages.last().title, QStringLiteral("No images found"));
}

// A new version written aside and renamed over the file shows in the preview and the tile
// window; a half-written one leaves the last good picture and the next good one shows.
void TestWorkbench::newVersion_showsInPreviewAndTileWindow()
{
    Session session;
    session.startShown();
    ThreePictures three(session);
    QVERIFY(three.ready);
    const QString folder = three.dir.path();
    const QString name = three.names[1];
    const QColor second(255, 128, 0);
    const QColor third(40, 40, 40);
    QList<QRgb> tileShown;
    QList<QRgb> previewShown;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        const auto tileCentre = [&] {
            return tile.tiledView->grab(QRect(0, 0, 4, 4)).toImage().pixel(2, 2);
        };
        QSignalSpy reloads(tile.workbench, &TileWorkbench::reloaded);
        QVERIFY(saveOver(folder, name, test::solidPicture({9, 7}, second)));
        QTRY_COMPARE_WITH_TIMEOUT(tileCentre(), second.rgb(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(previewCentre(session), second.rgb(), 5000);
        tileShown.append(tileCentre());
        previewShown.append(previewCentre(session));

        const QByteArray whole = test::encodedPicture(test::solidPicture({9, 7}, third), "BMP");
        QVERIFY(test::writeFile(folder, name, whole.left(20)));
        QTest::qWait(3 * PictureWatch::SettleMs);
        tileShown.append(tileCentre());
        previewShown.append(previewCentre(session));

        QVERIFY(test::writeFile(folder, name, whole));
        QTRY_COMPARE_WITH_TIMEOUT(tileCentre(), third.rgb(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(previewCentre(session), third.rgb(), 5000);
        QVERIFY(reloads.size() >= 2);
    }));
    QCOMPARE(tileShown, (QList<QRgb>{second.rgb(), second.rgb()}));
    QCOMPARE(previewShown, (QList<QRgb>{second.rgb(), second.rgb()}));
}

// Whole periods across 1200 pixels, cut mid-period where the Medium window ends.
void TestWorkbench::seamCheck_judgesTheWholePictureOfOneCutToTheWindow()
{
    Session session;
    session.startShown();
    QTemporaryDir dir;
    const QImage texture = periodic({1200, 48}, 48);
    QCOMPARE(checkSeams(texture.copy(0, 0, 800, 48)).leftRight, true);
    QVERIFY(test::writePicture(dir.path(), QStringLiteral("wide.bmp"), texture, "BMP"));
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(session.main()).fileList, QStringLiteral("wide.bmp")));
    QString description;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        key(tile, Qt::Key_S);
        // Judged once the whole of the picture is in memory.
        (void)QTest::qWaitFor([&] { return !tile.loading(); });
        description = tile.tiledView->accessibleDescription();
    }));
    QCOMPARE(description, QStringLiteral("Seams: left-right invisible, top-bottom invisible"));
}

// R to the half-drop lays a picture cut to the window's height so once all of it is in memory; B
// to the checkerboard shows in the preview too, until the tile window closes.
void TestWorkbench::halfDropLoadsAllOfACutPictureAndThePreviewFollowsTheGround()
{
    Session session;
    session.startShown();
    QTemporaryDir dir;
    QImage tall(40, 2000, QImage::Format_ARGB32);
    tall.fill(Qt::transparent);
    QVERIFY(test::writePicture(dir.path(), QStringLiteral("tall.png"), tall, "PNG"));
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(session.main()).fileList, QStringLiteral("tall.png")));
    const auto previewAt = [&](QPoint at) {
        return ui(session.main()).preview->grab().toImage().pixel(at);
    };
    const QRgb before = previewAt({20, 20});
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QTRY_VERIFY(!tile.loading() && tile.tiledView->picture().height() < 2000);
        key(tile, Qt::Key_R);
        QTRY_COMPARE(tile.tiledView->look().repeat, Repeat::HalfDrop);
        QCOMPARE(tile.tiledView->picture().height(), 2000);
        for (int i = 0; i < 3; ++i)
            key(tile, Qt::Key_B);
        QCOMPARE(previewAt({1, 1}), qRgb(0xcc, 0xcc, 0xcc));
        QCOMPARE(previewAt({9, 1}), qRgb(0x99, 0x99, 0x99));
    }));
    QCOMPARE(previewAt({20, 20}), before);
}

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
