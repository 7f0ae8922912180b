// The built program on a real X server (Xvfb with openbox and trayer), driven with xdotool and
// checked through screenshots, as a user would see it.
#include "XSession.h"
#include "badinput/BadPictures.h"
#include "common/WindowPing.h"
#include "print/CupsTools.h"
#include "print/PrivateCups.h"
#include "support/DataTable.h"
#include "support/Files.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>

using zelvo::bench::WindowPing;
using zelvo::realwindow::near;
using zelvo::realwindow::WindowId;
using zelvo::realwindow::XSession;

namespace {

const QSize MainSize(497, 432);
const QSize AboutSize(315, 306);
// The Medium tile window, frame and title bar included, the size of a first run.
const QSize TileOuterSize(800, 533);
const QRgb Navy = qRgb(0x00, 0x00, 0x40);
const QRgb LightOrange = qRgb(0xFE, 0x9C, 0x61);
const QRgb FileText = qRgb(0x3C, 0xF2, 0xA9);
const QRgb CountText = qRgb(0x80, 0x80, 0x80);

// Places in the main window's client area, in pixels.
const QPoint BrowseButton(233 + 12, 152 + 12);
const QPoint ExitButton(206 + 40, 385 + 14);
const QRect TitleArtwork(8, 8, 482, 33);
const QRect FileList(46, 96, 134, 134);
const QRect CountLabel(154, 64, 40, 18);
const QRect Preview(304, 96, 134, 134);
// Inside the preview's one-pixel border.
const QRect PreviewPicture = Preview.adjusted(1, 1, -1, -1);
// The Print button of the Medium tile window, with a margin for its focus frame.
const QRect PrintButton = QRect(376, 480, 41, 25).adjusted(-6, -6, 6, 6);
const QPoint OptionsButton(76, 345);
// In the options window's client area.
const QPoint LargeOption(253, 108);
const QPoint IcoBox(268, 220);
const QPoint ApplyButton(152, 301);

constexpr int WaitMs = 10000;
// The longest the program may leave the window unanswered while it loads: well above a frame,
// far below the seconds a load on the window's own thread took.
constexpr int AnswerMs = 400;
const char* const ProgramBinary = ZELVO_BINARY;

// A test picture made of cells of one colour each.
struct Picture
{
    QString name;
    QSize cells;
    QSize cellSize;
    // How far the tiled copy may stray from the decoded file: none but for JPEG.
    int tolerance = 0;

    [[nodiscard]] QRgb colour(int column, int row) const
    {
        return qRgb(20 + column * 230 / qMax(1, cells.width() - 1), 30 + row * 40,
                    230 - column * 9 - row * 23);
    }
    [[nodiscard]] QImage image() const
    {
        QImage picture(cells.width() * cellSize.width(), cells.height() * cellSize.height(),
                       QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, colour(x / cellSize.width(), y / cellSize.height()));
        }
        return picture;
    }
};

// Listed in this order: by name.
const Picture Pictures[] = {
    {QStringLiteral("a.bmp"), {7, 5}, {1, 1}, 0},
    {QStringLiteral("b.gif"), {8, 6}, {5, 5}, 0},
    {QStringLiteral("c.jpg"), {2, 2}, {16, 16}, 12},
};

bool writePicture(const Picture& picture, const QString& folder)
{
    const QString path = QDir(folder).filePath(picture.name);
    if (!picture.name.endsWith(QLatin1String(".gif")))
        return picture.image().save(path, nullptr, 100);
    // Qt writes no GIF; ImageMagick turns a lossless copy into one.
    const QString png = QDir(folder).filePath(QStringLiteral("gif-source.png"));
    if (!picture.image().save(png))
        return false;
    const int converted = QProcess::execute(QStringLiteral("convert"), {png, path});
    QFile::remove(png);
    return converted == 0;
}

QImage crop(const QImage& screen, const QRect& area)
{
    return screen.copy(area);
}

int countNear(const QImage& image, QRgb colour, int tolerance)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += near(image.pixel(x, y), colour, tolerance) ? 1 : 0;
    }
    return count;
}

// The vertical bands of an image that hold pixels of the colour: one per line of text.
QList<QPair<int, int>> textRows(const QImage& image, QRgb colour)
{
    QList<QPair<int, int>> rows;
    int start = -1;
    for (int y = 0; y <= image.height(); ++y) {
        bool inked = false;
        for (int x = 0; y < image.height() && x < image.width() && !inked; ++x)
            inked = near(image.pixel(x, y), colour, 40);
        if (inked && start < 0)
            start = y;
        // The dots over i and j make short bands of their own.
        if (!inked && start >= 0) {
            if (y - start >= 4)
                rows.append({start, y - 1});
            start = -1;
        }
    }
    return rows;
}

QString describe(QRgb colour)
{
    return QColor(colour).name();
}

// Why the window's picture is not a light orange outline at the outline points around a navy
// ground at the ground points, or an empty text; what names the window in it.
QString outlineAndGroundMismatch(const QImage& window, const QList<QPoint>& outline,
                                 const QList<QPoint>& ground, const QString& what)
{
    const auto mismatch = [&](const QList<QPoint>& points, QRgb colour,
                              const QString& part) -> QString {
        for (const QPoint point : points) {
            if (window.pixel(point) != colour) {
                return QStringLiteral("%1 pixel (%2,%3) is %4")
                    .arg(what + part)
                    .arg(point.x())
                    .arg(point.y())
                    .arg(describe(window.pixel(point)));
            }
        }
        return {};
    };
    const QString edge = mismatch(outline, LightOrange, QStringLiteral("outline"));
    return edge.isEmpty() ? mismatch(ground, Navy, QStringLiteral("ground")) : edge;
}

// Why the image does not show the picture stretched over it, cell by cell, or an empty text.
QString stretchedMismatch(const QImage& shown, const Picture& picture)
{
    for (int row = 0; row < picture.cells.height(); ++row) {
        for (int column = 0; column < picture.cells.width(); ++column) {
            const QPoint middle((2 * column + 1) * shown.width() / (2 * picture.cells.width()),
                                (2 * row + 1) * shown.height() / (2 * picture.cells.height()));
            if (!near(shown.pixel(middle), picture.colour(column, row), 24)) {
                return QStringLiteral("%1: cell (%2,%3) shows %4, the picture %5")
                    .arg(picture.name)
                    .arg(column)
                    .arg(row)
                    .arg(describe(shown.pixel(middle)))
                    .arg(describe(picture.colour(column, row)));
            }
        }
    }
    return {};
}

// Why the image does not show the picture tiled from its top-left corner, or an empty text.
QString tiledMismatch(const QImage& shown, const Picture& picture, const QImage& reference)
{
    int wrong = 0;
    QString first;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (PrintButton.contains(x, y))
                continue;
            const QRgb expected = reference.pixel(x % reference.width(), y % reference.height());
            if (near(shown.pixel(x, y), expected, picture.tolerance))
                continue;
            if (wrong++ == 0) {
                first = QStringLiteral("(%1,%2) shows %3 instead of %4")
                            .arg(x)
                            .arg(y)
                            .arg(describe(shown.pixel(x, y)))
                            .arg(describe(expected));
            }
        }
    }
    if (wrong == 0)
        return {};
    return QStringLiteral("%1 client pixels differ from the tiled %2, first ")
               .arg(wrong)
               .arg(picture.name) +
           first;
}

// How many pixels of the two images, of one size, differ by more than the tolerance.
int differingPixels(const QImage& a, const QImage& b, int tolerance)
{
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += near(a.pixel(x, y), b.pixel(x, y), tolerance) ? 0 : 1;
    }
    return count;
}

// The vertical band of each listed name in the file list.
using Rows = QList<QPair<int, int>>;

} // namespace

class RealWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsCentredBorderlessAndSeedsTheTypes();
    void browsesPreviewsAndTiles_data();
    void browsesPreviewsAndTiles();
    void trayClickHidesFlashesAndRestores();
    void trayClickReachesTheProgramUnderTheTileWindow();
    void selectionPreviewAndTileAgree_data();
    void selectionPreviewAndTileAgree();
    void browseToSameNameSelectsNothing();
    void titleDragMovesTheWindow();
    void titleClickShowsTheAboutBox();
    void titleArtworkIsDrawnAtTwiceTheSize();
    void tileWindowKeysAndNewVersions();
    void halfDropOnTheCheckerboard();
    void opensTheFileItIsStartedWith();
    void trayMenuOnRightClick();
    void trayPanelStartedLaterGetsTheIcon();
    void fileListKeepsOneSelection();
    void printsTheTilesAtNaturalSize();
    void secondaryWindowsAskForNoButtonsAndComeBack();
    void secondCopyKeepsTheOthersChoices();
    void unlistableDropIsNotChosen();
    void heldKeyKeepsTheWindowAnswering();
    void hostilePictureKeepsTheWindowAnswering();

private:
    // The main window's client area on the screen.
    [[nodiscard]] QRect mainArea() const;
    [[nodiscard]] std::optional<WindowId> windowOfSize(const QSize& size, int timeoutMs = WaitMs);
    [[nodiscard]] std::optional<WindowId> tileWindow(int timeoutMs = WaitMs);
    [[nodiscard]] QPoint onMain(QPoint client) const { return mainArea().topLeft() + client; }
    // Waits until the screenshot satisfies the check, which explains itself when it does not.
    [[nodiscard]] QString waitForScreen(const std::function<QString(const QImage&)>& check,
                                        int timeoutMs = WaitMs);
    void browseTo(const QString& folder);
    // Writes the test pictures into the folder, browses to it and waits until the list shows
    // them all; an empty text then, else why not.
    [[nodiscard]] QString browseToPictures(const QTemporaryDir& folder, Rows* rows);
    // Waits until the list shows the test pictures; an empty text then, else why not.
    [[nodiscard]] QString waitForListed(Rows* rows);
    // A point on the listed name of the given row, on the screen.
    [[nodiscard]] QPoint onName(const Rows& rows, int index) const;
    [[nodiscard]] QString waitForPreview(const Picture& picture);
    // Browses to a folder of pictures and waits until its names are listed.
    [[nodiscard]] Rows browseToListed(const QString& folder);
    // The mean colour of the middle of the preview, or of the tile window's client area.
    [[nodiscard]] QRgb meanColour(const QRect& area) const;
    [[nodiscard]] QRgb previewColour() const
    {
        return meanColour(
            PreviewPicture.adjusted(30, 30, -30, -30).translated(mainArea().topLeft()));
    }
    [[nodiscard]] QRgb tileColour() const
    {
        return meanColour(m_tileArea.adjusted(99, 99, -299, -199));
    }
    // Previews the first file of the folder and opens the tile window on it: false unless both
    // come to show the colour.
    [[nodiscard]] bool tileFirstFile(const QString& folder, QRgb colour);

    std::optional<WindowId> m_tile;
    QRect m_tileArea;
    // Browses to the test pictures in the folder and clicks the first name: an empty text when
    // the preview then shows its picture, else why not.
    [[nodiscard]] QString previewFirstPicture(const QTemporaryDir& folder);
    // Presses the preview and waits for the tile window to show the picture tiled.
    [[nodiscard]] QString tileShows(const Picture& picture, const QString& folder,
                                    std::optional<WindowId>* tile = nullptr);
    [[nodiscard]] bool previewEmpty();
    // Opens the options window, clicks there and applies; the window, or none when it did not
    // come and go.
    std::optional<WindowId> applyOptions(const QList<QPoint>& clicks,
                                         const std::function<void(WindowId)>& shown = {});
    // Why the window does not ask for a title bar without buttons, or does not come back when
    // minimised, or an empty text.
    [[nodiscard]] QString keptWithoutButtons(WindowId window);
    // The program's icon in the notification area.
    [[nodiscard]] std::optional<QRect> trayIcon();
    enum class Desktop { WithNotificationArea, WithoutNotificationArea, WithSessionBusOnly };
    // Starts a fresh display, desktop and program, the program with the environment and the
    // arguments given.
    void startSession(Desktop desktop, const QStringList& environment = {},
                      const QStringList& arguments = {});
    // Starts the program and waits for its main window.
    void startProgram(const QStringList& arguments = {}, const QSize& mainSize = MainSize);

    std::unique_ptr<XSession> m_session;
    WindowId m_main = 0;
};

void RealWindowTest::init()
{
    startSession(Desktop::WithNotificationArea);
}

