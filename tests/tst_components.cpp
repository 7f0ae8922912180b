// The program's own controls: the tiling image pixel by pixel, the tray icon's flashing, the
// folder chooser, the image push button, the file list box and the three-state check box.

#include "layouts/Layouts.h"
#include "support/DataTable.h"
#include "support/TestPlatform.h"
#include "tile/TilingImage.h"
#include "widgets/FileListBox.h"
#include "widgets/FolderChooser.h"
#include "widgets/ImagePushButton.h"
#include "widgets/TrayIcon.h"
#include "widgets/TriStateBox.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace zelvo;

namespace {

// Every pixel differs from its neighbours, so a shift by one pixel anywhere shows.
[[nodiscard]] QImage distinctPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             qRgb((x * 47 + 11) % 256, (y * 83 + 5) % 256, (x + y) * 29 % 256));
    }
    return picture;
}

// What one device pixel of the tiled area must show.
[[nodiscard]] QRgb expectedPixel(const QImage& picture, int x, int y, QColor ground)
{
    const QRgb source = picture.pixel(x % picture.width(), y % picture.height());
    return qAlpha(source) == 0 ? ground.rgb() : (source | 0xFF000000u);
}

// The first device pixel that differs, as text, or an empty string.
[[nodiscard]] QString firstDifference(const QImage& rendered, const QImage& picture, QColor ground,
                                      QRect area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb got = rendered.pixel(x, y) | 0xFF000000u;
            const QRgb want = expectedPixel(picture, x, y, ground);
            if (got != want) {
                return QStringLiteral("device pixel %1,%2 is #%3, expected #%4")
                    .arg(x)
                    .arg(y)
                    .arg(got & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(want & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            }
        }
    }
    return {};
}

[[nodiscard]] QImage renderAt(QWidget& widget, qreal ratio)
{
    const QSize device(int(std::ceil(widget.width() * ratio)),
                       int(std::ceil(widget.height() * ratio)));
    QImage image(device, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    widget.render(&image);
    return image;
}

[[nodiscard]] bool makeFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

[[nodiscard]] QStringList listed(const FileListBox& box)
{
    QStringList names;
    for (int row = 0; row < box.model()->rowCount(); ++row)
        names.append(box.model()->index(row, 0).data().toString());
    return names;
}

// A file list box on screen over a folder of empty files, with the clicks it notifies and the
// name selected at each.
struct ShownFileList
{
    explicit ShownFileList(const QStringList& names)
    {
        for (const QString& name : names)
            made = made && makeFile(folder.filePath(name));
        box->setGeometry(0, 0, 134, 134);
        box->setPattern(QStringLiteral("*.bmp"));
        made = made && box->setPath(folder.path());
        window.show();
        QObject::connect(box, &FileListBox::clicked, box,
                         [this] { namesAtClick.append(box->fileName()); });
    }

    // Shown, with what showing it notified forgotten.
    [[nodiscard]] bool ready()
    {
        const bool shown = made && QTest::qWaitForWindowExposed(&window);
        namesAtClick.clear();
        return shown;
    }
    [[nodiscard]] QPoint onRow(int row) const
    {
        return box->visualRect(box->model()->index(row, 0)).center();
    }

    QTemporaryDir folder;
    QWidget window;
    FileListBox* box = new FileListBox(&window);
    QStringList namesAtClick;
    bool made = true;
};

} // namespace

class TestComponents : public QObject
{
    Q_OBJECT

private slots:
    void tilingRepeatsPicture_data();
    void tilingRepeatsPicture();
    void tilingShowsGroundThroughTransparency();
    void tilingPartialRepaintMatchesFull();
    void tilingFollowsResize();
    void tilingWithoutPictureShowsGround();

    void trayFlashAlternatesAtInterval();
    void trayClickNotifies();

    void folderChooserKeepsConfirmedFolder();

    void imageButtonClicksOncePerClick();
    void imageButtonDrawsItsPictureAtItsSize();

    void fileListListsMatchingFiles();
    void fileListMissingFolderChangesNothing();
    void fileListPathChangeOnRealChangeOnly();
    void fileListKeyboardMovesClick_data();
    void fileListKeyboardMovesClick();
    void fileListMouseClickClicksOnce();
    void fileListOtherButtonsSelectNothing_data();
    void fileListOtherButtonsSelectNothing();
    void fileListDragSelectNotifiesEachName();
    void fileListOtherFolderStartsUnselected();
    void fileListRefreshKeepsOrDropsSelection();

