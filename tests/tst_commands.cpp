// The main window's commands: the tray icon putting the program away and bringing it back over
// whichever window is open, the about box, dragging the borderless window by its title
// artwork, the help button and Exit.

#include "about/AboutBox.h"
#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/OptionsWindow.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/IsolatedSettings.h"
#include "support/MainWindowDriver.h"
#include "support/TestPlatform.h"
#include "tile/TileWindow.h"
#include "widgets/AutoLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/ImagePushButton.h"
#include "widgets/PictureBox.h"
#include "widgets/TrayIcon.h"
#include "widgets/TriStateBox.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <functional>

using namespace zelvo;

namespace {

// One run of the program on its own store.
struct Session : test::Session
{
    Session() { startShown(); }

    [[nodiscard]] bool flashing() { return ui(main()).tray->flashEnabled(); }
};

// A folder holding one readable picture, chosen through the browse button and selected.
struct SelectedPicture
{
    QTemporaryDir folder;

    bool selectIn(Session& s)
    {
        QImage picture(24, 16, QImage::Format_RGB32);
        picture.fill(Qt::darkMagenta);
        if (!folder.isValid() || !picture.save(folder.filePath(QStringLiteral("p.bmp")), "BMP"))
            return false;
        MainWindow& main = s.main();
        s.platform.folderAnswers.push_back(folder.path());
        main.browseForFolder();
        ui(main).fileList->setFileName(QStringLiteral("p.bmp"));
        main.fileClicked();
        return ui(main).fileList->fileName() == QLatin1String("p.bmp");
    }
};

// Runs inside the modal showing that opens next: what is seen there, then the action. A window
// the action leaves open is hidden so that a failing check cannot hang the test.
struct WhileModal
{
    QObject context;
    bool ran = false;

    void arm(QWidget& modal, const std::function<void()>& action)
    {
        QTimer::singleShot(0, &context, [this, &modal, action] {
            ran = modal.isVisible();
            if (ran)
                action();
            if (modal.isVisible())
                modal.hide();
        });
    }
};

void sendMouse(QWidget* target, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
               QPoint local)
{
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

// A left click where the window system would deliver it: through the window holding control.
void clickThroughWindow(QWidget& window, QWidget* control)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      control->mapTo(&window, control->rect().center()));
}

// What was seen inside a modal window while the main window's exit was clicked through it and
// then the tray icon.
struct TrayClickedInside
{
    bool ran = false;
    bool mainShown = false;
    bool exitIgnored = false;
};

TrayClickedInside trayClickInside(Session& s, QWidget& window, const std::function<void()>& open)
{
    MainWindow& main = s.main();
    TrayClickedInside seen;
    WhileModal modal;
    modal.arm(window, [&] {
        seen.mainShown = main.isVisible();
        clickThroughWindow(main, ui(main).exitButton);
        seen.exitIgnored = s.platform.ends == 0;
        main.trayClicked();
    });
    open();
    seen.ran = modal.ran;
    return seen;
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private slots:
    void trayTogglesMainWindow();
    void trayNotificationReachesTrayClick_data();
    void trayNotificationReachesTrayClick();
    void trayClosesTileWindow();
    void trayClosesAboutBox();
    void trayClosesOptionsWithoutApplying();
    void trayCreatesClosedTileWindowWithStoredSize();

    void aboutBoxClosesOnClick_data();
    void aboutBoxClosesOnClick();
    void aboutBoxIsNeverRecreated();

    void titleDragIgnoresOtherButtons_data();
    void titleDragIgnoresOtherButtons();
    void titleDragFollowsPointer();

    void helpOpensFileBesideProgram_data();
    void helpOpensFileBesideProgram();
    void exitEndsProgramWithoutQuestion();
};