void RealWindowTest::startSession(Desktop desktop, const QStringList& environment,
                                  const QStringList& arguments)
{
    m_session = std::make_unique<XSession>();
    m_main = 0;
    if (const QString failure = m_session->start(); !failure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no X display for real-window tests: ") + failure));
    const QString started = desktop == Desktop::WithNotificationArea
                                ? m_session->startDesktop()
                                : m_session->startWindowManager();
    QVERIFY2(started.isEmpty(), qPrintable(started));
    if (desktop == Desktop::WithSessionBusOnly)
        QCOMPARE(m_session->startSessionBus(), QString());
    for (const QString& variable : environment)
        m_session->setVariable(variable.section(QLatin1Char('='), 0, 0),
                               variable.section(QLatin1Char('='), 1));
    startProgram(arguments,
                 MainSize * (environment.contains(QLatin1String("QT_SCALE_FACTOR=2")) ? 2 : 1));
}

void RealWindowTest::startProgram(const QStringList& arguments, const QSize& mainSize)
{
    const QString program =
        m_session->startProgram(QString::fromLocal8Bit(ProgramBinary), arguments);
    QVERIFY2(program.isEmpty(), qPrintable(program));
    const std::optional<WindowId> main = windowOfSize(mainSize, 20000);
    QVERIFY2(main, qPrintable(QStringLiteral("the main window did not appear; program said: ") +
                              m_session->programOutput()));
    m_main = *main;
}

void RealWindowTest::cleanup()
{
    m_session.reset();
    m_main = 0;
}

QRect RealWindowTest::mainArea() const
{
    return m_session->geometry(m_main).value_or(QRect());
}

std::optional<WindowId> RealWindowTest::windowOfSize(const QSize& size, int timeoutMs)
{
    return m_session->waitForWindow(
        [&](WindowId window) {
            const auto area = m_session->geometry(window);
            return area && area->size() == size;
        },
        timeoutMs);
}

std::optional<WindowId> RealWindowTest::tileWindow(int timeoutMs)
{
    return m_session->waitForWindow(
        [&](WindowId window) {
            const auto frame = m_session->frameExtents(window);
            return window != m_main && frame && frame->top() > 0 &&
                   m_session->title(window) == QLatin1String("Zelvo");
        },
        timeoutMs);
}

QString RealWindowTest::waitForScreen(const std::function<QString(const QImage&)>& check,
                                      int timeoutMs)
{
    QString failure;
    XSession::waitUntil(
        [&] {
            failure = check(m_session->screenshot());
            return failure.isEmpty();
        },
        timeoutMs);
    return failure;
}

void RealWindowTest::browseTo(const QString& folder)
{
    QVERIFY(m_session->click(onMain(BrowseButton)));
    const auto dialog = m_session->waitForFolderDialog();
    QVERIFY2(dialog, "the Browse button opened no folder dialog");
    const QString chosen = m_session->chooseInFolderDialog(*dialog, folder);
    QVERIFY2(chosen.isEmpty(), qPrintable(chosen));
}

QString RealWindowTest::browseToPictures(const QTemporaryDir& folder, Rows* rows)
{
    for (const Picture& picture : Pictures) {
        if (!writePicture(picture, folder.path()))
            return QStringLiteral("could not write ") + picture.name;
    }
    browseTo(folder.path());
    const QString listed = waitForListed(rows);
    // The folder dialog is gone, and with it any settings file of its own.
    const QStringList written =
        QDir(m_session->configFolder()).entryList({QStringLiteral("*.conf")}, QDir::Files);
    if (listed.isEmpty() && written != QStringList{QStringLiteral("Zelvo.conf")})
        return QStringLiteral("settings files written: ") + written.join(QLatin1Char(' '));
    return listed;
}

QString RealWindowTest::waitForListed(Rows* rows)
{
    return waitForScreen([&](const QImage& screen) -> QString {
        const QImage window = crop(screen, mainArea());
        *rows = textRows(crop(window, FileList), FileText);
        // A selected name is drawn in other colours.
        if (rows->size() != int(std::size(Pictures))) {
            return QStringLiteral("%1 of the %2 names show unselected in the file list")
                .arg(rows->size())
                .arg(std::size(Pictures));
        }
        if (countNear(crop(window, CountLabel), CountText, 30) == 0)
            return QStringLiteral("the count label shows nothing");
        return {};
    });
}

QPoint RealWindowTest::onName(const Rows& rows, int index) const
{
    return onMain(FileList.topLeft() + QPoint(25, (rows[index].first + rows[index].second) / 2));
}

QString RealWindowTest::waitForPreview(const Picture& picture)
{
    return waitForScreen([&](const QImage& screen) {
        return stretchedMismatch(crop(screen, PreviewPicture.translated(mainArea().topLeft())),
                                 picture);
    });
}

QString RealWindowTest::previewFirstPicture(const QTemporaryDir& folder)
{
    Rows rows;
    if (const QString listed = browseToPictures(folder, &rows); !listed.isEmpty())
        return listed;
    if (!m_session->click(onName(rows, 0)))
        return QStringLiteral("cannot click the first listed name");
    return waitForPreview(Pictures[0]);
}

QString RealWindowTest::tileShows(const Picture& picture, const QString& folder,
                                  std::optional<WindowId>* tile)
{
    const QImage reference(QDir(folder).filePath(picture.name));
    if (reference.isNull())
        return QStringLiteral("cannot read ") + picture.name;
    if (!m_session->click(onMain(Preview.center())))
        return QStringLiteral("cannot press the preview");
    const std::optional<WindowId> shown = tileWindow();
    if (tile)
        *tile = shown;
    if (!shown)
        return QStringLiteral("no tile window titled \"Zelvo\" appeared");
    const QRect client = m_session->geometry(*shown).value_or(QRect());
    const QMargins frame = m_session->frameExtents(*shown).value_or(QMargins());
    if (client.size().grownBy(frame) != TileOuterSize)
        return QStringLiteral("the tile window is not of the Medium size");
    return waitForScreen([&](const QImage& screen) {
        return tiledMismatch(crop(screen, client), picture, reference);
    });
}

void RealWindowTest::startsCentredBorderlessAndSeedsTheTypes()
{
    const QRect area = mainArea();
    QCOMPARE(area.size(), MainSize);
    const std::optional<QRect> work = m_session->workArea();
    QVERIFY(work);
    QVERIFY2(qAbs(area.center().x() - work->center().x()) <= 1 &&
                 qAbs(area.center().y() - work->center().y()) <= 1,
             qPrintable(QStringLiteral("window centre (%1,%2), screen centre (%3,%4)")
                            .arg(area.center().x())
                            .arg(area.center().y())
                            .arg(work->center().x())
                            .arg(work->center().y())));
    QCOMPARE(m_session->frameExtents(m_main).value_or(QMargins(-1, -1, -1, -1)), QMargins());

    const QString drawn = waitForScreen([&](const QImage& screen) -> QString {
        const QImage window = crop(screen, area);
        const int right = window.width() - 1;
        const int bottom = window.height() - 1;
        return outlineAndGroundMismatch(window,
                                        {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom),
                                         QPoint(right, bottom), QPoint(right / 2, 0),
                                         QPoint(right / 2, bottom), QPoint(0, bottom / 2),
                                         QPoint(right, bottom / 2)},
                                        {QPoint(1, 1), QPoint(4, 200), QPoint(right - 3, 300),
                                         QPoint(250, bottom - 3), QPoint(250, 250)},
                                        {});
    });
    QVERIFY2(drawn.isEmpty(), qPrintable(drawn));

    const QString file = QDir(m_session->configFolder()).filePath(QStringLiteral("Zelvo.conf"));
    // Written once the window is on screen.
    QTRY_VERIFY2(QFile::exists(file), qPrintable(file));
    const QSettings stored(file, QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Type/Bitmap")).toString(), QStringLiteral("*.bmp;"));
    QCOMPARE(stored.value(QStringLiteral("Type/Jpg")).toString(), QStringLiteral("*.jpeg;*.jpg;"));
    QCOMPARE(stored.value(QStringLiteral("Type/Gif")).toString(), QStringLiteral("*.gif;"));
    QCOMPARE(stored.value(QStringLiteral("Type/Ico")).toString(), QStringLiteral("&;"));
}

// The main use, end to end; also on a desktop with no notification area, where the program
// has no tray icon and works all the same.
void RealWindowTest::browsesPreviewsAndTiles_data()
{
    zelvo::test::addColumns<int, bool>("index", "notificationArea");
    for (int index = 0; index < int(std::size(Pictures)); ++index)
        QTest::newRow(qPrintable(Pictures[index].name)) << index << true;
    QTest::newRow("b.gif, no notification area") << 1 << false;
}

void RealWindowTest::browsesPreviewsAndTiles()
{
    QFETCH(const int, index);
    QFETCH(const bool, notificationArea);
    if (!notificationArea) {
        startSession(Desktop::WithoutNotificationArea);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(!m_session->notificationArea());
    }
    const Picture& chosen = Pictures[index];
    QTemporaryDir folder;
    QCOMPARE(countNear(crop(m_session->screenshot(), CountLabel.translated(mainArea().topLeft())),
                       CountText, 30),
             0);
    Rows rows;
    const QString listed = browseToPictures(folder, &rows);
    QVERIFY2(listed.isEmpty(), qPrintable(listed));

    QVERIFY(m_session->click(onName(rows, index)));
    const QString previewed = waitForPreview(chosen);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));

    std::optional<WindowId> tile;
    const QString tiled = tileShows(chosen, folder.path(), &tile);
    QVERIFY2(tiled.isEmpty(), qPrintable(tiled));

    const QRect client = m_session->geometry(*tile).value_or(QRect());
    QVERIFY(m_session->click(client.topLeft() + QPoint(50, 50)));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs),
             "a press on the tiled picture did not close the tile window");
    QVERIFY(m_session->isViewable(m_main));
    const QString back = waitForScreen([&](const QImage& screen) -> QString {
        const QImage window = crop(screen, mainArea());
        return window.pixel(4, 200) == Navy && window.pixel(0, 200) == LightOrange
                   ? QString()
                   : QStringLiteral("the main window is not drawn again");
    });
    QVERIFY2(back.isEmpty(), qPrintable(back));
}

// Whatever the mouse does in the file list, the file label, the preview and the tile window
// stay with one file: only a left-button click, or a drag released on a name, selects.
void RealWindowTest::selectionPreviewAndTileAgree_data()
{
    zelvo::test::addColumns<int, int, int, int, int>("clicked", "button", "pressed", "released",
                                                     "expected");
    QTest::newRow("right click on another name") << 0 << 3 << 1 << 1 << 0;
    QTest::newRow("middle click on another name") << 0 << 2 << 2 << 2 << 0;
    QTest::newRow("left drag from one name to another") << 1 << 1 << 0 << 2 << 2;
}

void RealWindowTest::selectionPreviewAndTileAgree()
{
    QFETCH(const int, clicked);
    QFETCH(const int, button);
    QFETCH(const int, pressed);
    QFETCH(const int, released);
    QFETCH(const int, expected);
    QTemporaryDir folder;
    Rows rows;
    const QString listed = browseToPictures(folder, &rows);
    QVERIFY2(listed.isEmpty(), qPrintable(listed));
    QVERIFY(m_session->click(onName(rows, clicked)));
    const QString first = waitForPreview(Pictures[clicked]);
    QVERIFY2(first.isEmpty(), qPrintable(first));

    QVERIFY(m_session->moveMouse(onName(rows, pressed)));
    QVERIFY(m_session->mouseDown(button));
    // The view starts a drag selection at the first motion with the button held.
    QVERIFY(m_session->moveMouse(onName(rows, pressed) + QPoint(1, 1)));
    QVERIFY(m_session->moveMouse((onName(rows, pressed) + onName(rows, released)) / 2));
    QVERIFY(m_session->moveMouse(onName(rows, released)));
    QVERIFY(m_session->mouseUp(button));

    const QString previewed = waitForPreview(Pictures[expected]);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));
    const QString tiled = tileShows(Pictures[expected], folder.path());
    QVERIFY2(tiled.isEmpty(), qPrintable(tiled));
}