    void triStateBoxValues();
    void triStateBoxUserClicks();
};

void TestComponents::tilingRepeatsPicture_data()
{
    test::addColumns<QSize, QSize, qreal>("picture", "widget", "ratio");

    QTest::newRow("smaller than the widget") << QSize(16, 12) << QSize(70, 50) << qreal(1);
    QTest::newRow("equal to the widget") << QSize(40, 30) << QSize(40, 30) << qreal(1);
    QTest::newRow("larger than the widget") << QSize(90, 75) << QSize(41, 33) << qreal(1);
    QTest::newRow("odd 7x5") << QSize(7, 5) << QSize(101, 67) << qreal(1);
    QTest::newRow("single pixel") << QSize(1, 1) << QSize(23, 19) << qreal(1);
    QTest::newRow("wide strip") << QSize(130, 3) << QSize(200, 20) << qreal(1);
    QTest::newRow("odd 7x5 at ratio 2") << QSize(7, 5) << QSize(45, 31) << qreal(2);
    QTest::newRow("larger at ratio 2") << QSize(90, 75) << QSize(41, 33) << qreal(2);
    QTest::newRow("odd 7x5 at ratio 1.5") << QSize(7, 5) << QSize(40, 30) << qreal(1.5);
    QTest::newRow("single pixel at ratio 1.5") << QSize(1, 1) << QSize(21, 13) << qreal(1.5);
    // At 1.25 a window's size in device pixels is whole: widths and heights divisible by 4.
    QTest::newRow("odd 7x5 at ratio 1.25") << QSize(7, 5) << QSize(40, 32) << qreal(1.25);
    QTest::newRow("larger at ratio 1.25") << QSize(90, 75) << QSize(44, 36) << qreal(1.25);
}

