// Printing the tile window through the real print system. Each case starts a CUPS service of its
// own and runs the program's part in a child process (this executable again) whose CUPS client
// talks to that service alone: CUPS fixes its server when first used.

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "core/PagePlacement.h"
#include "desktop/DesktopPlatform.h"
#include "print/CupsTools.h"
#include "print/PrivateCups.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/IsolatedSettings.h"
#include "support/MainControls.h"
#include "support/TestPlatform.h"
#include "tile/SwatchPrinter.h"
#include "tile/TileWindow.h"
#include "widgets/FileListBox.h"
#include "widgets/TrayIcon.h"

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <array>
#include <memory>

#include <pwd.h>
#include <unistd.h>

using namespace zelvo;

namespace {

constexpr char ChildFlag[] = "--inside-print-service";
constexpr char OutputVariable[] = "ZELVO_TEST_PRINT_OUTPUT";
const QString CantPrint = QStringLiteral("Can't be printed.");

// The picture: 48 x 32 pixels in four 24 x 16 blocks of clearly different colours, none of them
// near white or the button's grey.
constexpr int PictureWidth = 48;
constexpr int PictureHeight = 32;
const std::array<QColor, 4> Blocks{QColor(200, 20, 30), QColor(20, 150, 40), QColor(30, 50, 210),
                                   QColor(240, 200, 0)};

[[nodiscard]] QColor pictureColourAt(QPoint screen)
{
    const int x = screen.x() % PictureWidth;
    const int y = screen.y() % PictureHeight;
    return Blocks[(y < PictureHeight / 2 ? 0 : 2) + (x < PictureWidth / 2 ? 0 : 1)];
}

// Points this far from a block edge show one block's colour whatever the page's resampling.
[[nodiscard]] bool clearOfBlockEdges(QPoint screen)
{
    const int x = screen.x() % (PictureWidth / 2);
    const int y = screen.y() % (PictureHeight / 2);
    return x >= 1 && x <= PictureWidth / 2 - 2 && y >= 1 && y <= PictureHeight / 2 - 2;
}

[[nodiscard]] bool near(QColor a, QColor b, int tolerance = 16)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

[[nodiscard]] QString describe(QColor colour)
{
    return colour.name();
}

// The account the tests run under, as CUPS names the sender of a job.
[[nodiscard]] QString userName()
{
    const passwd* account = getpwuid(geteuid());
    return account ? QString::fromLocal8Bit(account->pw_name) : QString();
}

// Answers message boxes as the test platform does, but prints through the real print system.
class PrintingPlatform : public test::TestPlatform
{
public:
    bool printPage(const QImage& image) override
    {
        printed.append(image);
        return DesktopPlatform().printPage(image);
    }
};

// The program with the tile window showing the picture tiled, at the Small size so that the
// window fits on the page at its size on screen.
class TileSession
{
public:
    TileSession() : windows(store, platform)
    {
        iso.put("Size", "Small", QStringLiteral("1"));
        iso.put("Size", "Mid", QStringLiteral("0"));
        iso.put("Size", "Big", QStringLiteral("0"));
    }

    // The picture of four blocks unless another is given.
    bool open(QImage picture = {})
    {
        if (!pictures.isValid())
            return false;
        if (picture.isNull()) {
            picture = QImage(PictureWidth, PictureHeight, QImage::Format_RGB32);
            for (int y = 0; y < PictureHeight; ++y) {
                for (int x = 0; x < PictureWidth; ++x)
                    picture.setPixelColor(x, y, pictureColourAt(QPoint(x, y)));
            }
        }
        if (!picture.save(pictures.filePath(QStringLiteral("tile.bmp"))))
            return false;
        windows.start();
        MainWindow& main = windows.get<MainWindow>();
        platform.folderAnswers.push_back(pictures.path());
        main.browseForFolder();
        ui(main).fileList->setFileName(QStringLiteral("tile.bmp"));
        tile = &windows.get<TileWindow>();
        tile->show();
        if (!QTest::qWaitForWindowExposed(tile))
            return false;
        tile->showPicture(main.picturePath());
        return QTest::qWaitFor([this] { return !tile->loading(); }) &&
               windows.isLoaded<TileWindow>();
    }