// A folder holding a file named like the one selected before starts with nothing selected: the
// preview stays empty and a press on it asks for a file.
void RealWindowTest::browseToSameNameSelectsNothing()
{
    QTemporaryDir first;
    QTemporaryDir second;
    const QString previewed = previewFirstPicture(first);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));

    Rows rows;
    const QString relisted = browseToPictures(second, &rows);
    QVERIFY2(relisted.isEmpty(), qPrintable(relisted));
    const QString cleared = waitForScreen([&](const QImage& screen) -> QString {
        const QImage preview = crop(screen, PreviewPicture.translated(mainArea().topLeft()));
        const int shown = preview.width() * preview.height() - countNear(preview, Navy, 8);
        return shown == 0 ? QString()
                          : QStringLiteral("the preview shows %1 pixels of a picture").arg(shown);
    });
    QVERIFY2(cleared.isEmpty(), qPrintable(cleared));

    QVERIFY(m_session->click(onMain(Preview.center())));
    const auto box = m_session->waitForWindow(
        [&](WindowId window) { return m_session->title(window) == QLatin1String("Empty file"); });
    QVERIFY2(box, "a press on the empty preview did not ask for a file");
    QVERIFY2(!tileWindow(500), "a press on the empty preview opened the tile window");
}

std::optional<QRect> RealWindowTest::trayIcon()
{
    const std::optional<QRect> tray = m_session->notificationArea();
    if (!tray)
        return std::nullopt;
    const std::optional<WindowId> icon = m_session->waitForWindow([&](WindowId window) {
        const auto area = m_session->geometry(window);
        return window != m_main && area && tray->contains(*area);
    });
    if (!icon)
        return std::nullopt;
    return m_session->geometry(*icon);
}

void RealWindowTest::trayClickHidesFlashesAndRestores()
{
    const std::optional<QRect> icon = trayIcon();
    QVERIFY2(icon, "the program put no icon in the notification area");
    const QRect iconArea = *icon;
    const QImage steady = crop(m_session->screenshot(), iconArea);

    QVERIFY(m_session->click(iconArea.center()));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(m_main); }, WaitMs),
             "a tray click did not hide the main window");

    // The icon alternates every 800 ms; over three seconds both pictures show.
    QList<QImage> seen;
    XSession::waitUntil(
        [&] {
            const QImage now = crop(m_session->screenshot(), iconArea);
            if (!seen.contains(now))
                seen.append(now);
            return seen.size() >= 2;
        },
        3000);
    QVERIFY2(seen.size() >= 2, "the tray icon does not flash while the window is in the tray");

    QVERIFY(m_session->click(iconArea.center()));
    QVERIFY2(XSession::waitUntil([&] { return m_session->isViewable(m_main); }, WaitMs),
             "a second tray click did not bring the main window back");
    QVERIFY2(XSession::waitUntil([&] { return crop(m_session->screenshot(), iconArea) == steady; },
                                 WaitMs),
             "the tray icon did not return to its steady picture");
    // Stopped flashing stays stopped for longer than two flash intervals.
    const bool changed = XSession::waitUntil(
        [&] { return crop(m_session->screenshot(), iconArea) != steady; }, 2000);
    QVERIFY2(!changed, "the tray icon still flashes with the main window shown");
}

// The tile window is modal over the main window, yet a click on the tray icon still reaches
// the program: it closes the tile window and puts the main window in the tray.
void RealWindowTest::trayClickReachesTheProgramUnderTheTileWindow()
{
    QTemporaryDir folder;
    Rows rows;
    const QString listed = browseToPictures(folder, &rows);
    QVERIFY2(listed.isEmpty(), qPrintable(listed));
    QVERIFY(m_session->click(onName(rows, 0)));
    const std::optional<QRect> icon = trayIcon();
    QVERIFY2(icon, "the program put no icon in the notification area");
    // The preview shows once the click has been taken; then the press opens the tile window.
    const QString previewed = waitForPreview(Pictures[0]);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));
    QVERIFY(m_session->click(onMain(Preview.center())));
    const std::optional<WindowId> tile = tileWindow();
    QVERIFY2(tile, "no tile window titled \"Zelvo\" appeared");

    QVERIFY(m_session->click(icon->center()));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs),
             "a tray click with the tile window open did not reach the program");
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(m_main); }, WaitMs),
             "the main window did not go to the tray with the tile window");

    QVERIFY(m_session->click(icon->center()));
    QVERIFY2(XSession::waitUntil([&] { return m_session->isViewable(m_main); }, WaitMs),
             "the next tray click did not bring the main window back");
    QVERIFY2(!tileWindow(500), "the tile window came back with the main window");
}

void RealWindowTest::titleDragMovesTheWindow()
{
    const QRect before = mainArea();
    const QPoint grip = onMain(TitleArtwork.topLeft() + QPoint(60, 15));

    // Moving across the artwork with no button held leaves the window where it is.
    QVERIFY(m_session->moveMouse(grip));
    QVERIFY(m_session->moveMouse(grip + QPoint(40, 10)));
    QVERIFY(m_session->moveMouse(grip + QPoint(100, 60)));
    QTest::qWait(300);
    QCOMPARE(mainArea().topLeft(), before.topLeft());

    // The move starts at the first motion with the button held, so that one is small.
    QVERIFY(m_session->moveMouse(grip));
    QVERIFY(m_session->mouseDown());
    QVERIFY(m_session->moveMouse(grip + QPoint(1, 1)));
    for (int step = 1; step <= 10; ++step)
        QVERIFY(m_session->moveMouse(grip + QPoint(10 * step, 6 * step)));
    QVERIFY(m_session->mouseUp());

    const QPoint expected = before.topLeft() + QPoint(100, 60);
    const bool moved = XSession::waitUntil(
        [&] { return (mainArea().topLeft() - expected).manhattanLength() <= 6; }, WaitMs);
    QVERIFY2(moved, qPrintable(QStringLiteral("window at (%1,%2) after the drag, expected (%3,%4)")
                                   .arg(mainArea().x())
                                   .arg(mainArea().y())
                                   .arg(expected.x())
                                   .arg(expected.y())));
    QVERIFY2(!windowOfSize(AboutSize, 500), "a drag of the title artwork opened the about box");

    // The move ended with the release: the pointer moving on leaves the window where it is. On a
    // loaded machine the drag's last moves may still be on their way, so the place is taken once
    // it holds still.
    QRect after = mainArea();
    XSession::waitUntil(
        [&] {
            QTest::qWait(300);
            const QRect now = mainArea();
            const bool still = now.topLeft() == after.topLeft();
            after = now;
            return still;
        },
        WaitMs);
    const QPoint released = grip + QPoint(100, 60);
    for (int step = 1; step <= 5; ++step)
        QVERIFY(m_session->moveMouse(released + QPoint(-25 * step, 20 * step)));
    const bool followed =
        XSession::waitUntil([&] { return mainArea().topLeft() != after.topLeft(); }, 1500);
    QVERIFY2(!followed, qPrintable(QStringLiteral("the window followed the pointer to (%1,%2) "
                                                  "after the button was released")
                                       .arg(mainArea().x())
                                       .arg(mainArea().y())));

    // And the next click is the program's: on the title artwork it opens the about box.
    QVERIFY(m_session->click(onMain(TitleArtwork.center())));
    QVERIFY2(windowOfSize(AboutSize), "the first click after a drag did not reach the program");
}