void TestComponents::tilingRepeatsPicture()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, widget);
    QFETCH(qreal, ratio);

    const QImage source = distinctPicture(picture.width(), picture.height());
    TilingImage tiling;
    tiling.resize(widget);
    tiling.setPicture(source);
    const QImage rendered = renderAt(tiling, ratio);
    const QString difference =
        firstDifference(rendered, source, tiling.palette().color(QPalette::Button),
                        QRect(QPoint(0, 0), rendered.size()));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestComponents::tilingShowsGroundThroughTransparency()
{
    QImage source = distinctPicture(9, 6);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) {
            if ((x + y) % 3 == 0)
                source.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    TilingImage tiling;
    tiling.resize(50, 40);
    QPalette palette = tiling.palette();
    palette.setColor(QPalette::Button, QColor(0x12, 0x34, 0x56));
    tiling.setPalette(palette);
    tiling.setPicture(source);

    const QImage rendered = renderAt(tiling, 1);
    QString difference =
        firstDifference(rendered, source, QColor(0x12, 0x34, 0x56), rendered.rect());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // A new face colour shows through at the next paint.
    palette.setColor(QPalette::Button, QColor(0xA0, 0xB0, 0xC0));
    tiling.setPalette(palette);
    const QImage repainted = renderAt(tiling, 1);
    difference = firstDifference(repainted, source, QColor(0xA0, 0xB0, 0xC0), repainted.rect());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestComponents::tilingPartialRepaintMatchesFull()
{
    const QImage source = distinctPicture(7, 5);
    TilingImage tiling;
    tiling.resize(80, 60);
    tiling.setPicture(source);
    const QColor ground = tiling.palette().color(QPalette::Button);

    for (const qreal ratio : {qreal(1), qreal(2), qreal(1.5)}) {
        for (const QRect part : {QRect(13, 9, 23, 17), QRect(1, 1, 1, 1), QRect(70, 50, 10, 10)}) {
            const QSize device(int(std::ceil(80 * ratio)), int(std::ceil(60 * ratio)));
            QImage image(device, QImage::Format_ARGB32_Premultiplied);
            image.setDevicePixelRatio(ratio);
            image.fill(Qt::magenta);
            tiling.render(&image, part.topLeft(), QRegion(part));
            const QRect painted(
                QPoint(int(std::ceil(part.left() * ratio)), int(std::ceil(part.top() * ratio))),
                QPoint(int(std::floor((part.right() + 1) * ratio)) - 1,
                       int(std::floor((part.bottom() + 1) * ratio)) - 1));
            const QString difference = firstDifference(image, source, ground, painted);
            QVERIFY2(difference.isEmpty(), qPrintable(QStringLiteral("ratio %1, part %2,%3: %4")
                                                          .arg(ratio)
                                                          .arg(part.x())
                                                          .arg(part.y())
                                                          .arg(difference)));
        }
    }
}

// What was drawn for the first size must not stand in for a larger one.
void TestComponents::tilingFollowsResize()
{
    const QImage source = distinctPicture(7, 5);
    TilingImage tiling;
    tiling.resize(100, 80);
    tiling.setPicture(source);
    QVERIFY(!renderAt(tiling, 1).isNull());
    tiling.resize(150, 120);
    const QImage rendered = renderAt(tiling, 1);
    const QString difference = firstDifference(
        rendered, source, tiling.palette().color(QPalette::Button), rendered.rect());
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestComponents::tilingWithoutPictureShowsGround()
{
    TilingImage tiling;
    tiling.resize(20, 10);
    const QImage rendered = renderAt(tiling, 1);
    const QRgb ground = tiling.palette().color(QPalette::Button).rgb();
    for (int y = 0; y < rendered.height(); ++y) {
        for (int x = 0; x < rendered.width(); ++x)
            QCOMPARE(rendered.pixel(x, y) | 0xFF000000u, ground);
    }
}

void TestComponents::trayFlashAlternatesAtInterval()
{
    TrayIcon tray;
    tray.setProperties(layout::MainWindowTray);
    QCOMPARE(tray.flashInterval(), 800);
    QVERIFY(!tray.flashEnabled());
    QVERIFY(!tray.showingFlashIcon());
    QCOMPARE(tray.toolTip(), QStringLiteral("The Image Zelvo"));

    QSignalSpy changes(&tray, &TrayIcon::iconChanged);
    tray.setFlashEnabled(true);
    // Not before the interval has passed...
    QVERIFY(!changes.wait(600));
    // ...then the flash icon, then the normal one again, and so on.
    QTRY_COMPARE_WITH_TIMEOUT(changes.size(), 1, 3000);
    QVERIFY(tray.showingFlashIcon());
    QVERIFY(changes.wait(3000));
    QCOMPARE(changes.size(), 2);
    QVERIFY(!tray.showingFlashIcon());
    QVERIFY(changes.wait(3000));
    QVERIFY(tray.showingFlashIcon());

    tray.setFlashEnabled(false);
    QVERIFY(!tray.showingFlashIcon());
    changes.clear();
    QVERIFY(!changes.wait(1200));
    QVERIFY(!tray.showingFlashIcon());
}

void TestComponents::trayClickNotifies()
{
    TrayIcon tray;
    tray.setProperties(layout::MainWindowTray);
    QSignalSpy clicks(&tray, &TrayIcon::clicked);
    tray.click();
    QCOMPARE(clicks.size(), 1);
    tray.click();
    QCOMPARE(clicks.size(), 2);

    layout::TrayIconProps disabled = layout::MainWindowTray;
    disabled.enabled = false;
    tray.setProperties(disabled);
    tray.click();
    QCOMPARE(clicks.size(), 2);
}

void TestComponents::folderChooserKeepsConfirmedFolder()
{
    test::TestPlatform platform;
    QWidget owner;
    FolderChooser chooser(platform, &owner);
    QCOMPARE(chooser.selectedFolder(), QString());

    platform.folderAnswers = {QStringLiteral("/pictures/sea"), std::nullopt,
                              QStringLiteral("/pictures/hills")};
    chooser.setStartFolder(QStringLiteral("/start here"));
    QVERIFY(chooser.browse());
    QCOMPARE(chooser.selectedFolder(), QStringLiteral("/pictures/sea"));

    chooser.setStartFolder(QStringLiteral("/pictures/sea"));
    QVERIFY(!chooser.browse());
    QCOMPARE(chooser.selectedFolder(), QStringLiteral("/pictures/sea"));

    QVERIFY(chooser.browse());
    QCOMPARE(chooser.selectedFolder(), QStringLiteral("/pictures/hills"));
    QCOMPARE(platform.chooserStarts,
             (QStringList{"/start here", "/pictures/sea", "/pictures/sea"}));
}

void TestComponents::imageButtonClicksOncePerClick()
{
    QWidget window;
    window.resize(200, 100);
    auto* button = new ImagePushButton(&window);
    button->setGeometry(10, 10, 73, 27);
    QPixmap face(97, 23);
    face.fill(Qt::darkBlue);
    button->setPicture(face);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.size(), 1);
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(clicks.size(), 2);

    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks.size(), 3);

    // Pressed on the button, released off it: no click.
    QTest::mousePress(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(150, 60));
    QCOMPARE(clicks.size(), 3);

    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks.size(), 3);
}