    void clickPrint() const { QTest::mouseClick(tile->printButton, Qt::LeftButton); }

    const test::IsolatedSettings iso;
    SettingsStore store;
    PrintingPlatform platform;
    WindowRegistry windows;
    QTemporaryDir pictures;
    TileWindow* tile = nullptr;
};

// The part that runs inside the child process, against the service CUPS_SERVER names.
class InsidePrintService : public QObject
{
    Q_OBJECT
private slots:
    void refused();
    void unanswered_data();
    void unanswered();
    void printsPages();
    void printsSwatch();
    void refusedSwatch();
};

void InsidePrintService::refused()
{
    TileSession session;
    QVERIFY(session.open());
    const QImage before = session.tile->grab().toImage();
    bool buttonShownAtMessage = true;
    session.platform.onMessage = [&](const test::TestPlatform::Message&) {
        buttonShownAtMessage = session.tile->printButton->isVisible();
    };

    session.clickPrint();

    QCOMPARE(session.platform.printed.size(), 1);
    QCOMPARE(session.platform.messages.size(), 1);
    const test::TestPlatform::Message message = session.platform.messages.first();
    QCOMPARE(message.prompt, CantPrint);
    QCOMPARE(message.style, MessageStyle::Plain);
    QCOMPARE(message.title, QString());
    QVERIFY2(!buttonShownAtMessage, "the button is hidden while the print is tried");
    QVERIFY(session.tile->printButton->isVisible());
    QVERIFY(session.windows.isLoaded<TileWindow>());
    QVERIFY(session.tile->isVisible());
    QCOMPARE(session.tile->grab().toImage(), before);
    QCOMPARE(test::jobIds(QStringLiteral("all"), QProcessEnvironment::systemEnvironment()),
             QStringList());
}

void InsidePrintService::unanswered_data()
{
    test::addRows<bool>("trayClick", {{"left to fail", false}, {"tray clicked meanwhile", true}});
}

// A print server that takes the connection and never answers: the print fails as any other,
// and the program goes on handling events while it waits.
void InsidePrintService::unanswered()
{
    QFETCH(const bool, trayClick);
    TileSession session;
    QVERIFY(session.open());
    MainWindow& main = session.windows.get<MainWindow>();
    bool handledWhilePrinting = false;
    QObject context;
    QTimer::singleShot(0, &context, [&] {
        handledWhilePrinting =
            session.windows.isLoaded<TileWindow>() && session.tile->printButton->isHidden();
        if (trayClick)
            emit ui(main).tray->clicked();
    });

    session.clickPrint();

    QVERIFY2(handledWhilePrinting, "no event was handled while the print waited");
    QCOMPARE(session.platform.printed.size(), 1);
    if (trayClick) {
        // The tray click closed the tile window and put the main window in the tray.
        QTRY_VERIFY(!session.windows.isLoaded<TileWindow>());
        QVERIFY(!main.isVisible());
        QCOMPARE(session.platform.messages.size(), 0);
        return;
    }
    QCOMPARE(session.platform.messages.size(), 1);
    QCOMPARE(session.platform.messages.first().prompt, CantPrint);
    QVERIFY(session.tile->printButton->isVisible());
    QVERIFY(session.tile->isVisible());
}

// The page as the printer's file device stored it, drawn at `dpi` into an image; only its
// top-left `size` pixels where a size is given.
[[nodiscard]] QImage renderPage(const QString& pdf, int dpi, int* pages, QSize size = {})
{
    const QString prefix = pdf + QStringLiteral("-%1dpi").arg(dpi);
    QStringList arguments{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png")};
    if (size.isValid())
        arguments << QStringLiteral("-W") << QString::number(size.width()) << QStringLiteral("-H")
                  << QString::number(size.height());
    QString output;
    if (!test::runCupsTool(QStringLiteral("pdftoppm"), arguments << pdf << prefix,
                           QProcessEnvironment::systemEnvironment(), &output))
        return {};
    const QFileInfo info(pdf);
    const QStringList rendered =
        QDir(info.path())
            .entryList({QFileInfo(prefix).fileName() + QStringLiteral("*.png")}, QDir::Files,
                       QDir::Name);
    *pages = int(rendered.size());
    return rendered.isEmpty() ? QImage()
                              : QImage(info.path() + QLatin1Char('/') + rendered.first())
                                    .convertToFormat(QImage::Format_RGB32);
}

// The first place where the page does not show the window's client area, picture tiled from its
// top-left corner and no button, at its on-screen size from the printable area's top-left.
[[nodiscard]] QString pageMismatch(const QImage& page, double dpi, QSize client)
{
    const double scale = dpi / ScreenPixelsPerInch;
    const QPointF origin(test::PdfQueuePrintableLeft * dpi / 72.0,
                         test::PdfQueuePrintableTop * dpi / 72.0);
    const auto pagePixel = [&](QPointF screen) { return (origin + screen * scale).toPoint(); };
    for (int y = 0; y < client.height(); y += 2) {
        for (int x = 0; x < client.width(); x += 2) {
            const QPoint screen(x, y);
            if (!clearOfBlockEdges(screen))
                continue;
            const QPoint at = pagePixel(QPointF(x + 0.5, y + 0.5));
            const QColor shown = page.pixelColor(at);
            if (!near(shown, pictureColourAt(screen)))
                return QStringLiteral("window pixel %1,%2 (page %3,%4) is %5, picture %6")
                    .arg(x)
                    .arg(y)
                    .arg(at.x())
                    .arg(at.y())
                    .arg(describe(shown), describe(pictureColourAt(screen)));
        }
    }
    // Nothing beyond the window's right and bottom edges.
    const QPoint beyond[] = {pagePixel(QPointF(client.width() + 2, client.height() / 2.0)),
                             pagePixel(QPointF(client.width() / 2.0, client.height() + 2)),
                             pagePixel(QPointF(-2, client.height() / 2.0)),
                             pagePixel(QPointF(client.width() / 2.0, -2))};
    for (const QPoint at : beyond) {
        if (!near(page.pixelColor(at), Qt::white))
            return QStringLiteral("page %1,%2 outside the window's image is %3")
                .arg(at.x())
                .arg(at.y())
                .arg(describe(page.pixelColor(at)));
    }
    return QString();
}

// Across a block edge on the page, how many page pixels show neither block's colour: one or
// none where the picture's pixels stay sharp, more where the page was smoothed or stored lossily.
[[nodiscard]] int blurredAcrossEdge(const QImage& page, double dpi, int screenRow)
{
    const double scale = dpi / ScreenPixelsPerInch;
    const double left = test::PdfQueuePrintableLeft * dpi / 72.0;
    const int y = int(test::PdfQueuePrintableTop * dpi / 72.0 + (screenRow + 0.5) * scale);
    const int edge = int(left + PictureWidth / 2 * scale);
    const QColor before = pictureColourAt(QPoint(0, screenRow));
    const QColor after = pictureColourAt(QPoint(PictureWidth / 2, screenRow));
    int blurred = 0;
    for (int x = edge - int(3 * scale); x <= edge + int(3 * scale); ++x) {
        const QColor shown = page.pixelColor(x, y);
        if (!near(shown, before, 4) && !near(shown, after, 4))
            ++blurred;
    }
    return blurred;
}

void InsidePrintService::printsPages()
{
    const QString output = qEnvironmentVariable(OutputVariable);
    QVERIFY2(!output.isEmpty(), OutputVariable);
    const QProcessEnvironment service = QProcessEnvironment::systemEnvironment();
    TileSession session;
    QVERIFY(session.open());
    const QSize client = session.tile->size();
    QVERIFY(session.tile->rect().contains(session.tile->printButton->geometry()));

    session.clickPrint();
    QVERIFY(session.tile->printButton->isVisible());
    session.clickPrint();

    QCOMPARE(session.platform.printed.size(), 2);
    QCOMPARE(session.platform.messages.size(), 0);
    QVERIFY(session.tile->printButton->isVisible());
    QVERIFY(session.tile->isVisible());
    // The queue holds each job until released, so that each page can be collected before the
    // next one overwrites the queue's output file.
    const QStringList jobs = test::jobIds(QStringLiteral("not-completed"), service);
    QCOMPARE(jobs.size(), 2);

    for (qsizetype n = 0; n < jobs.size(); ++n) {
        const QString& job = jobs[n];
        QString said;
        QVERIFY2(test::runCupsTool(
                     QStringLiteral("lp"),
                     {QStringLiteral("-i"), job, QStringLiteral("-H"), QStringLiteral("resume")},
                     service, &said),
                 qPrintable(said));
        QTRY_VERIFY_WITH_TIMEOUT(test::jobIds(QStringLiteral("completed"), service).contains(job),
                                 60000);
        const QString pdf = QStringLiteral("%1.%2.pdf").arg(output).arg(n + 1);
        QVERIFY(QFile::copy(output, pdf));
        QVERIFY(QFile::remove(output));

        constexpr int Dpi = 150;
        int pages = 0;
        const QImage page = renderPage(pdf, Dpi, &pages);
        QVERIFY2(!page.isNull(), qPrintable(job));
        QCOMPARE(pages, 1);
        const QString mismatch = pageMismatch(page, Dpi, client);
        QVERIFY2(mismatch.isEmpty(), qPrintable(job + QStringLiteral(": ") + mismatch));

        // 300 dpi shows a page drawn from the window's own pixels and smoothed up; 600 dpi shows
        // a lossy copy's ringing.
        for (const int fineDpi : {300, 600}) {
            int finePages = 0;
            const QImage fine = renderPage(pdf, fineDpi, &finePages, QSize(fineDpi, fineDpi));
            QVERIFY(!fine.isNull());
            for (const int row : {PictureHeight / 4, PictureHeight * 3 / 4}) {
                const int blurred = blurredAcrossEdge(fine, fineDpi, row);
                QVERIFY2(blurred <= 1, qPrintable(QStringLiteral("%1 at %2 dpi: %3 pixels")
                                                      .arg(job)
                                                      .arg(fineDpi)
                                                      .arg(blurred)));
            }
        }
    }
}

// A swatch of a 300 x 300 picture at 300 dpi, an inch on paper, white with a black square in its
// top-left corner, so that a row or column across the page darkens once an inch: Ctrl+P, the print
// dialog keeping the default printer.
void printSquare(TileSession& session)
{
    session.platform.printerChosen = true;
    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setDotsPerMeterX(11811);
    picture.setDotsPerMeterY(11811);
    QPainter(&picture).fillRect(0, 0, 60, 60, Qt::black);
    QVERIFY(session.open(picture));
    QTest::keyClick(session.tile->printButton, Qt::Key_P, Qt::ControlModifier);
    QVERIFY(QTest::qWaitFor([&] { return !session.tile->swatchPrinter->busy(); }, 60000));
    QCOMPARE(session.platform.printerChoices, 1);
    QCOMPARE(session.platform.printed.size(), 0);
}

// Where a line of the page turns from light to dark, over seven inches from start, steps apart.
[[nodiscard]] QList<int> darkEdges(const QImage& page, QPoint start, QPoint step, int dpi)
{
    QList<int> edges;
    bool dark = false;
    for (QPoint at = start; page.rect().contains(at) && at != start + step * 7 * dpi; at += step) {
        const bool nowDark = qGray(page.pixel(at)) < 128;
        if (nowDark && !dark)
            edges << at.x() * step.x() + at.y() * step.y();
        dark = nowDark;
    }
    return edges;
}

void InsidePrintService::printsSwatch()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString output = qEnvironmentVariable(OutputVariable);
    TileSession session;
    printSquare(session);
    QCOMPARE(session.platform.messages.size(), 0);
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTRY_VERIFY_WITH_TIMEOUT(!test::jobIds(QStringLiteral("completed"), env).isEmpty(), 60000);
    constexpr int Dpi = 100;
    int pages = 0;
    const QImage page = renderPage(output, Dpi, &pages);
    QCOMPARE(pages, 1);
    // A tenth of an inch into the first row and column of copies.
    const QPoint corner(qRound(test::PdfQueuePrintableLeft * Dpi / 72 + Dpi / 10.0),
                        qRound(test::PdfQueuePrintableTop * Dpi / 72 + Dpi / 10.0));
    for (const QPoint step : {QPoint(1, 0), QPoint(0, 1)}) {
        const QList<int> edges = darkEdges(page, corner - step * (Dpi / 5), step, Dpi);
        QVERIFY2(edges.size() >= 6, qPrintable(QString::number(edges.size())));
        const double period = double(edges.last() - edges.first()) / (edges.size() - 1);
        QVERIFY2(qAbs(period - Dpi) <= Dpi / 100.0, qPrintable(QString::number(period)));
    }
    QString text;
    QVERIFY(
        test::runCupsTool(QStringLiteral("pdftotext"), {output, QStringLiteral("-")}, env, &text));
    QVERIFY2(text.contains(QStringLiteral("tile.bmp, Side by side, repeat 2.54 x 2.54 cm")),
             qPrintable(text));
}

void InsidePrintService::refusedSwatch()
{
    TileSession session;
    printSquare(session);
    QCOMPARE(session.platform.messages.size(), 1);
    QCOMPARE(session.platform.messages.first().prompt, CantPrint);
}

// The test proper: one private service per case.
class PrintThroughCups : public QObject
{
    Q_OBJECT
private slots:
    void cleanup();
    void noPrinter_data();
    void noPrinter();
    void refusingQueue_data();
    void refusingQueue();
    void silentServer();
    void printsTwoPages();
    void swatch_data();
    void swatch();

private:
    // Starts the service, or skips the case where cupsd cannot run here.
    bool startService();
    void runInside(const char* function, const QProcessEnvironment& env, int timeoutMs = 180000);