void RealWindowTest::titleClickShowsTheAboutBox()
{
    QVERIFY(m_session->click(onMain(TitleArtwork.center())));
    const std::optional<WindowId> about = windowOfSize(AboutSize);
    QVERIFY2(about, "a click on the title artwork showed no 315 x 306 window");
    QCOMPARE(m_session->frameExtents(*about).value_or(QMargins(-1, -1, -1, -1)), QMargins());
    const QRect area = m_session->geometry(*about).value_or(QRect());

    const QString drawn = waitForScreen([&](const QImage& screen) -> QString {
        const QImage box = crop(screen, area);
        const int right = box.width() - 1;
        const int bottom = box.height() - 1;
        return outlineAndGroundMismatch(
            box,
            {QPoint(0, 0), QPoint(right, bottom), QPoint(right / 2, 0), QPoint(right / 2, bottom),
             QPoint(0, bottom / 2), QPoint(right, bottom / 2)},
            {QPoint(3, 3), QPoint(3, 150), QPoint(right - 3, 150)}, QStringLiteral("about "));
    });
    QVERIFY2(drawn.isEmpty(), qPrintable(drawn));

    QVERIFY(m_session->click(area.topLeft() + QPoint(3, 150)));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*about); }, WaitMs),
             "a click on the about box did not close it");

    // The main window takes input again: the Browse button opens the folder dialog.
    QVERIFY(m_session->click(onMain(BrowseButton)));
    const auto dialog = m_session->waitForFolderDialog();
    QVERIFY2(dialog, "the main window did not take input after the about box closed");
}

// With twice the device pixels to a pixel, the title shows the artwork drawn at twice its size,
// not the declared picture smoothed up.
void RealWindowTest::titleArtworkIsDrawnAtTwiceTheSize()
{
    startSession(Desktop::WithNotificationArea, {QStringLiteral("QT_SCALE_FACTOR=2")});
    if (QTest::currentTestFailed())
        return;
    const QImage drawn = QImage(QStringLiteral(ZELVO_RESOURCES_DIR "/title@2x.bmp"))
                             .convertToFormat(QImage::Format_RGB32);
    const QImage declared(QStringLiteral(ZELVO_RESOURCES_DIR "/title.bmp"));
    QCOMPARE(drawn.size(), declared.size() * 2);
    const QImage enlarged =
        declared.scaled(drawn.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .convertToFormat(QImage::Format_RGB32);
    // The two must tell apart for the check below to mean anything.
    QVERIFY(differingPixels(drawn, enlarged, 16) > drawn.width() * drawn.height() / 10);

    const QRect title(mainArea().topLeft() + TitleArtwork.topLeft() * 2, TitleArtwork.size() * 2);
    const QString shown = waitForScreen([&](const QImage& screen) -> QString {
        const QImage onScreen = crop(screen, title);
        const int fromDrawing = differingPixels(onScreen, drawn, 2);
        if (fromDrawing == 0)
            return {};
        return QStringLiteral("%1 pixels of the title differ from the drawing at twice the size, "
                              "%2 from the declared picture smoothed up")
            .arg(fromDrawing)
            .arg(differingPixels(onScreen, enlarged, 2));
    });
    QVERIFY2(shown.isEmpty(), qPrintable(shown));
}

// The tile window's keys on the real program: zoom in whole pixel squares, guides on the copies'
// edges, the view copied to the clipboard, the next file of the list, a new version of the file
// saved over it by another program, and Esc; then the preview shows what the tile window did.
void RealWindowTest::tileWindowKeysAndNewVersions()
{
    QTemporaryDir folder;
    const QString previewed = previewFirstPicture(folder);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));
    std::optional<WindowId> tile;
    const QString tiled = tileShows(Pictures[0], folder.path(), &tile);
    QVERIFY2(tiled.isEmpty(), qPrintable(tiled));
    const QRect client = m_session->geometry(*tile).value_or(QRect());
    const QImage picture(QDir(folder.path()).filePath(Pictures[0].name));

    QVERIFY(m_session->key(QStringLiteral("plus")));
    const QImage doubled =
        picture.scaled(picture.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    QString shown = waitForScreen([&](const QImage& screen) {
        return tiledMismatch(crop(screen, client), Pictures[0], doubled);
    });
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("at 200%: ") + shown));

    QVERIFY(m_session->key(QStringLiteral("0")));
    QVERIFY(m_session->key(QStringLiteral("g")));
    const int width = picture.width();
    shown = waitForScreen([&](const QImage& screen) -> QString {
        const QImage view = crop(screen, client);
        QSet<QRgb> onGuide;
        for (int y = 0; y < 40; ++y) {
            for (int copy = 1; copy <= 3; ++copy)
                onGuide.insert(view.pixel(copy * width - 1, y));
            // The last row of each copy holds the guide across.
            const bool acrossGuide = (y + 1) % picture.height() == 0;
            if (!acrossGuide &&
                view.pixel(width - 2, y) != picture.pixel(width - 2, y % picture.height())) {
                return QStringLiteral("(%1,%2) before a guide shows %3, the picture %4")
                    .arg(width - 2)
                    .arg(y)
                    .arg(describe(view.pixel(width - 2, y)),
                         describe(picture.pixel(width - 2, y % picture.height())));
            }
        }
        return onGuide == QSet<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}
                   ? QString()
                   : QStringLiteral("no dashed guide on the copies' right edges");
    });
    QVERIFY2(shown.isEmpty(), qPrintable(shown));
    QVERIFY(m_session->key(QStringLiteral("g")));

    QVERIFY(m_session->key(QStringLiteral("ctrl+c")));
    const QString pasted = QDir(folder.path()).filePath(QStringLiteral("pasted.png"));
    QImage copied;
    XSession::waitUntil(
        [&] {
            (void)m_session->tool(
                QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("xclip -selection clipboard -t image/png -o > ") + pasted});
            copied = QImage(pasted);
            return !copied.isNull();
        },
        WaitMs);
    QVERIFY2(!copied.isNull(), "the clipboard holds no picture after Ctrl+C");
    QCOMPARE(copied.size(), client.size());
    const QString copiedView =
        tiledMismatch(copied.convertToFormat(QImage::Format_RGB32), Pictures[0], picture);
    QVERIFY2(copiedView.isEmpty(), qPrintable(copiedView));

    QVERIFY(m_session->key(QStringLiteral("Right")));
    const QImage second(QDir(folder.path()).filePath(Pictures[1].name));
    shown = waitForScreen([&](const QImage& screen) {
        return tiledMismatch(crop(screen, client), Pictures[1], second);
    });
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("after Right: ") + shown));

    // A version cut short, written in place, leaves the picture on show; the whole one, saved
    // aside and renamed over the file as editors do, shows.
    const Picture newVersion{Pictures[1].name, {3, 2}, {6, 4}, 0};
    QTemporaryDir aside;
    QVERIFY(writePicture(newVersion, aside.path()));
    QFile whole(QDir(aside.path()).filePath(newVersion.name));
    QVERIFY(whole.open(QIODevice::ReadOnly));
    QVERIFY(zelvo::test::writeBytes(QDir(folder.path()).filePath(newVersion.name),
                                    whole.readAll().chopped(1)));
    QTest::qWait(1500);
    shown = tiledMismatch(crop(m_session->screenshot(), client), Pictures[1], second);
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("a version cut short: ") + shown));
    QVERIFY(std::rename(qPrintable(QDir(aside.path()).filePath(newVersion.name)),
                        qPrintable(QDir(folder.path()).filePath(newVersion.name))) == 0);
    const QImage third(QDir(folder.path()).filePath(newVersion.name));
    shown = waitForScreen([&](const QImage& screen) {
        return tiledMismatch(crop(screen, client), newVersion, third);
    });
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("after a new version: ") + shown));

    QVERIFY(m_session->key(QStringLiteral("Escape")));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs),
             "Esc did not close the tile window");
    QVERIFY(m_session->isViewable(m_main));
    // The preview, hidden behind the tile window until now, followed to the next file and its
    // new version.
    const QString followed = waitForPreview(newVersion);
    QVERIFY2(followed.isEmpty(), qPrintable(QStringLiteral("after Esc: ") + followed));
}