// A picture a little larger than the face, as Apply's is, is centred and cut at the face, never
// shrunk and smoothed into it.
void TestComponents::imageButtonDrawsItsPictureAtItsSize()
{
    ImagePushButton button;
    button.resize(65, 41);
    QImage picture(62, 43, QImage::Format_RGB32);
    for (int x = 0; x < picture.width(); ++x) {
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel(x, y, x % 2 == 0 ? qRgb(0, 255, 128) : qRgb(71, 71, 71));
    }
    button.setPicture(QPixmap::fromImage(picture));
    const QImage drawn = button.grab().toImage();
    for (int x = 0; x < picture.width(); ++x)
        QCOMPARE(drawn.pixel(x + 2, 20), picture.pixel(x, 21));
}

void TestComponents::fileListListsMatchingFiles()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    for (const char* name : {"b.bmp", "A.bmp", "c.GIF", "notes.txt", ".hidden.bmp", "&"})
        QVERIFY(makeFile(folder.filePath(QLatin1String(name))));
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub.bmp")));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("b.bmp")),
                        folder.filePath(QStringLiteral("link.bmp"))));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("sub.bmp")),
                        folder.filePath(QStringLiteral("dirlink.bmp"))));
    QVERIFY(QFile::link(folder.filePath(QStringLiteral("gone")),
                        folder.filePath(QStringLiteral("dangling.bmp"))));

    FileListBox box;
    box.setPattern(QStringLiteral("*.bmp;*.gif;"));
    QVERIFY(box.setPath(folder.path()));
    QCOMPARE(listed(box), (QStringList{"A.bmp", "b.bmp", "c.GIF", "link.bmp"}));
    QCOMPARE(box.listCount(), 4);
    QCOMPARE(box.fileName(), QString());

    box.setPattern(QStringLiteral("&;&;*.vuq"));
    QCOMPARE(listed(box), QStringList{"&"});
    box.setPattern(QStringLiteral("*.vuq"));
    QCOMPARE(box.listCount(), 0);
}

void TestComponents::fileListMissingFolderChangesNothing()
{
    QTemporaryDir folder;
    QVERIFY(makeFile(folder.filePath(QStringLiteral("a.bmp"))));
    FileListBox box;
    box.setPattern(QStringLiteral("*.bmp"));
    QVERIFY(box.setPath(folder.path()));
    box.setFileName(QStringLiteral("a.bmp"));

    QSignalSpy pathChanges(&box, &FileListBox::pathChanged);
    QSignalSpy clicks(&box, &FileListBox::clicked);
    QVERIFY(!box.setPath(folder.filePath(QStringLiteral("missing"))));
    QVERIFY(!box.setPath(folder.filePath(QStringLiteral("a.bmp"))));
    QVERIFY(!box.setPath(QString()));
    QCOMPARE(box.path(), folder.path());
    QCOMPARE(listed(box), QStringList{"a.bmp"});
    QCOMPARE(box.fileName(), QStringLiteral("a.bmp"));
    QCOMPARE(pathChanges.size(), 0);
    QCOMPARE(clicks.size(), 0);
}

void TestComponents::fileListPathChangeOnRealChangeOnly()
{
    QTemporaryDir first;
    QTemporaryDir second;
    FileListBox box;
    QSignalSpy pathChanges(&box, &FileListBox::pathChanged);

    QVERIFY(box.setPath(first.path()));
    QCOMPARE(pathChanges.size(), 1);
    QVERIFY(box.setPath(first.path()));
    QCOMPARE(pathChanges.size(), 1);
    QVERIFY(box.setPath(first.path() + QLatin1Char('/')));
    QCOMPARE(pathChanges.size(), 1);
    QVERIFY(box.setPath(second.path()));
    QCOMPARE(pathChanges.size(), 2);
    QCOMPARE(box.path(), second.path());
    box.setPattern(QStringLiteral("*.gif"));
    box.refresh();
    QCOMPARE(pathChanges.size(), 2);
}