    std::unique_ptr<test::PrivateCups> m_cups;
};

void PrintThroughCups::cleanup()
{
    m_cups.reset();
}

bool PrintThroughCups::startService()
{
    m_cups = std::make_unique<test::PrivateCups>();
    return m_cups->start();
}

void PrintThroughCups::runInside(const char* function, const QProcessEnvironment& env,
                                 int timeoutMs)
{
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QLatin1String(ChildFlag), QLatin1String(function)});
    const bool finished = child.waitForFinished(timeoutMs);
    if (!finished)
        child.kill();
    child.waitForFinished(5000);
    const QString said = QString::fromLocal8Bit(child.readAll());
    QVERIFY2(finished,
             qPrintable(QStringLiteral("no end within %1 s:\n").arg(timeoutMs / 1000) + said));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(said + (m_cups ? m_cups->errorLog() : QString())));
}

void PrintThroughCups::noPrinter_data()
{
    test::addRows<bool>("serviceRuns",
                        {{"nothing listens", false}, {"service without printers", true}});
}

void PrintThroughCups::noPrinter()
{
    QFETCH(const bool, serviceRuns);
    if (!serviceRuns) {
        // Only the folder is used: the socket it names is never made.
        m_cups = std::make_unique<test::PrivateCups>();
        runInside("refused", m_cups->absentServiceEnvironment());
        return;
    }
    if (!startService())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + m_cups->failure()));
    runInside("refused", m_cups->clientEnvironment());
}

