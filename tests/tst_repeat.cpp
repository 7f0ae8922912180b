// The repeat the tile window saves and sets as the desktop background: its pixels against the
// window's own view, Ctrl+S through the save dialog, and the command-line commands.

#include "core/RepeatTile.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "tile/RepeatSaver.h"
#include "tile/TileWorkbench.h"

#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using namespace zelvo;
using test::Session;

Q_DECLARE_METATYPE(zelvo::Repeat)
Q_DECLARE_METATYPE(zelvo::Ground)

namespace {

// Neighbouring pixels differ, and a band is see-through in steps of alpha.
QImage seeThrough(QSize size)
{
    QImage image = test::patternedPicture(size).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width() / 2; ++x)
            image.setPixel(x, y, (image.pixel(x, y) & 0xffffff) | uint((x * 60) & 0xff) << 24);
    }
    return image;
}

// The picture laid side by side from the top-left corner over an area, on a plain colour.
QImage sideBySide(const QImage& tile, QSize area, const QColor& under)
{
    QImage laid(area, QImage::Format_RGB32);
    laid.fill(under);
    QPainter painter(&laid);
    painter.drawTiledPixmap(laid.rect(), QPixmap::fromImage(tile));
    return laid;
}

// The zelvo binary's exit status, with its standard error, in a home of its own.
struct Run
{
    int status = -1;
    QString errors;
};
Run runZelvo(const QStringList& arguments, const QString& home, bool display = false)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP",
                             "XDG_SESSION_TYPE", "DBUS_SESSION_BUS_ADDRESS"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    if (display) {
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-none"));
        environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZELVO_BINARY), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

class TestRepeat : public QObject
{
    Q_OBJECT
private slots:
    void repeatMatchesView_data();
    void repeatMatchesView();
    void saveKeyWritesWholeFile();
    void commandLineRefuses_data();
    void commandLineRefuses();
    void commandLineWrites();
};

// Odd sizes round half a copy down as the window does; the checkerboard's squares fit whole
// copies of a picture a multiple of their pair wide and high.
void TestRepeat::repeatMatchesView_data()
{
    test::addColumns<Repeat, QSize, QSize, bool, Ground>("repeat", "periods", "picture",
                                                         "transparent", "ground");
    const std::pair<Repeat, QSize> systems[] = {{Repeat::SideBySide, {1, 1}},
                                                {Repeat::HalfDrop, {2, 1}},
                                                {Repeat::Brick, {1, 2}},
                                                {Repeat::Mirror, {2, 2}}};
    for (const auto& [repeat, periods] : systems) {
        const QByteArray name = repeatSystem(repeat).name;
        QTest::newRow(name + " opaque 7x5")
            << repeat << periods << QSize(7, 5) << false << Ground::Face;
        for (const GroundChoice& ground : Grounds)
            QTest::newRow(name + " see-through 32x16 " + ground.name)
                << repeat << periods << QSize(32, 16) << true << ground.ground;
        QTest::newRow(name + " see-through 9x11 white")
            << repeat << periods << QSize(9, 11) << true << Ground::White;
    }
}

void TestRepeat::repeatMatchesView()
{
    QFETCH(Repeat, repeat);
    QFETCH(QSize, periods);
    QFETCH(QSize, picture);
    QFETCH(bool, transparent);
    QFETCH(Ground, ground);
    const QImage source = transparent ? seeThrough(picture) : test::patternedPicture(picture);
    TilingImage view;
    view.setPicture(source);
    view.setLook({.repeat = repeat});
    view.setGround(ground);
    const QSize area(150, 130);
    const QImage shown = view.naturalTiling(area, 1.0).convertToFormat(QImage::Format_RGB32);
    const QColor face = view.palette().color(QPalette::Button);
    for (const GroundUse use : {GroundUse::KeepTransparency, GroundUse::Flatten}) {
        const QImage tile = repeatTile(source, {repeat, ground, face, use});
        QCOMPARE(tile.size(),
                 QSize(picture.width() * periods.width(), picture.height() * periods.height()));
        const bool keptTransparent = tile.hasAlphaChannel();
        QCOMPARE(keptTransparent,
                 transparent && ground == Ground::Face && use == GroundUse::KeepTransparency);
        const QImage laid = sideBySide(tile, area, face);
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                if (laid.pixel(x, y) != shown.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 laid, %4 shown")
                                         .arg(x)
                                         .arg(y)
                                         .arg(laid.pixel(x, y), 8, 16)
                                         .arg(shown.pixel(x, y), 8, 16)));
            }
        }
    }
}