void TestComponents::fileListKeyboardMovesClick_data()
{
    test::addColumns<QString, int, QString>("start", "key", "expected");

    QTest::newRow("Down") << "f01.bmp" << int(Qt::Key_Down) << "f02.bmp";
    QTest::newRow("Up") << "f05.bmp" << int(Qt::Key_Up) << "f04.bmp";
    QTest::newRow("End") << "f01.bmp" << int(Qt::Key_End) << "f40.bmp";
    QTest::newRow("Home") << "f20.bmp" << int(Qt::Key_Home) << "f01.bmp";
    QTest::newRow("PageDown") << "f01.bmp" << int(Qt::Key_PageDown) << "";
    QTest::newRow("PageUp") << "f40.bmp" << int(Qt::Key_PageUp) << "";
}

void TestComponents::fileListKeyboardMovesClick()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, expected);

    QStringList names;
    for (int i = 1; i <= 40; ++i)
        names.append(QStringLiteral("f%1.bmp").arg(i, 2, 10, QLatin1Char('0')));
    ShownFileList list(names);
    QVERIFY(list.ready());
    FileListBox* box = list.box;
    box->setFocus();
    box->setFileName(start);
    QCOMPARE(box->fileName(), start);

    QSignalSpy clicks(box, &FileListBox::clicked);
    QTest::keyClick(box, Qt::Key(key));
    QCOMPARE(clicks.size(), 1);
    QVERIFY(box->fileName() != start);
    if (!expected.isEmpty())
        QCOMPARE(box->fileName(), expected);
    // When the click is notified, the new name is already the selected one.
    QCOMPARE(list.namesAtClick, QStringList{box->fileName()});

    // A key that does not move the selection notifies nothing.
    box->setFileName(QStringLiteral("f40.bmp"));
    clicks.clear();
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(clicks.size(), 0);
    QCOMPARE(box->fileName(), QStringLiteral("f40.bmp"));
}

void TestComponents::fileListMouseClickClicksOnce()
{
    ShownFileList list({"a.bmp", "b.bmp", "c.bmp"});
    QVERIFY(list.ready());
    QSignalSpy clicks(list.box, &FileListBox::clicked);
    QTest::mouseClick(list.box->viewport(), Qt::LeftButton, {}, list.onRow(1));
    QCOMPARE(clicks.size(), 1);
    QCOMPARE(list.box->fileName(), QStringLiteral("b.bmp"));
    QCOMPARE(list.namesAtClick, QStringList{"b.bmp"});

    // A click on the name already selected is a click all the same; a double click is one.
    QTest::mouseClick(list.box->viewport(), Qt::LeftButton, {}, list.onRow(1));
    QCOMPARE(clicks.size(), 2);
    QTest::mouseClick(list.box->viewport(), Qt::LeftButton, {}, list.onRow(1));
    QTest::mouseDClick(list.box->viewport(), Qt::LeftButton, {}, list.onRow(1));
    QTest::mouseRelease(list.box->viewport(), Qt::LeftButton, {}, list.onRow(1));
    QCOMPARE(clicks.size(), 3);

    QTest::mouseClick(list.box->viewport(), Qt::LeftButton, {}, list.onRow(2));
    QCOMPARE(clicks.size(), 4);
    QCOMPARE(list.box->fileName(), QStringLiteral("c.bmp"));
}

void TestComponents::fileListOtherButtonsSelectNothing_data()
{
    test::addRows<Qt::MouseButton>("button",
                                   {{"right", Qt::RightButton}, {"middle", Qt::MiddleButton}});
}

// Only the left button selects, so the name the program last heard of stays selected.
void TestComponents::fileListOtherButtonsSelectNothing()
{
    QFETCH(const Qt::MouseButton, button);
    ShownFileList list({"a.bmp", "b.bmp", "c.bmp"});
    QVERIFY(list.ready());
    list.box->setFileName(QStringLiteral("a.bmp"));
    QSignalSpy clicks(list.box, &FileListBox::clicked);
    QWidget* viewport = list.box->viewport();

    QTest::mouseClick(viewport, button, {}, list.onRow(1));
    QTest::mouseDClick(viewport, button, {}, list.onRow(2));
    QTest::mousePress(viewport, button, {}, list.onRow(1));
    QMouseEvent held(QEvent::MouseMove, list.onRow(2), viewport->mapToGlobal(list.onRow(2)),
                     Qt::NoButton, button, {});
    QApplication::sendEvent(viewport, &held);
    QTest::mouseRelease(viewport, button, {}, list.onRow(2));

    QCOMPARE(list.box->fileName(), QStringLiteral("a.bmp"));
    QCOMPARE(clicks.size(), 0);
}