void TestCommands::trayTogglesMainWindow()
{
    Session s;
    MainWindow& main = s.main();
    QVERIFY(main.isVisible());
    QVERIFY(!s.flashing());

    main.trayClicked();
    QVERIFY(!main.isVisible());
    QVERIFY(s.flashing());

    // Coming back activates the main window, which reads the types again.
    s.iso.put("Type", "Gif", QStringLiteral("&;"));
    main.trayClicked();
    QVERIFY(main.isVisible());
    QVERIFY(!s.flashing());
    QCOMPARE(ui(main).fileList->pattern(),
             QStringLiteral("*.bmp;*.jpeg;*.jpg;&;&;*.png;*.webp;*.tif;*.tiff;*.svg;*.vuq"));

    QVERIFY(s.platform.messages.isEmpty());
}

void TestCommands::trayNotificationReachesTrayClick_data()
{
    test::addRows<bool>("fromNotificationArea", {{"the control's click", false},
                                                 {"a click in the notification area", true}});
}

void TestCommands::trayNotificationReachesTrayClick()
{
    QFETCH(bool, fromNotificationArea);
    Session s;
    TrayIcon& tray = *ui(s.main()).tray;
    const auto click = [&] {
        if (fromNotificationArea)
            tray.activated(QSystemTrayIcon::Trigger);
        else
            tray.click();
    };
    click();
    QVERIFY(!s.main().isVisible());
    QVERIFY(tray.flashEnabled());
    click();
    QVERIFY(s.main().isVisible());
    QVERIFY(!tray.flashEnabled());
}

void TestCommands::trayClosesTileWindow()
{
    Session s;
    SelectedPicture picture;
    QVERIFY(picture.selectIn(s));
    MainWindow& main = s.main();

    const TrayClickedInside seen =
        trayClickInside(s, s.windows.get<TileWindow>(), [&] { main.openTileWindow(); });
    QVERIFY(seen.ran);
    QVERIFY(seen.mainShown);
    QVERIFY(seen.exitIgnored);
    QVERIFY(!s.windows.isLoaded<TileWindow>());
    QVERIFY(!main.isVisible());
    QVERIFY(s.flashing());

    main.trayClicked();
    QVERIFY(main.isVisible());
    QVERIFY(!s.flashing());
    QVERIFY(!s.windows.get<TileWindow>().isVisible());
    QVERIFY(!s.windows.get<OptionsWindow>().isVisible());
    QVERIFY(!s.windows.get<AboutBox>().isVisible());
}

void TestCommands::trayClosesAboutBox()
{
    Session s;
    MainWindow& main = s.main();
    AboutBox& about = s.windows.get<AboutBox>();

    // The main window takes no input under the box; the tray icon still works.
    const TrayClickedInside seen = trayClickInside(s, about, [&] { main.showAboutBox(); });
    QVERIFY(seen.ran);
    QVERIFY(seen.exitIgnored);
    QVERIFY(!about.isVisible());
    QVERIFY(!main.isVisible());
    QVERIFY(s.flashing());

    main.trayClicked();
    QVERIFY(main.isVisible());
    QVERIFY(!about.isVisible());
    QVERIFY(!s.flashing());
}

void TestCommands::trayClosesOptionsWithoutApplying()
{
    Session s;
    MainWindow& main = s.main();
    main.showOptions();
    QVERIFY(!main.isVisible());
    QVERIFY(!s.flashing());

    // Choices made and then abandoned.
    OptionsWindow& abandoned = s.windows.get<OptionsWindow>();
    QVERIFY(abandoned.isVisible());
    abandoned.sizeButtons[2]->setChecked(true);
    abandoned.typeBoxes[0]->setValue(0);
    abandoned.typeBoxes[3]->setValue(1);

    main.trayClicked();
    QVERIFY(!s.windows.isLoaded<OptionsWindow>());
    QVERIFY(!main.isVisible());
    QVERIFY(s.flashing());
    QVERIFY(!s.iso.get("Size", "Big").isValid());
    QCOMPARE(s.iso.get("Type", "Ico").toString(), QStringLiteral("&;"));

    main.trayClicked();
    QVERIFY(main.isVisible());
    QVERIFY(!s.flashing());

    main.showOptions();
    const OptionsWindow& reopened = s.windows.get<OptionsWindow>();
    QVERIFY(reopened.isVisible());
    QVERIFY(reopened.sizeButtons[1]->isChecked());
    QVERIFY(!reopened.sizeButtons[2]->isChecked());
    QCOMPARE(reopened.typeBoxes[0]->value(), 1);
    QCOMPARE(reopened.typeBoxes[3]->value(), 0);
}

