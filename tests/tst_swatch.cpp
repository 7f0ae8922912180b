// A swatch printed through the real print system at the picture's size on paper. As in tst_print,
// each case starts a CUPS service of its own and runs the program's part in a child process.

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "print/CupsTools.h"
#include "print/PrivateCups.h"
#include "settings/SettingsStore.h"
#include "support/IsolatedSettings.h"
#include "support/TestPlatform.h"
#include "tile/SwatchPrinter.h"
#include "tile/TileWindow.h"
#include "widgets/FileListBox.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace zelvo;

namespace {

constexpr char ChildFlag[] = "--inside-print-service";
constexpr char OutputVariable[] = "ZELVO_TEST_PRINT_OUTPUT";
constexpr int Dpi = 100;

// A 300 x 300 picture at 300 dpi: an inch on paper, white with a black square in its top-left
// corner, so that a row or column across the page darkens once an inch.
bool openSwatchSession(test::TestPlatform& platform, WindowRegistry& windows,
                       const QTemporaryDir& folder, TileWindow** tile)
{
    QImage picture(300, 300, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x)
            picture.setPixel(x, y, qRgb(0, 0, 0));
    }
    picture.setDotsPerMeterX(11811);
    picture.setDotsPerMeterY(11811);
    if (!picture.save(folder.filePath(QStringLiteral("square.png"))))
        return false;
    windows.start();
    MainWindow& main = windows.get<MainWindow>();
    platform.folderAnswers.push_back(folder.path());
    main.browseForFolder();
    main.fileList->setFileName(QStringLiteral("square.png"));
    *tile = &windows.get<TileWindow>();
    (*tile)->show();
    if (!QTest::qWaitForWindowExposed(*tile))
        return false;
    (*tile)->showPicture(main.picturePath());
    return QTest::qWaitFor([tile] { return !(*tile)->loading(); }) &&
           windows.isLoaded<TileWindow>();
}

// Where a line of the page turns from light to dark, over seven inches from start, steps apart.
QList<int> darkEdges(const QImage& page, QPoint start, QPoint step)
{
    QList<int> edges;
    bool dark = false;
    for (QPoint at = start; page.rect().contains(at) && at != start + step * 7 * Dpi; at += step) {
        const bool nowDark = qGray(page.pixel(at)) < 128;
        if (nowDark && !dark)
            edges << at.x() * step.x() + at.y() * step.y();
        dark = nowDark;
    }
    return edges;
}

} // namespace

class InsidePrintService : public QObject
{
    Q_OBJECT
private slots:
    void printsSwatch();
    void refusedSwatch();
};

void InsidePrintService::printsSwatch()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString output = qEnvironmentVariable(OutputVariable);
    const test::IsolatedSettings iso;
    SettingsStore store;
    test::TestPlatform platform;
    platform.printerChosen = true;
    WindowRegistry windows(store, platform);
    QTemporaryDir folder;
    TileWindow* tile = nullptr;
    QVERIFY(openSwatchSession(platform, windows, folder, &tile));

    QTest::keyClick(tile->printButton, Qt::Key_P, Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(output) && !tile->swatchPrinter->busy(), 60000);
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTRY_VERIFY_WITH_TIMEOUT(!test::jobIds(QStringLiteral("completed"), env).isEmpty(), 60000);
    QCOMPARE(platform.printerChoices, 1);
    QCOMPARE(platform.messages.size(), 0);

    QString said;
    QVERIFY2(test::runCupsTool(QStringLiteral("pdftoppm"),
                               {QStringLiteral("-r"), QString::number(Dpi), QStringLiteral("-png"),
                                QStringLiteral("-singlefile"), output, output},
                               env, &said),
             qPrintable(said));
    const QImage page(output + QStringLiteral(".png"));
    QVERIFY(!page.isNull());
    // A tenth of an inch into the first row and column of copies.
    const QPoint corner(qRound(test::PdfQueuePrintableLeft * Dpi / 72 + Dpi / 10.0),
                        qRound(test::PdfQueuePrintableTop * Dpi / 72 + Dpi / 10.0));
    for (const QPoint step : {QPoint(1, 0), QPoint(0, 1)}) {
        const QList<int> edges = darkEdges(page, corner - step * (Dpi / 5), step);
        QVERIFY2(edges.size() >= 6, qPrintable(QString::number(edges.size())));
        const double period = double(edges.last() - edges.first()) / (edges.size() - 1);
        QVERIFY2(qAbs(period - Dpi) <= Dpi / 100.0, qPrintable(QString::number(period)));
    }
    QVERIFY2(test::runCupsTool(QStringLiteral("pdftotext"),
                               {output, output + QStringLiteral(".txt")}, env, &said),
             qPrintable(said));
    QFile text(output + QStringLiteral(".txt"));
    QVERIFY(text.open(QIODevice::ReadOnly));
    QVERIFY(text.readAll().contains("square.png, Side by side, repeat 2.54 x 2.54 cm"));
}

void InsidePrintService::refusedSwatch()
{
    const test::IsolatedSettings iso;
    SettingsStore store;
    test::TestPlatform platform;
    platform.printerChosen = true;
    WindowRegistry windows(store, platform);
    QTemporaryDir folder;
    TileWindow* tile = nullptr;
    QVERIFY(openSwatchSession(platform, windows, folder, &tile));

    QTest::keyClick(tile->printButton, Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(platform.messages.size(), 1, 60000);
    QCOMPARE(platform.messages.first().prompt, QStringLiteral("Can't be printed."));
    QCOMPARE(platform.printerChoices, 1);
    QVERIFY(tile->isVisible());
}

class PrintThroughCups : public QObject
{
    Q_OBJECT
private slots:
    void swatch_data();
    void swatch();
};

void PrintThroughCups::swatch_data()
{
    QTest::addColumn<bool>("refusing");
    QTest::newRow("printed") << false;
    QTest::newRow("queue rejecting jobs") << true;
}

void PrintThroughCups::swatch()
{
    QFETCH(const bool, refusing);
    test::PrivateCups cups;
    if (!cups.start())
        QSKIP(qPrintable(QStringLiteral("cupsd cannot run here: ") + cups.failure()));
    const QString output = cups.folder() + QStringLiteral("/out/page.pdf");
    QString said;
    QVERIFY2(cups.addPdfQueue(QStringLiteral("zelvo-pdf"), output, &said),
             qPrintable(said + cups.errorLog()));
    if (refusing)
        QVERIFY(cups.run(QStringLiteral("cupsreject"), {QStringLiteral("zelvo-pdf")}, &said));
    QProcessEnvironment env = cups.clientEnvironment();
    env.insert(QLatin1String(OutputVariable), output);
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QLatin1String(ChildFlag),
                 refusing ? QStringLiteral("refusedSwatch") : QStringLiteral("printsSwatch")});
    const bool finished = child.waitForFinished(180000);
    if (!finished)
        child.kill();
    child.waitForFinished(5000);
    said = QString::fromLocal8Bit(child.readAll());
    QVERIFY2(finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(said + cups.errorLog()));
}

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

#include "tst_swatch.moc"
