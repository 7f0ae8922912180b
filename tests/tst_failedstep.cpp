// A step the tile window cannot show leaves it no worse than before: it keeps the picture it
// had, or the one it was opening, with every part of it that was on its way.

#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "tile/TileWorkbench.h"

#include <QDateTime>
#include <QLabel>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

using namespace zelvo;

class TestFailedStep : public QObject
{
    Q_OBJECT

private slots:
    void damagedLastFile_keepsWhatWasOnItsWay();
};

// A picture larger than the window, then a damaged file. Right goes first while the picture is
// opening (a file just changed is waited for until it stands still), then while the part beyond
// the window waits for the window to rest; 50% then shows the whole picture, not the window's cut,
// and a new version of the picture still shows, also one whose load a failed step interrupted.
void TestFailedStep::damagedLastFile_keepsWhatWasOnItsWay()
{
    test::Session session;
    session.startShown();
    QTemporaryDir dir;
    const QImage whole = test::patternedPicture({2000, 1500});
    QVERIFY(test::writePicture(dir.path(), QStringLiteral("a.png"), whole, "PNG"));
    QVERIFY(test::writeFile(dir.path(), QStringLiteral("b.png"), "damaged"));
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(session.main()).fileList, QStringLiteral("a.png")));
    QFile opening(dir.filePath(QStringLiteral("a.png")));
    QVERIFY(opening.open(QIODevice::Append));
    QVERIFY(opening.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime));
    bool reached = false;
    QTimer::singleShot(0, [&] {
        const auto close = qScopeGuard([&] { session.windows.unload<TileWindow>(); });
        TileWindow& tile = session.windows.get<TileWindow>();
        QTRY_VERIFY(QApplication::activeWindow() == &tile);
        QTest::keyClick(tile.printButton, Qt::Key_Right);
        QTRY_VERIFY(!tile.tiledView->picture().isNull());
        QCOMPARE(ui(session.main()).fileList->fileName(), QStringLiteral("a.png"));
        QTest::keyClick(tile.printButton, Qt::Key_Right);
        QTRY_VERIFY(!tile.loading());
        QCOMPARE(tile.workbench->zoomLabel().text(), QStringLiteral("Skipped b.png"));
        tile.workbench->setZoom(50);
        QTRY_COMPARE(tile.tiledView->picture().size(), whole.size());
        QVERIFY(test::writePicture(dir.path(), QStringLiteral("a.png"),
                                   test::solidPicture({8, 8}, Qt::red), "PNG"));
        QTRY_COMPARE_WITH_TIMEOUT(tile.tiledView->picture().size(), QSize(8, 8), 5000);
        // A step that fails while a new version is on its way.
        QVERIFY(test::writePicture(dir.path(), QStringLiteral("a.png"), whole, "PNG"));
        QVERIFY(QTest::qWaitFor([&] { return tile.loading(); }, 5000));
        QTest::keyClick(tile.printButton, Qt::Key_Right);
        QTRY_COMPARE_WITH_TIMEOUT(tile.workbench->pictures().wholeSize(), whole.size(), 5000);
        reached = true;
    });
    QTest::mouseClick(ui(session.main()).preview, Qt::LeftButton);
    QVERIFY(reached);
}

QTEST_MAIN(TestFailedStep)
#include "tst_failedstep.moc"