void PrintThroughCups::refusingQueue_data()
{
    test::addColumns<QString, QStringList>("tool", "arguments");
    QTest::newRow("rejecting jobs") << QStringLiteral("cupsreject") << QStringList{};
    QTest::newRow("stopped") << QStringLiteral("cupsdisable") << QStringList{};
    QTest::newRow("user not allowed")
        << QStringLiteral("lpadmin")
        << QStringList{QStringLiteral("-u"), QStringLiteral("deny:") + userName(),
                       QStringLiteral("-p")};
}

void PrintThroughCups::refusingQueue()
{
    QFETCH(const QString, tool);
    QFETCH(const QStringList, arguments);
    if (!startService())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + m_cups->failure()));
    const QString queue = QStringLiteral("zelvo-pdf");
    QString said;
    QVERIFY2(m_cups->addPdfQueue(queue, m_cups->folder() + QStringLiteral("/out/page.pdf"), &said),
             qPrintable(said + m_cups->errorLog()));
    QVERIFY2(m_cups->run(tool, arguments + QStringList{queue}, &said), qPrintable(said));
    runInside("refused", m_cups->clientEnvironment());
}

void PrintThroughCups::silentServer()
{
    // Connections wait in the listening socket's queue, taken by the system and never answered.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    m_cups = std::make_unique<test::PrivateCups>();
    QProcessEnvironment env = m_cups->clientEnvironment();
    env.insert(QStringLiteral("CUPS_SERVER"),
               QStringLiteral("127.0.0.1:%1").arg(silent.serverPort()));
    // Both rows well within the minutes a client waits for such a server by default.
    runInside("unanswered", env, 60000);
}

