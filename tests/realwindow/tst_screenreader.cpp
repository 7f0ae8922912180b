// The built program as a screen reader finds it: on a private X server with a session bus and
// the accessibility bus, its accessible tree read through AT-SPI, and the program driven by the
// keyboard alone. Catches controls a screen reader cannot name or whose role is wrong, tool
// tips that do not reach the description, and commands the keyboard cannot reach or press.
#include "XSession.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

namespace {

constexpr int WaitMs = 20000;
const char* const ProgramBinary = ZELVO_BINARY;
const char* const TreeScript = ZELVO_ACCESSIBLE_TREE_SCRIPT;

struct Node
{
    QString name;
    QString role;
    QString description;
    QStringList states;
};

// A showing window: the window itself first, then its controls, depth first.
using Window = QList<Node>;

void flatten(const QJsonObject& object, Window& nodes)
{
    Node node;
    node.name = object.value(QLatin1String("name")).toString();
    node.role = object.value(QLatin1String("role")).toString();
    node.description = object.value(QLatin1String("description")).toString();
    for (const QJsonValue state : object.value(QLatin1String("states")).toArray())
        node.states.append(state.toString());
    nodes.append(node);
    for (const QJsonValue child : object.value(QLatin1String("children")).toArray())
        flatten(child.toObject(), nodes);
}

// What a screen reader is expected to read of one control.
struct Expected
{
    QString name;
    QString role;
    QString description;
};

QString describe(const Window& window)
{
    QStringList lines;
    for (const Node& node : window)
        lines.append(
            QStringLiteral("  \"%1\" %2 \"%3\"").arg(node.name, node.role, node.description));
    return lines.join(QLatin1Char('\n'));
}

// Why the window does not hold the controls, or an empty text.
QString missing(const Window& window, const QList<Expected>& controls)
{
    QStringList absent;
    for (const Expected& expected : controls) {
        const bool found = std::any_of(window.begin(), window.end(), [&](const Node& node) {
            return node.name == expected.name && node.role == expected.role &&
                   node.description == expected.description;
        });
        if (!found) {
            absent.append(QStringLiteral("\"%1\" %2 \"%3\"")
                              .arg(expected.name, expected.role, expected.description));
        }
    }
    if (absent.isEmpty())
        return {};
    return QStringLiteral("missing ") + absent.join(QLatin1String(", ")) +
           QStringLiteral(" among\n") + describe(window);
}

const QList<Expected> MainControls{
    {QStringLiteral("About Zelvo"), QStringLiteral("push button"), {}},
    {QStringLiteral("Image files found"), QStringLiteral("label"), {}},
    {QStringLiteral("Image files"), QStringLiteral("list"), {}},
    {QStringLiteral("Preview"), QStringLiteral("push button"), QStringLiteral("Click to tile")},
    {QStringLiteral("Browse"), QStringLiteral("push button"),
     QStringLiteral("Select the image's directory")},
    {QStringLiteral("Options"), QStringLiteral("push button"), QStringLiteral("Your choices here")},
    {QStringLiteral("Help"), QStringLiteral("push button"),
     QStringLiteral("Open the help document")},
    {QStringLiteral("Exit"), QStringLiteral("push button"), QStringLiteral("Goodbye !")},
};

const QString SizeChoice = QStringLiteral("Size of the tile window");
const QString TypeChoice = QStringLiteral("List these picture files");
const QList<Expected> OptionsControls{
    {QStringLiteral("Mail the author: zelvo@zelvo.org"), QStringLiteral("link"),
     QStringLiteral("Mail to me !")},
    {QStringLiteral("Apply"), QStringLiteral("push button"),
     QStringLiteral("Apply the changes and exit")},
    {QStringLiteral("Small"), QStringLiteral("radio button"), SizeChoice},
    {QStringLiteral("Medium"), QStringLiteral("radio button"), SizeChoice},
    {QStringLiteral("Large"), QStringLiteral("radio button"), SizeChoice},
    {QStringLiteral("Bitmap"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Jpg"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Gif"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Ico"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Png"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Webp"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Tiff"), QStringLiteral("check box"), TypeChoice},
    {QStringLiteral("Svg"), QStringLiteral("check box"), TypeChoice},
};

const QList<Expected> AboutControls{
    {QStringLiteral("The Image Zelvo"), QStringLiteral("push button"),
     QStringLiteral("Click to close")},
    {QStringLiteral("Version: 1.0"), QStringLiteral("label"), {}},
};

const QList<Expected> TileControls{
    {QStringLiteral("Tiled picture"), QStringLiteral("push button"),
     QStringLiteral("Click to return")},
    {QStringLiteral("Print"), QStringLiteral("push button"), {}},
};

} // namespace

