// What assistive technologies read of the windows: controls without a name, pictures that act
// as buttons but say they are pictures, tool tips that do not reach the description, a preview
// that does not name its file, and commands that the keyboard or an assistive technology
// cannot press.

#include "about/AboutBox.h"
#include "layouts/Author.h"
#include "settings/OptionsWindow.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "widgets/AutoLabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;

namespace {

[[nodiscard]] QWidget& windowNamed(test::Session& session, const QString& name)
{
    if (name == QLatin1String("Form2"))
        return session.windows.get<TileWindow>();
    if (name == QLatin1String("Form3"))
        return session.windows.get<OptionsWindow>();
    if (name == QLatin1String("About"))
        return session.windows.get<AboutBox>();
    return session.main();
}

[[nodiscard]] QWidget* controlNamed(QWidget& window, const QString& name)
{
    return name.isEmpty() ? &window : window.findChild<QWidget*>(name);
}

[[nodiscard]] QString nameOf(QObject* object)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible ? accessible->text(QAccessible::Name) : QStringLiteral("<none>");
}

// Presses the command with a key, or through the assistive technologies' press action.
void press(QWidget& control, const QString& how)
{
    if (how == QLatin1String("action")) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&control);
        QVERIFY(accessible && accessible->actionInterface());
        QVERIFY(accessible->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        return;
    }
    QTest::keyClick(&control, how == QLatin1String("Space") ? Qt::Key_Space : Qt::Key_Return);
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void controlsSayWhatTheyDo_data();
    void controlsSayWhatTheyDo();
    void previewNamesItsFile();
    void countLabelNamesItsCount();
    void pictureCommandsTakeFocusAndPress_data();
    void pictureCommandsTakeFocusAndPress();
    void previewAndTiledPicturePressedByKeyboard_data();
    void previewAndTiledPicturePressedByKeyboard();
};

void TestAccessibility::controlsSayWhatTheyDo_data()
{
    // An empty control is the window itself.
    test::addColumns<QString, QString, QString, int, QString>("window", "control", "name", "role",
                                                              "description");

    const auto row = [](const char* window, const char* control, const QString& name,
                        QAccessible::Role role, const char* description) {
        QTest::addRow("%s %s", window, *control ? control : "window")
            << window << control << name << int(role) << description;
    };
    row("Form1", "", "Zelvo", QAccessible::Window, "");
    row("Form1", "Image1", "About Zelvo", QAccessible::Button, "");
    row("Form1", "Labelfnd", "Image files found", QAccessible::StaticText, "");
    row("Form1", "Files", "Image files", QAccessible::List, "");
    row("Form1", "Display", "Preview", QAccessible::Button, "Click to tile");
    row("Form1", "Opendir", "Browse", QAccessible::Button, "Select the image's directory");
    row("Form1", "lblfile", "Selected file", QAccessible::StaticText, "");
    row("Form1", "SoftBttn1", "Options", QAccessible::Button, "Your choices here");
    row("Form1", "SoftBttn2", "Help", QAccessible::Button, "Open the help document");
    row("Form1", "Out", "Exit", QAccessible::Button, "Goodbye !");
    row("Form2", "", "Zelvo", QAccessible::Window, "");
    row("Form2", "Zelvo", "Tiled picture", QAccessible::Button, "Click to return");
    row("Form2", "Butprint", "Print", QAccessible::Button, "");
    row("Form3", "", "Options", QAccessible::Window, "");
    row("Form3", "Option1", "Small", QAccessible::RadioButton, "Size of the tile window");
    row("Form3", "Option2", "Medium", QAccessible::RadioButton, "Size of the tile window");
    row("Form3", "Option3", "Large", QAccessible::RadioButton, "Size of the tile window");
    row("Form3", "Check1", "Bitmap", QAccessible::CheckBox, "List these picture files");
    row("Form3", "Check4", "Ico", QAccessible::CheckBox, "List these picture files");
    row("Form3", "SoftBttn1", "Apply", QAccessible::Button, "Apply the changes and exit");
    row("Form3", "Image1", "Mail", QAccessible::Graphic, "");
    row("Form3", "Label2",
        QStringLiteral("Mail the author: ") + QLatin1String(author::ContactAddress),
        QAccessible::Link, "Mail to me !");
    row("About", "", "About Zelvo", QAccessible::Window, "");
    row("About", "Abtimg", "The Image Zelvo", QAccessible::Button, "Click to close");
    row("About", "lblVersion", "Version: 1.0", QAccessible::StaticText, "");
}

void TestAccessibility::controlsSayWhatTheyDo()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QString, description);
    test::Session session;
    session.startShown();
    QWidget* widget = controlNamed(windowNamed(session, window), control);
    QVERIFY(widget);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), name);
    QCOMPARE(int(accessible->role()), role);
    QCOMPARE(accessible->text(QAccessible::Description), description);
}