// The dialog proposes the picture's name and the repeat system beside the picture; the file it
// answers is replaced whole, with no temporary file left beside it.
void TestRepeat::saveKeyWritesWholeFile()
{
    Session session;
    session.startShown();
    const QImage picture = seeThrough({21, 13});
    test::PictureChosen chosen(session, QStringLiteral("leaves.png"), picture, "PNG");
    QVERIFY(chosen.ready);
    const QString target = QDir(chosen.dir.path()).filePath(QStringLiteral("saved.png"));
    QVERIFY(test::writeFile(chosen.dir.path(), QStringLiteral("saved.png"), "an older file"));
    session.platform.saveAnswers = {target, std::nullopt};
    QImage expected;
    QStringList saved;
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QTest::keyClick(&tile, Qt::Key_R);
        QTest::keyClick(&tile, Qt::Key_B);
        QSignalSpy spy(tile.repeatSaver, &RepeatSaver::saved);
        QTest::keyClick(&tile, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(spy.wait(20000));
        saved.append(spy.front().front().toString());
        expected = repeatTile(picture, {Repeat::HalfDrop, Ground::White,
                                        tile.tiledView->palette().color(QPalette::Button)});
        // A cancelled dialog writes nothing.
        QTest::keyClick(&tile, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!spy.wait(500));
    }));
    QCOMPARE(session.platform.saveProposals.size(), 2);
    QCOMPARE(session.platform.saveProposals.front(),
             QStringList({QDir(chosen.dir.path()).filePath(QStringLiteral("leaves half-drop.png")),
                          QLatin1String(RepeatSaver::PngFilter)}));
    QCOMPARE(saved, QStringList{target});
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32), expected);
    QCOMPARE(QDir(chosen.dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("leaves.png"), QStringLiteral("saved.png")}));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestRepeat::commandLineRefuses_data()
{
    test::addColumns<QStringList, QString>("arguments", "said");
    const QString picture = QStringLiteral("PICTURE");
    const QString out = QStringLiteral("OUT");
    QTest::newRow("unknown repeat")
        << QStringList{"--save-repeat", out, picture, "--repeat", "diagonal"}
        << "unknown repeat system \"diagonal\"";
    QTest::newRow("unknown ground") << QStringList{"--set-background", picture, "--ground", "grey"}
                                    << "unknown ground \"grey\"";
    QTest::newRow("no picture to repeat")
        << QStringList{"--save-repeat", out} << "takes one picture";
    QTest::newRow("both commands")
        << QStringList{"--save-repeat", out, "--set-background", picture} << "one at a time";
    QTest::newRow("missing file") << QStringList{"--save-repeat", out, "missing.png"}
                                  << "no such file";
    QTest::newRow("not a picture")
        << QStringList{"--save-repeat", out, "TEXTFILE"} << "can't be loaded";
    QTest::newRow("larger than the budget")
        << QStringList{"--save-repeat", out, "LARGE", "--repeat", "mirror"}
        << "more than the 256 MB";
    QTest::newRow("no desktop") << QStringList{"--set-background", picture}
                                << "No desktop is running here";
}

// An error exits non-zero, says why, and leaves the file named for the repeat as it was.
void TestRepeat::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    QTemporaryDir home;
    const QDir folder(home.path());
    QVERIFY(test::writePicture(home.path(), QStringLiteral("p.png"), test::patternedPicture({5, 4}),
                               "PNG"));
    QVERIFY(test::writeFile(home.path(), QStringLiteral("text.png"), "not a picture"));
    QVERIFY(test::writeFile(home.path(), QStringLiteral("out.png"), "kept"));
    // Within the budget, but not its mirror repeat.
    if (arguments.contains(QStringLiteral("LARGE")))
        QVERIFY(test::writePicture(home.path(), QStringLiteral("large.png"),
                                   test::solidPicture({4200, 4200}, Qt::red), "PNG"));
    arguments.replaceInStrings(QStringLiteral("PICTURE"), folder.filePath(QStringLiteral("p.png")));
    arguments.replaceInStrings(QStringLiteral("TEXTFILE"),
                               folder.filePath(QStringLiteral("text.png")));
    arguments.replaceInStrings(QStringLiteral("LARGE"),
                               folder.filePath(QStringLiteral("large.png")));
    arguments.replaceInStrings(QStringLiteral("OUT"), folder.filePath(QStringLiteral("out.png")));
    const Run run = runZelvo(arguments, home.path());
    QVERIFY2(run.status > 0, qPrintable(run.errors));
    QVERIFY2(run.errors.contains(said), qPrintable(run.errors));
    QCOMPARE(test::readBytes(folder.filePath(QStringLiteral("out.png"))), QByteArray("kept"));
    QVERIFY(!QFileInfo::exists(folder.filePath(QStringLiteral("data/backgrounds"))) ||
            QDir(folder.filePath(QStringLiteral("data/backgrounds"))).isEmpty());
}

// A brick repeat is written; on a Wayland desktop of no known service the background is
// refused, and the file stays for the user, named.
void TestRepeat::commandLineWrites()
{
    QTemporaryDir home;
    const QDir folder(home.path());
    const QImage picture = test::patternedPicture({6, 5});
    QVERIFY(test::writePicture(home.path(), QStringLiteral("p.png"), picture, "PNG"));
    const QString out = folder.filePath(QStringLiteral("out.png"));
    Run run = runZelvo({"--save-repeat", out, folder.filePath("p.png"), "--repeat", "brick"},
                       home.path());
    QCOMPARE(run.status, 0);
    QCOMPARE(QImage(out).convertToFormat(QImage::Format_RGB32),
             repeatTile(picture, {.repeat = Repeat::Brick}));

    run = runZelvo({"--set-background", folder.filePath("p.png")}, home.path(), true);
    QVERIFY(run.status > 0);
    const QStringList kept = QDir(folder.filePath("data/backgrounds")).entryList(QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY2(run.errors.contains(QStringLiteral("lets no program set its background")) &&
                 run.errors.contains(kept.front()),
             qPrintable(run.errors));
}

QTEST_MAIN(TestRepeat)
#include "tst_repeat.moc"