// Tabs to the control, or fails saying where the focus went instead.
#define VERIFY_TAB_REACHES(name)                                                                   \
    do {                                                                                           \
        const QString reached = tabTo(name);                                                       \
        QVERIFY2(reached.isEmpty(), qPrintable(reached));                                          \
    } while (false)

class ScreenReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void mainWindowAndAboutBox();
    void optionsWindow();
    void tileWindow();

private:
    // The program's showing windows as the accessibility bus has them now.
    [[nodiscard]] QList<Window> windows() const;
    // Waits for a showing window of that name and role holding the controls; an empty text
    // then, else why not.
    [[nodiscard]] QString waitForWindow(const QString& name, const QString& role,
                                        const QList<Expected>& controls = {}) const;
    [[nodiscard]] bool windowShowing(const QString& name) const;
    // The name of the control that has the keyboard focus, empty for none.
    [[nodiscard]] QString focused() const;
    // Waits for the focus on the control, or on any of names joined by "|".
    [[nodiscard]] QString waitForFocus(const QString& name) const;
    // Tab until the control has the focus; an empty text then, else where the focus went.
    [[nodiscard]] QString tabTo(const QString& name) const;
    // Tab through the window once, from the first control: an empty text when the focus visits
    // the controls in this order and then comes back to the first.
    [[nodiscard]] QString tabCycle(const QStringList& order) const;
    // Tab to the control and press Space on it: an empty text when the window of that name then
    // shows holding the controls, else why not.
    [[nodiscard]] QString openWithSpace(const QString& control, const QString& window,
                                        const QList<Expected>& controls) const;

    std::unique_ptr<XSession> m_session;
};

void ScreenReaderTest::init()
{
    m_session = std::make_unique<XSession>();
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    const QString desktop = m_session->startDesktop();
    QVERIFY2(desktop.isEmpty(), qPrintable(desktop));
    if (const QString failure = m_session->startAccessibilityBus(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("the accessibility bus could not start: ") + failure));
    QVERIFY2(m_session->tool(QStringLiteral("/usr/bin/python3"),
                             {QLatin1String(TreeScript), QStringLiteral("Zelvo")}),
             "the accessible tree cannot be read: python3-pyatspi is missing or AT-SPI fails");
    const QString started = m_session->startProgram(QString::fromLocal8Bit(ProgramBinary));
    QVERIFY2(started.isEmpty(), qPrintable(started));
    const QString shown =
        waitForWindow(QStringLiteral("Zelvo"), QStringLiteral("frame"), MainControls);
    QVERIFY2(shown.isEmpty(),
             qPrintable(shown + QStringLiteral("\nprogram said: ") + m_session->programOutput()));
    const auto main = m_session->waitForWindow([](WindowId) { return true; });
    QVERIFY(main);
    QVERIFY(m_session->activate(*main));
}

void ScreenReaderTest::cleanup()
{
    m_session.reset();
}

QList<Window> ScreenReaderTest::windows() const
{
    const auto answer = m_session->tool(QStringLiteral("/usr/bin/python3"),
                                        {QLatin1String(TreeScript), QStringLiteral("Zelvo")});
    QList<Window> found;
    if (!answer)
        return found;
    const QJsonDocument document = QJsonDocument::fromJson(answer->toUtf8());
    for (const QJsonValue window : document.object().value(QLatin1String("windows")).toArray()) {
        Window nodes;
        flatten(window.toObject(), nodes);
        found.append(nodes);
    }
    return found;
}