void TestCommands::trayCreatesClosedTileWindowWithStoredSize()
{
    Session s;
    s.windows.unload<TileWindow>();
    QVERIFY(!s.windows.isLoaded<TileWindow>());
    s.iso.put("Size", "Small", QStringLiteral("0"));
    s.iso.put("Size", "Mid", QStringLiteral("0"));
    s.iso.put("Size", "Big", QStringLiteral("1"));

    s.main().trayClicked();
    QVERIFY(s.windows.isLoaded<TileWindow>());
    const TileWindow& tile = s.windows.get<TileWindow>();
    QVERIFY(!tile.isVisible());
    QCOMPARE(tile.outerSize(), QSize(1000, 700));
    QVERIFY(!s.main().isVisible());
    QVERIFY(s.flashing());
}

void TestCommands::aboutBoxClosesOnClick_data()
{
    // A control of the about box, or "" for the box; the place in it, a null point for its centre.
    test::addColumns<QString, QPoint>("target", "at");

    QTest::newRow("background") << QString() << QPoint(150, 242);
    QTest::newRow("rectangle's edge") << QString() << QPoint(0, 0);
    QTest::newRow("picture") << QStringLiteral("Abtimg") << QPoint();
    QTest::newRow("version") << QStringLiteral("lblVersion") << QPoint();
    QTest::newRow("notice") << QStringLiteral("lblDisclaimer") << QPoint();
}

void TestCommands::aboutBoxClosesOnClick()
{
    QFETCH(QString, target);
    QFETCH(QPoint, at);

    Session s;
    MainWindow& main = s.main();
    AboutBox& about = s.windows.get<AboutBox>();

    bool reachedIntended = false;
    bool closedByClick = false;
    WhileModal modal;
    modal.arm(about, [&] {
        QWidget* control = target.isEmpty() ? &about : about.findChild<QWidget*>(target);
        QVERIFY(control);
        const QPoint local = at.isNull() && !target.isEmpty() ? control->rect().center() : at;
        const QPoint inWindow = control->mapTo(&about, local);
        reachedIntended = about.childAt(inWindow) == (target.isEmpty() ? nullptr : control);
        // Through the window, so that the click lands where the window system would put it.
        QTest::mouseClick(about.windowHandle(), Qt::LeftButton, Qt::NoModifier, inWindow);
        closedByClick = !about.isVisible();
    });
    main.showAboutBox();

    QVERIFY(modal.ran);
    QVERIFY(reachedIntended);
    QVERIFY(closedByClick);
    QVERIFY(main.isVisible());
    QVERIFY(!s.flashing());
}

void TestCommands::aboutBoxIsNeverRecreated()
{
    Session s;
    MainWindow& main = s.main();
    const AboutBox* first = &s.windows.get<AboutBox>();

    for (int opening = 0; opening < 2; ++opening) {
        AboutBox& about = s.windows.get<AboutBox>();
        QCOMPARE(&about, first);
        WhileModal modal;
        QString version;
        modal.arm(about, [&] {
            version = about.findChild<AutoLabel*>(QStringLiteral("lblVersion"))->caption();
            about.hide();
        });
        main.showAboutBox();
        QVERIFY(modal.ran);
        QCOMPARE(version, QStringLiteral("Version: 1.0"));
        QVERIFY(!about.isVisible());
    }
    QVERIFY(s.windows.isLoaded<AboutBox>());
    QCOMPARE(&s.windows.get<AboutBox>(), first);
}