// R steps to the half-drop, every other column of copies shifted down by half a copy; B, three
// times, to the checkerboard behind the transparent parts of a PNG.
void RealWindowTest::halfDropOnTheCheckerboard()
{
    QTemporaryDir folder;
    const Picture cells{QStringLiteral("p.png"), {5, 4}, {6, 5}, 0};
    QImage picture = cells.image().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        picture.setPixel(y % 6, y, qRgba(0, 0, 0, 0));
    QVERIFY(picture.save(folder.filePath(cells.name)));
    startSession(Desktop::WithNotificationArea, {}, {folder.filePath(cells.name)});
    QVERIFY(!QTest::currentTestFailed());
    QVERIFY(waitForScreen([&](const QImage& screen) {
                const QRgb middle = screen.pixel(onMain(PreviewPicture.center()));
                return near(middle, cells.colour(2, 2), 24) ? QString() : describe(middle);
            }).isEmpty());
    QVERIFY(m_session->click(onMain(Preview.center())));
    const std::optional<WindowId> tile = tileWindow();
    QVERIFY(tile);
    const QRect client = m_session->geometry(*tile).value_or(QRect());
    const auto halfDrop = [&](bool checkerboard) {
        return [&, checkerboard](const QImage& screen) -> QString {
            const QImage view = crop(screen, client);
            for (int y = 0; y < view.height(); ++y) {
                for (int x = 0; x < view.width(); ++x) {
                    QRgb expected = picture.pixel(x % 30, (y + 20 - (x / 30) % 2 * 10) % 20);
                    if (qAlpha(expected) == 0 && checkerboard)
                        expected = (x / 8 + y / 8) % 2 == 0 ? 0xffcccccc : 0xff999999;
                    if (!PrintButton.contains(x, y) && qAlpha(expected) != 0 &&
                        view.pixel(x, y) != expected)
                        return QString::asprintf("(%d,%d) is #%06x", x, y,
                                                 view.pixel(x, y) & 0xffffffu);
                }
            }
            return QString();
        };
    };
    QVERIFY(m_session->key(QStringLiteral("r")));
    QCOMPARE(waitForScreen(halfDrop(false)), QString());
    for (int i = 0; i < 3; ++i)
        QVERIFY(m_session->key(QStringLiteral("b")));
    QCOMPARE(waitForScreen(halfDrop(true)), QString());
}

// As a file manager's "Open With" starts it: the file is listed in its folder, selected and
// previewed, and a name that does not exist is reported. The next start lists that folder.
void RealWindowTest::opensTheFileItIsStartedWith()
{
    QTemporaryDir folder;
    for (const Picture& picture : Pictures)
        QVERIFY(writePicture(picture, folder.path()));
    const QString missing = folder.filePath(QStringLiteral("gone.bmp"));
    startSession(Desktop::WithNotificationArea, {}, {missing, folder.filePath(Pictures[1].name)});
    if (QTest::currentTestFailed())
        return;
    QString shown = waitForPreview(Pictures[1]);
    QVERIFY2(shown.isEmpty(), qPrintable(shown));
    QVERIFY2(m_session->programOutput().contains("zelvo: no such file or folder: " + missing),
             qPrintable(m_session->programOutput()));
    QVERIFY(m_session->click(onMain(ExitButton)));
    QVERIFY(XSession::waitUntil([&] { return !m_session->programRunning(); }, WaitMs));

    startProgram();
    Rows rows;
    shown = waitForListed(&rows);
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("at the next start: ") + shown));
}

// A right click on the icon opens the tray menu and leaves the main window as it was; its Exit
// ends the program.
void RealWindowTest::trayMenuOnRightClick()
{
    const std::optional<QRect> icon = trayIcon();
    QVERIFY2(icon, "the program put no icon in the notification area");
    QVERIFY(m_session->click(icon->center(), 3));
    const std::optional<WindowId> menu = m_session->waitForWindow([&](WindowId window) {
        const auto area = m_session->geometry(window);
        return window != m_main && area && !icon->contains(*area);
    });
    QVERIFY2(menu, "a right click on the tray icon opened no menu");
    QVERIFY(m_session->isViewable(m_main));

    // Exit is the menu's last entry.
    const QRect area = m_session->geometry(*menu).value_or(QRect());
    QVERIFY(m_session->click(QPoint(area.center().x(), area.bottom() - 8)));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->programRunning(); }, WaitMs),
             "Exit in the tray menu did not end the program");
}

// An X11 desktop whose only panel, a StatusNotifierItem host, starts after the program: the icon
// registers there, and its click puts the main window in the tray, whose menu then offers Show.
void RealWindowTest::trayPanelStartedLaterGetsTheIcon()
{
    startSession(Desktop::WithSessionBusOnly);
    if (QTest::currentTestFailed())
        return;
    const auto said = m_session->tool(QStringLiteral("/usr/bin/python3"),
                                      {QStringLiteral(ZELVO_TRAY_HOST_SCRIPT)});
    QVERIFY2(said, "the tray icon did not register with a panel started after the program");
    QCOMPARE(said->split(QLatin1Char('\n'), Qt::SkipEmptyParts).value(2),
             QStringLiteral("Show|Options|About||Exit"));
}

bool RealWindowTest::previewEmpty()
{
    const QImage preview =
        crop(m_session->screenshot(), PreviewPicture.translated(mainArea().topLeft()));
    return countNear(preview, Navy, 8) == preview.width() * preview.height();
}

std::optional<WindowId> RealWindowTest::applyOptions(const QList<QPoint>& clicks,
                                                     const std::function<void(WindowId)>& shown)
{
    const auto options = m_session->click(onMain(OptionsButton))
                             ? m_session->waitForWindow([&](WindowId window) {
                                   return m_session->title(window) == QLatin1String("Options");
                               })
                             : std::nullopt;
    if (!options)
        return std::nullopt;
    if (shown)
        shown(*options);
    for (const QPoint click : clicks + QList<QPoint>{ApplyButton})
        (void)m_session->click(m_session->geometry(*options).value_or(QRect()).topLeft() + click);
    const bool applied = XSession::waitUntil(
        [&] { return !m_session->isViewable(*options) && m_session->isViewable(m_main); }, WaitMs);
    return applied ? options : std::nullopt;
}

QString RealWindowTest::keptWithoutButtons(WindowId window)
{
    const QString id = QString::number(window);
    // Functions and decorations given: moving only; a border and a title bar only.
    const auto hints = m_session->tool(QStringLiteral("xprop"), {"-id", id, "_MOTIF_WM_HINTS"});
    if (!hints || !hints->contains(QLatin1String("= 0x3, 0x4, 0xa,")))
        return QStringLiteral("asks for ") + hints.value_or(QString()).trimmed();
    (void)m_session->tool(QStringLiteral("xdotool"), {"windowminimize", id});
    XSession::waitUntil([&] { return !m_session->isWhollyShown(window); }, 3000);
    const bool back = XSession::waitUntil([&] { return m_session->isWhollyShown(window); }, WaitMs);
    return back ? QString() : QStringLiteral("minimised, it stays out of sight");
}