QString ScreenReaderTest::waitForWindow(const QString& name, const QString& role,
                                        const QList<Expected>& controls) const
{
    QString failure;
    XSession::waitUntil(
        [&] {
            failure = QStringLiteral("no showing window \"%1\" (%2)").arg(name, role);
            for (const Window& window : windows()) {
                if (window.first().name != name || window.first().role != role)
                    continue;
                failure = missing(window, controls);
                if (failure.isEmpty())
                    return true;
            }
            return false;
        },
        WaitMs);
    return failure;
}

QString ScreenReaderTest::openWithSpace(const QString& control, const QString& window,
                                        const QList<Expected>& controls) const
{
    if (const QString reached = tabTo(control); !reached.isEmpty())
        return reached;
    if (!m_session->key(QStringLiteral("space")))
        return QStringLiteral("Space could not be pressed on \"%1\"").arg(control);
    return waitForWindow(window, QStringLiteral("frame"), controls);
}

bool ScreenReaderTest::windowShowing(const QString& name) const
{
    const QList<Window> shown = windows();
    return std::any_of(shown.begin(), shown.end(),
                       [&](const Window& window) { return window.first().name == name; });
}

QString ScreenReaderTest::focused() const
{
    for (const Window& window : windows()) {
        for (const Node& node : window) {
            // A list's current item keeps its focused state when the list loses the focus.
            if (node.states.contains(QLatin1String("focused")) && &node != &window.first() &&
                node.role != QLatin1String("list item"))
                return node.name;
        }
    }
    return {};
}

QString ScreenReaderTest::waitForFocus(const QString& name) const
{
    const QStringList any = name.split(QLatin1Char('|'));
    QString now;
    if (XSession::waitUntil(
            [&] {
                now = focused();
                return any.contains(now);
            },
            WaitMs)) {
        return {};
    }
    return QStringLiteral("the focus is on \"%1\", not on \"%2\"").arg(now, name);
}

QString ScreenReaderTest::tabTo(const QString& name) const
{
    QStringList visited;
    for (int step = 0; step < 16; ++step) {
        // The focus a Tab moved settles on the bus a moment after the key.
        QString now;
        XSession::waitUntil(
            [&] {
                now = focused();
                return now == name || (!visited.isEmpty() && now != visited.last());
            },
            step == 0 ? 0 : 2000);
        if (now == name)
            return {};
        visited.append(now);
        if (!m_session->key(QStringLiteral("Tab")))
            return QStringLiteral("xdotool could not press Tab");
    }
    return QStringLiteral("Tab never reached \"%1\"; it went through: %2")
        .arg(name, visited.join(QLatin1String(", ")));
}

QString ScreenReaderTest::tabCycle(const QStringList& order) const
{
    if (const QString reached = tabTo(order.first()); !reached.isEmpty())
        return reached;
    for (int index = 1; index <= order.size(); ++index) {
        if (!m_session->key(QStringLiteral("Tab")))
            return QStringLiteral("xdotool could not press Tab");
        const QString& next = order[index % order.size()];
        if (const QString moved = waitForFocus(next); !moved.isEmpty()) {
            QStringList onwards;
            QString now = focused();
            for (int more = 0; more < order.size() && m_session->key(QStringLiteral("Tab"));
                 ++more) {
                const QString before = now;
                XSession::waitUntil([&] { return (now = focused()) != before; }, 2000);
                onwards.append(now);
            }
            return QStringLiteral("after \"%1\": %2; further Tabs went to %3")
                .arg(order[index - 1], moved, onwards.join(QLatin1String(", ")));
        }
    }
    return {};
}