void TestAccessibility::previewNamesItsFile()
{
    test::Session session;
    session.startShown();
    const test::PictureChosen chosen(session, QStringLiteral("sunset.bmp"),
                                     test::patternedPicture({8, 8}), "BMP");
    QVERIFY(chosen.ready);
    QCOMPARE(nameOf(ui(session.main()).preview), QStringLiteral("Preview: sunset.bmp"));
    QCOMPARE(nameOf(ui(session.main()).fileLabel),
             QStringLiteral("Selected file: ") + session.main().picturePath());

    // Another folder clears the preview, and with it the name.
    QTemporaryDir other;
    test::browseTo(session, other.path());
    QCOMPARE(nameOf(ui(session.main()).preview), QStringLiteral("Preview"));
}

void TestAccessibility::countLabelNamesItsCount()
{
    test::Session session;
    session.startShown();
    ui(session.main()).countLabel->setCaption(QStringLiteral("3"));
    QCOMPARE(nameOf(ui(session.main()).countLabel), QStringLiteral("Image files found: 3"));
    ui(session.main()).countLabel->setCaption(QString());
    QCOMPARE(nameOf(ui(session.main()).countLabel), QStringLiteral("Image files found"));
}

// The pictures and the link that act on a click take the keyboard focus and act on Space and
// Enter, and on the press action of assistive technologies, as they do on a click.
void TestAccessibility::pictureCommandsTakeFocusAndPress_data()
{
    test::addColumns<QString, QString>("control", "how");
    for (const char* how : {"Space", "Return", "action"}) {
        QTest::addRow("title, %s", how) << "Image1" << how;
        QTest::addRow("about picture, %s", how) << "Abtimg" << how;
        QTest::addRow("mail link, %s", how) << "Label2" << how;
        QTest::addRow("preview with no file, %s", how) << "Display" << how;
    }
}

void TestAccessibility::pictureCommandsTakeFocusAndPress()
{
    QFETCH(QString, control);
    QFETCH(QString, how);
    test::Session session;
    session.startShown();
    AboutBox& about = session.windows.get<AboutBox>();
    QWidget* widget = nullptr;
    bool aboutShown = false;
    // The about box is modal: it is looked for, and closed, from within its own wait.
    QTimer aboutWatch;
    connect(&aboutWatch, &QTimer::timeout, &about, [&] {
        if (about.isVisible() && control == QLatin1String("Image1")) {
            aboutShown = true;
            about.hide();
        }
    });
    aboutWatch.start(10);
    if (control == QLatin1String("Image1")) {
        widget = ui(session.main()).title;
    } else if (control == QLatin1String("Abtimg")) {
        widget = about.picture;
        about.show();
    } else if (control == QLatin1String("Label2")) {
        widget = session.windows.get<OptionsWindow>().mailLink;
    } else {
        widget = ui(session.main()).preview;
    }
    QVERIFY(widget->focusPolicy() & Qt::TabFocus);
    press(*widget, how);

    if (control == QLatin1String("Image1"))
        QTRY_VERIFY(aboutShown);
    if (control == QLatin1String("Abtimg"))
        QTRY_VERIFY(!about.isVisible());
    if (control == QLatin1String("Label2")) {
        QTRY_COMPARE(session.platform.opened.size(), 1);
        QCOMPARE(session.platform.opened.first().scheme(), QStringLiteral("mailto"));
    }
    if (control == QLatin1String("Display")) {
        QTRY_COMPARE(session.platform.messages.size(), 1);
        QCOMPARE(session.platform.messages.first().title, QStringLiteral("Empty file"));
    }
}

void TestAccessibility::previewAndTiledPicturePressedByKeyboard_data()
{
    test::addRows<QString>("how", {{"Space", "Space"}, {"Return", "Return"}});
}

void TestAccessibility::previewAndTiledPicturePressedByKeyboard()
{
    QFETCH(QString, how);
    test::Session session;
    session.startShown();
    const test::PictureChosen chosen(session, QStringLiteral("a.bmp"),
                                     test::patternedPicture({8, 8}), "BMP");
    QVERIFY(chosen.ready);

    bool tileShown = false;
    bool closedByPress = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        tileShown =
            session.windows.isLoaded<TileWindow>() && session.windows.get<TileWindow>().isVisible();
        if (tileShown)
            press(*session.windows.get<TileWindow>().tiledView, how);
        closedByPress = !session.windows.isLoaded<TileWindow>();
        if (!closedByPress)
            session.windows.unload<TileWindow>();
    });
    press(*ui(session.main()).preview, how);
    QVERIFY(tileShown);
    QVERIFY(closedByPress);
    QVERIFY(session.platform.messages.isEmpty());
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