void PrintThroughCups::printsTwoPages()
{
    if (!startService())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + m_cups->failure()));
    const QString queue = QStringLiteral("zelvo-pdf");
    const QString output = m_cups->folder() + QStringLiteral("/out/page.pdf");
    QString said;
    QVERIFY2(m_cups->addPdfQueue(queue, output, &said), qPrintable(said + m_cups->errorLog()));
    QVERIFY2(m_cups->run(QStringLiteral("lpadmin"),
                         {QStringLiteral("-p"), queue, QStringLiteral("-o"),
                          QStringLiteral("job-hold-until-default=indefinite")},
                         &said),
             qPrintable(said));
    QProcessEnvironment env = m_cups->clientEnvironment();
    env.insert(QLatin1String(OutputVariable), output);
    runInside("printsPages", env);
}

void PrintThroughCups::swatch_data()
{
    test::addRows<bool>("refusing", {{"printed", false}, {"queue rejecting jobs", true}});
}

void PrintThroughCups::swatch()
{
    QFETCH(const bool, refusing);
    if (!startService())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + m_cups->failure()));
    const QString output = m_cups->folder() + QStringLiteral("/out/page.pdf");
    QString said;
    QVERIFY2(m_cups->addPdfQueue(QStringLiteral("zelvo-pdf"), output, &said),
             qPrintable(said + m_cups->errorLog()));
    if (refusing)
        QVERIFY(m_cups->run(QStringLiteral("cupsreject"), {QStringLiteral("zelvo-pdf")}, &said));
    QProcessEnvironment env = m_cups->clientEnvironment();
    env.insert(QLatin1String(OutputVariable), output);
    runInside(refusing ? "refusedSwatch" : "printsSwatch", env);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == ChildFlag) {
        InsidePrintService inside;
        return QTest::qExec(
            &inside, QStringList{QString::fromLocal8Bit(argv[0]), QString::fromLocal8Bit(argv[2])});
    }
    PrintThroughCups test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_print.moc"