// Pressed on one name and released on another, the selection follows the pointer, each name it
// selects notified once.
void TestComponents::fileListDragSelectNotifiesEachName()
{
    ShownFileList list({"a.bmp", "b.bmp", "c.bmp"});
    QVERIFY(list.ready());
    list.box->setFileName(QStringLiteral("b.bmp"));
    QWidget* viewport = list.box->viewport();

    QTest::mousePress(viewport, Qt::LeftButton, {}, list.onRow(0));
    for (const int row : {1, 2}) {
        QMouseEvent drag(QEvent::MouseMove, list.onRow(row), viewport->mapToGlobal(list.onRow(row)),
                         Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &drag);
    }
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, list.onRow(2));

    QCOMPARE(list.box->fileName(), QStringLiteral("c.bmp"));
    QCOMPARE(list.namesAtClick, (QStringList{"a.bmp", "b.bmp", "c.bmp"}));
}

// A name selected in one folder is another file in the next: the new list starts unselected,
// while re-reading the same folder keeps the selection.
void TestComponents::fileListOtherFolderStartsUnselected()
{
    QTemporaryDir other;
    QVERIFY(makeFile(other.filePath(QStringLiteral("a.bmp"))));
    ShownFileList list({"a.bmp", "b.bmp"});
    QVERIFY(list.ready());
    list.box->setFileName(QStringLiteral("a.bmp"));
    QSignalSpy clicks(list.box, &FileListBox::clicked);

    QVERIFY(list.box->setPath(list.folder.path()));
    QCOMPARE(list.box->fileName(), QStringLiteral("a.bmp"));
    QVERIFY(list.box->setPath(other.path()));
    QCOMPARE(listed(*list.box), QStringList{"a.bmp"});
    QCOMPARE(list.box->fileName(), QString());
    QCOMPARE(clicks.size(), 0);
}

void TestComponents::fileListRefreshKeepsOrDropsSelection()
{
    QTemporaryDir folder;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        QVERIFY(makeFile(folder.filePath(QLatin1String(name))));
    FileListBox box;
    box.setPattern(QStringLiteral("*.bmp"));
    QVERIFY(box.setPath(folder.path()));
    box.setFileName(QStringLiteral("b.bmp"));
    QSignalSpy clicks(&box, &FileListBox::clicked);

    QVERIFY(makeFile(folder.filePath(QStringLiteral("0.bmp"))));
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("c.bmp"))));
    box.refresh();
    QCOMPARE(listed(box), (QStringList{"0.bmp", "a.bmp", "b.bmp"}));
    QCOMPARE(box.fileName(), QStringLiteral("b.bmp"));

    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("b.bmp"))));
    box.refresh();
    QCOMPARE(listed(box), (QStringList{"0.bmp", "a.bmp"}));
    QCOMPARE(box.fileName(), QString());
    QCOMPARE(clicks.size(), 0);

    box.setFileName(QStringLiteral("a.bmp"));
    QCOMPARE(box.fileName(), QStringLiteral("a.bmp"));
    box.setFileName(QString());
    QCOMPARE(box.fileName(), QString());
    box.setFileName(QStringLiteral("not listed.bmp"));
    QCOMPARE(box.fileName(), QString());
    QCOMPARE(clicks.size(), 0);
}

void TestComponents::triStateBoxValues()
{
    TriStateBox box;
    for (const int value : {0, 1, 2, 1, 0, 2, 0}) {
        box.setValue(value);
        QCOMPARE(box.value(), value);
    }
}

void TestComponents::triStateBoxUserClicks()
{
    QWidget window;
    auto* box = new TriStateBox(QStringLiteral("Bitmap"), &window);
    box->setGeometry(10, 10, 57, 25);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStyleOptionButton option;
    option.initFrom(box);
    const QPoint indicator =
        box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box).center();

    box->setValue(2);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 1);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, indicator);
    QCOMPARE(box->value(), 1);
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->value(), 0);

    // The program may still put it in the grayed state.
    box->setValue(2);
    QCOMPARE(box->value(), 2);
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->value(), 1);
}

QTEST_MAIN(TestComponents)

#include "tst_components.moc"