// One selection, whatever the mouse and the keys do: a click below the names, Ctrl+click and
// Ctrl+Space on the selected name keep it; a press whose release went to the folder dialog
// leaves nothing held; and once Options -> Apply has cleared the preview, a new version of the
// file still selected does not bring it back.
void RealWindowTest::fileListKeepsOneSelection()
{
    QTemporaryDir folder;
    Rows rows;
    const QString listed = browseToPictures(folder, &rows);
    QVERIFY2(listed.isEmpty(), qPrintable(listed));
    // Why, after the step, the preview and then the tile window do not show the picture.
    const auto shows = [&](const Picture& picture, const std::function<bool()>& step) -> QString {
        std::optional<WindowId> tile;
        QString failure = step() ? waitForPreview(picture) : QStringLiteral("cannot do it");
        if (failure.isEmpty())
            failure = tileShows(picture, folder.path(), &tile);
        if (failure.isEmpty() && m_session->key(QStringLiteral("Escape")))
            XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs);
        return failure;
    };
    const auto ctrlClick = [&] {
        return m_session->moveMouse(onName(rows, 0)) &&
               m_session->tool(QStringLiteral("xdotool"),
                               {"keydown", "ctrl", "click", "1", "keyup", "ctrl"});
    };
    const QList<std::pair<const char*, std::function<bool()>>> keepingSteps{
        {"a click", [&] { return m_session->click(onName(rows, 0)); }},
        {"a click below the names",
         [&] { return m_session->click(onMain(FileList.topLeft() + QPoint(25, 90))); }},
        {"Ctrl+click", ctrlClick},
        {"Ctrl+Space", [&] { return m_session->key(QStringLiteral("ctrl+space")); }}};
    for (const auto& [name, step] : keepingSteps) {
        const QString shown = shows(Pictures[0], step);
        QVERIFY2(shown.isEmpty(), qPrintable(QLatin1String(name) + QStringLiteral(": ") + shown));
    }

    QVERIFY(m_session->moveMouse(onName(rows, 1)) && m_session->mouseDown());
    QVERIFY(m_session->tool(QStringLiteral("xdotool"), {"key", "Return"}));
    const auto chooser = m_session->waitForFolderDialog();
    QVERIFY2(chooser, "Enter opened no folder dialog");
    QVERIFY(m_session->mouseUp() && m_session->key(QStringLiteral("Escape")));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*chooser); }, WaitMs));
    const QString shown =
        shows(Pictures[2], [&] { return m_session->key(QStringLiteral("Down")); });
    QVERIFY2(shown.isEmpty(), qPrintable(QStringLiteral("Down after a press: ") + shown));

    QVERIFY2(applyOptions({}), "Options -> Apply did not return to the main window");
    QVERIFY2(XSession::waitUntil([&] { return previewEmpty(); }, WaitMs), "Apply kept the preview");
    const Picture newVersion{Pictures[2].name, {3, 2}, {6, 4}, 12};
    QTemporaryDir aside;
    QVERIFY(writePicture(newVersion, aside.path()));
    QVERIFY(std::rename(qPrintable(QDir(aside.path()).filePath(newVersion.name)),
                        qPrintable(QDir(folder.path()).filePath(newVersion.name))) == 0);
    QVERIFY2(!XSession::waitUntil([&] { return !previewEmpty(); }, 3000),
             "a new version of the file brought the cleared preview back");
}

// Print puts the picture on paper tiled at its natural size over the client area, whatever the
// zoom, guides, seam marks and zoom level on screen.
void RealWindowTest::printsTheTilesAtNaturalSize()
{
    zelvo::test::PrivateCups cups;
    if (!cups.start())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + cups.failure()));
    const QString pdf = cups.folder() + QStringLiteral("/out/page.pdf");
    QVERIFY(cups.addPdfQueue(QStringLiteral("zelvo-pdf"), pdf));
    // The Small tile window fits on the page at its size on screen.
    QTemporaryDir config;
    QVERIFY(zelvo::test::writeBytes(config.filePath(QStringLiteral("Zelvo.conf")),
                                    "[Size]\nSmall=1\nMid=0\nBig=0\n"));
    const QProcessEnvironment service = cups.clientEnvironment();
    QStringList environment{QStringLiteral("XDG_CONFIG_HOME=") + config.path()};
    for (const QString& name : {QStringLiteral("CUPS_SERVER"), QStringLiteral("CUPS_SERVERROOT")})
        environment << name + QLatin1Char('=') + service.value(name);
    startSession(Desktop::WithNotificationArea, environment);
    QTemporaryDir folder;
    Rows rows;
    QVERIFY(!QTest::currentTestFailed() && browseToPictures(folder, &rows).isEmpty());
    QVERIFY(m_session->click(onName(rows, 1)) && waitForPreview(Pictures[1]).isEmpty());
    QVERIFY(m_session->click(onMain(Preview.center())));
    const std::optional<WindowId> tile = tileWindow();
    QVERIFY(tile);
    const QRect client = m_session->geometry(*tile).value_or(QRect());
    const QImage picture = Pictures[1].image();
    // Above the Print button: whether the picture is shown at 100%.
    const auto natural = [&](const QImage& screen) {
        return tiledMismatch(crop(screen, client.adjusted(0, 0, 0, -60)), Pictures[1], picture);
    };
    QVERIFY(waitForScreen(natural).isEmpty());
    for (const char* key : {"plus", "g", "s"})
        QVERIFY(m_session->key(QLatin1String(key)));
    QVERIFY(waitForScreen([&](const QImage& screen) {
                return natural(screen).isEmpty() ? QStringLiteral("shown at 100%") : QString();
            }).isEmpty());
    QVERIFY(m_session->click(client.topLeft() + QPoint(312, 378)));
    QVERIFY(QTest::qWaitFor(
        [&] { return !zelvo::test::jobIds(QStringLiteral("completed"), service).isEmpty(); },
        60000));
    QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                               {"-r", "96", "-png", "-singlefile", pdf, pdf}),
             0);
    const QImage page = QImage(pdf + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
    const QPoint origin(qRound(zelvo::test::PdfQueuePrintableLeft * 96 / 72),
                        qRound(zelvo::test::PdfQueuePrintableTop * 96 / 72));
    int wrong = 0;
    for (int y = 0; y < client.height(); ++y) {
        for (int x = 0; x < client.width(); ++x) {
            // Inside the picture's cells of 5 x 5 pixels, whatever the page's resampling at
            // their edges; its colours stray a little.
            const bool inside = x % 5 != 0 && x % 5 != 4 && y % 5 != 0 && y % 5 != 4;
            const QRgb expected = picture.pixel(x % picture.width(), y % picture.height());
            wrong += inside && !near(page.pixel(origin + QPoint(x, y)), expected, 4) ? 1 : 0;
        }
    }
    QCOMPARE(wrong, 0);
}

// The tile and options windows ask for a title bar without buttons; a window manager that
// minimises either all the same (openbox keeps the buttons) finds it back at once, so that the
// program is never left blocked or out of sight.
void RealWindowTest::secondaryWindowsAskForNoButtonsAndComeBack()
{
    QTemporaryDir folder;
    std::optional<WindowId> tile;
    QVERIFY(previewFirstPicture(folder).isEmpty());
    QVERIFY(tileShows(Pictures[0], folder.path(), &tile).isEmpty());
    const QString tileKept = keptWithoutButtons(*tile);
    QVERIFY2(tileKept.isEmpty(), qPrintable(QStringLiteral("the tile window: ") + tileKept));
    QVERIFY(XSession::waitUntil([&] { return m_session->isViewable(m_main); }, WaitMs));
    // And it takes a press again.
    QVERIFY(m_session->click(m_session->geometry(*tile).value_or(QRect()).center()));
    QVERIFY(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs));

    QString optionsKept;
    QVERIFY(applyOptions({}, [&](WindowId options) { optionsKept = keptWithoutButtons(options); }));
    QVERIFY2(optionsKept.isEmpty(),
             qPrintable(QStringLiteral("the options window: ") + optionsKept));
}

// Two copies share one settings file: one that applies a size neither shows the types the other
// applied as they were before nor writes them back.
void RealWindowTest::secondCopyKeepsTheOthersChoices()
{
    QVERIFY(m_session->startProgram(QString::fromLocal8Bit(ProgramBinary)).isEmpty());
    const std::optional<WindowId> second = windowOfSize(MainSize);
    QVERIFY(second && m_session->activate(*second));
    QVERIFY2(applyOptions({IcoBox}), "the second copy did not apply icons on");
    m_session->endProgram();
    QVERIFY2(applyOptions({LargeOption}), "the first copy did not apply the large size");
    const QSettings stored(QDir(m_session->configFolder()).filePath(QStringLiteral("Zelvo.conf")),
                           QSettings::IniFormat);
    QCOMPARE(stored.value(QStringLiteral("Type/Ico")).toString(), QStringLiteral("*.ico;"));
    QCOMPARE(stored.value(QStringLiteral("Size/Big")).toString(), QStringLiteral("1"));
}