void ScreenReaderTest::mainWindowAndAboutBox()
{
    const QString cycle =
        tabCycle({QStringLiteral("Exit"), QStringLiteral("Browse"), QStringLiteral("Image files"),
                  QStringLiteral("Help"), QStringLiteral("Options"), QStringLiteral("Preview"),
                  QStringLiteral("About Zelvo")});
    QVERIFY2(cycle.isEmpty(), qPrintable(cycle));

    const QString about =
        openWithSpace(QStringLiteral("About Zelvo"), QStringLiteral("About Zelvo"), AboutControls);
    QVERIFY2(about.isEmpty(), qPrintable(about));
    const QString onPicture = waitForFocus(QStringLiteral("The Image Zelvo"));
    QVERIFY2(onPicture.isEmpty(), qPrintable(onPicture));
    QVERIFY(m_session->key(QStringLiteral("Return")));
    QVERIFY2(
        XSession::waitUntil([&] { return !windowShowing(QStringLiteral("About Zelvo")); }, WaitMs),
        "Enter on the about picture did not close the about box");
}

void ScreenReaderTest::optionsWindow()
{
    const QString options =
        openWithSpace(QStringLiteral("Options"), QStringLiteral("Options"), OptionsControls);
    QVERIFY2(options.isEmpty(), qPrintable(options));

    // The three sizes are one stop; the arrow keys choose among them.
    const QString size = QStringLiteral("Large|Medium|Small");
    const QString cycle =
        tabCycle({QStringLiteral("Mail the author: zelvo@zelvo.org"), QStringLiteral("Apply"), size,
                  QStringLiteral("Ico"), QStringLiteral("Gif"), QStringLiteral("Jpg"),
                  QStringLiteral("Bitmap"), QStringLiteral("Png"), QStringLiteral("Webp"),
                  QStringLiteral("Tiff"), QStringLiteral("Svg")});
    QVERIFY2(cycle.isEmpty(), qPrintable(cycle));

    VERIFY_TAB_REACHES(QStringLiteral("Apply"));
    QVERIFY(m_session->key(QStringLiteral("space")));
    QVERIFY2(XSession::waitUntil([&] { return !windowShowing(QStringLiteral("Options")); }, WaitMs),
             "Space on Apply did not close the options window");
    const QString back = waitForWindow(QStringLiteral("Zelvo"), QStringLiteral("frame"));
    QVERIFY2(back.isEmpty(), qPrintable(back));
}

void ScreenReaderTest::tileWindow()
{
    QTemporaryDir folder;
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(QDir(folder.path()).filePath(QStringLiteral("a.bmp"))));

    VERIFY_TAB_REACHES(QStringLiteral("Browse"));
    QVERIFY(m_session->key(QStringLiteral("space")));
    const auto dialog = m_session->waitForFolderDialog();
    QVERIFY2(dialog, "Space on Browse opened no folder dialog");
    const QString chosen = m_session->chooseInFolderDialog(*dialog, folder.path());
    QVERIFY2(chosen.isEmpty(), qPrintable(chosen));

    VERIFY_TAB_REACHES(QStringLiteral("Image files"));
    QVERIFY(m_session->key(QStringLiteral("Down")));
    // The preview names the file it shows.
    const QString named =
        waitForWindow(QStringLiteral("Zelvo"), QStringLiteral("frame"),
                      {{QStringLiteral("Preview: a.bmp"), QStringLiteral("push button"),
                        QStringLiteral("Click to tile")},
                       {QStringLiteral("Image files found: 1"), QStringLiteral("label"), {}}});
    QVERIFY2(named.isEmpty(), qPrintable(named));

    const QString tile = openWithSpace(QStringLiteral("Preview: a.bmp"),
                                       QStringLiteral("Zelvo: a.bmp"), TileControls);
    QVERIFY2(tile.isEmpty(), qPrintable(tile));

    VERIFY_TAB_REACHES(QStringLiteral("Tiled picture"));
    QVERIFY(m_session->key(QStringLiteral("space")));
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     const QList<Window> shown = windows();
                     // Only the main window is left, which still previews the file.
                     return shown.size() == 1 &&
                            missing(shown.first(), {{QStringLiteral("Preview: a.bmp"),
                                                     QStringLiteral("push button"),
                                                     QStringLiteral("Click to tile")}})
                                .isEmpty();
                 },
                 WaitMs),
             "Space on the tiled picture did not close the tile window");
}

QTEST_MAIN(ScreenReaderTest)
#include "tst_screenreader.moc"