void TestCommands::titleDragIgnoresOtherButtons_data()
{
    // A pressed NoButton is a move with nothing held.
    test::addColumns<Qt::MouseButton, Qt::MouseButtons>("pressed", "held");
    QTest::newRow("no button") << Qt::NoButton << Qt::MouseButtons(Qt::NoButton);
    QTest::newRow("right button") << Qt::RightButton << Qt::MouseButtons(Qt::RightButton);
    QTest::newRow("left and right buttons")
        << Qt::LeftButton << Qt::MouseButtons(Qt::LeftButton | Qt::RightButton);
}

void TestCommands::titleDragIgnoresOtherButtons()
{
    QFETCH(Qt::MouseButton, pressed);
    QFETCH(Qt::MouseButtons, held);

    Session s;
    MainWindow& main = s.main();
    main.move(100, 100);
    const QPoint before = main.pos();
    PictureBox* title = ui(main).title;
    const QPoint start(20, 10);

    QCursor::setPos(title->mapToGlobal(start));
    if (pressed != Qt::NoButton)
        sendMouse(title, QEvent::MouseButtonPress, pressed, held, start);
    for (const QPoint step : {QPoint(0, 0), QPoint(40, 25), QPoint(-30, 50)}) {
        const QPoint moved = start + step;
        QCursor::setPos(title->mapToGlobal(moved));
        sendMouse(title, QEvent::MouseMove, Qt::NoButton, held, moved);
        main.dragByTitle(held);
    }

    QCOMPARE(main.pos(), before);
}

void TestCommands::titleDragFollowsPointer()
{
    Session s;
    MainWindow& main = s.main();
    AboutBox& about = s.windows.get<AboutBox>();
    main.move(100, 100);
    const QPoint before = main.pos();
    PictureBox* title = ui(main).title;
    const QPoint start(20, 10);
    const QPoint startGlobal = title->mapToGlobal(start);

    QCursor::setPos(startGlobal);
    sendMouse(title, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, start);
    sendMouse(title, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, start);
    QCOMPARE(main.pos(), before);

    for (const QPoint step : {QPoint(30, 12), QPoint(-45, 60)}) {
        QCursor::setPos(startGlobal + step);
        sendMouse(title, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton,
                  title->mapFromGlobal(startGlobal + step));
        QCOMPARE(main.pos(), before + step);
    }
    const QPoint dropped = main.pos();

    // The release ends the drag; were it taken for a click, the about box would open.
    WhileModal modal;
    modal.arm(about, [] {});
    sendMouse(title, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
              title->mapFromGlobal(QCursor::pos()));
    QVERIFY(!modal.ran);
    QVERIFY(!about.isVisible());

    QCursor::setPos(startGlobal + QPoint(200, 200));
    sendMouse(title, QEvent::MouseMove, Qt::NoButton, Qt::NoButton,
              title->mapFromGlobal(QCursor::pos()));
    QCOMPARE(main.pos(), dropped);
}

void TestCommands::helpOpensFileBesideProgram_data()
{
    test::addColumns<bool, bool>("handedOn", "byMouse");
    QTest::newRow("viewer present, clicked") << true << true;
    QTest::newRow("no viewer") << false << false;
}

void TestCommands::helpOpensFileBesideProgram()
{
    QFETCH(bool, handedOn);
    QFETCH(bool, byMouse);
    Session s;
    s.platform.openSucceeds = handedOn;
    MainWindow& main = s.main();

    if (byMouse)
        QTest::mouseClick(ui(main).helpButton, Qt::LeftButton);
    else
        main.showHelp();

    QCOMPARE(s.platform.opened.size(), 1);
    const QUrl help = s.platform.opened[0];
    QVERIFY(help.isLocalFile());
    const QFileInfo file(help.toLocalFile());
    QCOMPARE(file.fileName(), QStringLiteral("Zelvo.html"));
    QCOMPARE(file.absolutePath(), QCoreApplication::applicationDirPath());
    QVERIFY(s.platform.messages.isEmpty());
    QVERIFY(main.isVisible());
}

void TestCommands::exitEndsProgramWithoutQuestion()
{
    Session s;
    clickThroughWindow(s.main(), ui(s.main()).exitButton);
    QCOMPARE(s.platform.ends, 1);
    QVERIFY(s.platform.messages.isEmpty());
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