// A folder dragged from another program that cannot be listed is not taken as chosen: the list
// keeps its folder, and a name clicked there is that folder's file. The drop copies.
void RealWindowTest::unlistableDropIsNotChosen()
{
    QTemporaryDir folder;
    Rows rows;
    QVERIFY(browseToPictures(folder, &rows).isEmpty());
    // The same name in a folder whose files open but cannot be listed.
    const QString locked = QDir(folder.path()).filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked) && writePicture({Pictures[0].name, {3, 2}, {6, 4}, 0}, locked));
    QVERIFY(QFile::setPermissions(locked, QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
    const auto unlock = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });

    QVERIFY(m_session->startProgram(QStringLiteral(DRAG_SOURCE), {locked}).isEmpty());
    const std::optional<WindowId> source = windowOfSize(QSize(120, 120));
    QVERIFY2(source, "the drag source showed no window");
    const QPoint from = m_session->geometry(*source).value_or(QRect()).center();
    QVERIFY(m_session->moveMouse(from) && m_session->mouseDown());
    for (int step = 1; step <= 8; ++step)
        QVERIFY(m_session->moveMouse(from + (onMain(FileList.center()) - from) * step / 8));
    QVERIFY(m_session->mouseUp());
    QString taken;
    const bool copied = XSession::waitUntil(
        [&] {
            return (taken += m_session->programOutput()).split(QLatin1Char('\n')).contains("1");
        },
        WaitMs);
    QVERIFY2(copied, qPrintable(QStringLiteral("the drop was not taken as a copy: ") + taken));

    std::optional<QString> box;
    XSession::waitUntil(
        [&] {
            return (box = m_session->tool(QStringLiteral("xdotool"),
                                          {"search", "--onlyvisible", "--name", "^Error$"}))
                .has_value();
        },
        WaitMs);
    QVERIFY2(box, "the folder that cannot be listed showed no error");
    QVERIFY(m_session->activate(box->trimmed().toULongLong()));
    QVERIFY(m_session->key(QStringLiteral("Return")) && m_session->click(onName(rows, 0)));
    const QString previewed = waitForPreview(Pictures[0]);
    QVERIFY2(previewed.isEmpty(), qPrintable(previewed));
}

Rows RealWindowTest::browseToListed(const QString& folder)
{
    browseTo(folder);
    Rows rows;
    (void)waitForScreen([&](const QImage& screen) -> QString {
        rows = textRows(crop(crop(screen, mainArea()), FileList), FileText);
        return rows.isEmpty() ? QStringLiteral("nothing listed") : QString();
    });
    return rows;
}

QRgb RealWindowTest::meanColour(const QRect& area) const
{
    return crop(m_session->screenshot(), area)
        .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .pixel(0, 0);
}

bool RealWindowTest::tileFirstFile(const QString& folder, QRgb colour)
{
    const auto check = [colour](QRgb shown) { return near(shown, colour, 8); };
    const Rows rows = browseToListed(folder);
    if (rows.isEmpty() || !m_session->click(onName(rows, 0)) ||
        !XSession::waitUntil([&] { return check(previewColour()); }, WaitMs) ||
        !m_session->click(onMain(Preview.center())) || !(m_tile = tileWindow()))
        return false;
    m_tileArea = m_session->geometry(*m_tile).value_or(QRect());
    return XSession::waitUntil([&] { return check(tileColour()); }, WaitMs);
}

// Right held down in the tile window over large bitmaps: the program answers all along, the tile
// window ends on the file the selection stands on soon after the key is released, and Esc then
// closes it at once, with no step left to move the main window's list afterwards.
void RealWindowTest::heldKeyKeepsTheWindowAnswering()
{
    QTemporaryDir sources;
    QTemporaryDir folder;
    const QList<QRgb> colours{qRgb(200, 40, 40), qRgb(40, 170, 40), qRgb(50, 60, 210)};
    for (int i = 0; i < 3; ++i) {
        QImage picture(3000, 2000, QImage::Format_RGB888);
        picture.fill(colours[i]);
        QVERIFY(picture.save(sources.filePath(QString::number(i)), "BMP"));
    }
    // Many large files, each a link to one of the three.
    for (int n = 0; n < 80; ++n) {
        const QString name = QStringLiteral("p%1.bmp").arg(n, 3, 10, QLatin1Char('0'));
        QCOMPARE(::link(qPrintable(sources.filePath(QString::number(n % 3))),
                        qPrintable(folder.filePath(name))),
                 0);
    }
    QVERIFY(tileFirstFile(folder.path(), colours[0]));

    WindowPing ping(m_session->display(), m_main);
    const QString xdotool = QStringLiteral("xdotool");
    QVERIFY(m_session->tool(xdotool, {QStringLiteral("keydown"), QStringLiteral("Right")}));
    QTest::qWait(3000);
    QVERIFY(m_session->tool(xdotool, {QStringLiteral("keyup"), QStringLiteral("Right")}));
    // The same file on three screenshots in a row, far longer than a load takes.
    QRgb shown = 0;
    int alike = 0;
    QVERIFY2(XSession::waitUntil(
                 [&] {
                     const QRgb now = tileColour();
                     alike = near(now, shown, 8) ? alike + 1 : 0;
                     shown = now;
                     return alike >= 2 && std::any_of(colours.begin(), colours.end(),
                                                      [&](QRgb c) { return near(now, c, 8); });
                 },
                 WaitMs),
             "the tile window did not settle on a file after the key was released");
    QVERIFY(m_session->key(QStringLiteral("Escape")));
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*m_tile); }, 2000),
             "Esc did not close the tile window at once");
    QVERIFY2(XSession::waitUntil([&] { return near(previewColour(), shown, 8); }, 2000),
             "the preview does not show the file the tile window ended on");
    QTest::qWait(1000);
    QVERIFY2(near(previewColour(), shown, 8), "the list moved on after the tile window closed");
    QVERIFY2(ping.longestWaitMs() < AnswerMs, qPrintable(QString::number(ping.longestWaitMs())));
}

// A picture made to take a second of the decoder's work: the program answers all along while the
// preview and then the tile window try it, a click on another name is taken at once, and the
// tile window closes by itself once the load has failed.
void RealWindowTest::hostilePictureKeepsTheWindowAnswering()
{
    QTemporaryDir folder;
    for (const zelvo::test::BadPicture& picture : zelvo::test::badPictures()) {
        if (picture.name == QLatin1String("hostile-bit-by-bit-10900.jpg"))
            QVERIFY(
                zelvo::test::writeBytes(folder.filePath(QStringLiteral("a.jpg")), picture.bytes));
    }
    QImage good(64, 64, QImage::Format_RGB32);
    good.fill(Qt::green);
    QVERIFY(good.save(folder.filePath(QStringLiteral("b.bmp"))));
    const Rows rows = browseToListed(folder.path());
    QCOMPARE(rows.size(), 2);

    WindowPing ping(m_session->display(), m_main);
    QVERIFY(m_session->click(onName(rows, 0)));
    QVERIFY(m_session->click(onName(rows, 1)));
    QVERIFY2(XSession::waitUntil([&] { return near(previewColour(), good.pixel(0, 0), 8); }, 1000),
             "a click on another name did not take the place of the slow load");
    QVERIFY(m_session->click(onName(rows, 0)));
    QVERIFY(m_session->click(onMain(Preview.center())));
    const std::optional<WindowId> tile = tileWindow();
    QVERIFY2(tile, "the tile window did not open");
    QVERIFY2(XSession::waitUntil([&] { return !m_session->isViewable(*tile); }, WaitMs),
             "the tile window did not close once the picture could not be loaded");
    QVERIFY2(ping.longestWaitMs() < AnswerMs, qPrintable(QString::number(ping.longestWaitMs())));
}

QTEST_GUILESS_MAIN(RealWindowTest)
#include "tst_realwindow.moc"
