// The repeat the tile window saves and sets as the desktop background: its pixels against the
// window's own view, Ctrl+S through the save dialog, and the command-line commands.

#include "app/TrayMenu.h"
#include "core/RepeatTile.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "tile/RepeatSaver.h"
#include "tile/TileWorkbench.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>

using namespace zelvo;

Q_DECLARE_METATYPE(zelvo::Repeat)
Q_DECLARE_METATYPE(zelvo::Ground)

namespace {

// Neighbouring pixels differ, and the left half is see-through.
QImage seeThrough(QSize size)
{
    QImage image = test::patternedPicture(size).convertToFormat(QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.fillRect(0, 0, size.width() / 2, size.height(), QColor(0, 0, 0, 100));
    return image;
}

// The binary's exit status and standard error, run in the folder as its home, on no desktop or
// on a Wayland one.
std::pair<int, QString> runZelvo(const QStringList& arguments, const QString& home,
                                 bool wayland = false)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP",
                             "XDG_SESSION_TYPE", "DBUS_SESSION_BUS_ADDRESS"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    if (wayland)
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-none"));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(home);
    process.start(QStringLiteral(ZELVO_BINARY), arguments);
    process.waitForFinished(60000);
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
    void trayEntryWhileTileWindowOpen();
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
        QCOMPARE(tile.hasAlphaChannel(),
                 transparent && ground == Ground::Face && use == GroundUse::KeepTransparency);
        // Kept transparent, it shows the window's colour through it.
        QImage onFace(tile.size(), QImage::Format_RGB32);
        onFace.fill(face);
        QPainter(&onFace).drawImage(0, 0, tile);
        QCOMPARE(test::laidSideBySide(onFace, area), shown);
    }
}

// The dialog proposes the picture's name and the repeat system beside the picture; the file it
// answers is replaced whole, with no temporary file left beside it.
void TestRepeat::saveKeyWritesWholeFile()
{
    test::Session session;
    session.startShown();
    // Larger than the window, which holds only the part it shows.
    const QImage picture = test::patternedPicture({1100, 701});
    test::PictureChosen chosen(session, QStringLiteral("leaves.png"), picture, "PNG");
    QVERIFY(chosen.ready);
    const QString target = QDir(chosen.dir.path()).filePath(QStringLiteral("saved.png"));
    QVERIFY(test::writeFile(chosen.dir.path(), QStringLiteral("saved.png"), "an older file"));
    session.platform.saveAnswers = {target};
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QTest::keyClick(&tile, Qt::Key_R);
        QSignalSpy spy(tile.repeatSaver, &RepeatSaver::saved);
        QTest::keyClick(&tile, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(spy.wait(20000));
        QCOMPARE(spy.front().front().toString(), target);
    }));
    QCOMPARE(session.platform.saveProposals,
             QList<QStringList>{QStringList(
                 {QDir(chosen.dir.path()).filePath(QStringLiteral("leaves half-drop.png")),
                  QLatin1String(RepeatSaver::PngFilter)})});
    QCOMPARE(QImage(target).convertToFormat(QImage::Format_RGB32),
             repeatTile(picture, {.repeat = Repeat::HalfDrop}));
    QCOMPARE(QDir(chosen.dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({QStringLiteral("leaves.png"), QStringLiteral("saved.png")}));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestRepeat::commandLineRefuses_data()
{
    test::addColumns<QStringList, QString>("arguments", "said");
    const auto row = [](const char* name, QStringList arguments, const char* said) {
        QTest::newRow(name) << arguments << QString::fromUtf8(said);
    };
    row("unknown repeat", {"--save-repeat", "out.png", "p.png", "--repeat", "diagonal"},
        "unknown repeat system \"diagonal\"");
    row("unknown ground", {"--set-background", "p.png", "--ground", "grey"}, "unknown ground");
    row("no picture to repeat", {"--save-repeat", "out.png"}, "takes one picture");
    row("both", {"--save-repeat", "out.png", "--set-background", "p.png"}, "one at a time");
    row("missing file", {"--save-repeat", "out.png", "missing.png"}, "no such file");
    row("not a picture", {"--save-repeat", "out.png", "text.png"}, "can't be loaded");
    row("larger than the budget", {"--save-repeat", "out.png", "large.png", "--repeat", "mirror"},
        "more than the 256 MB");
    row("no desktop", {"--set-background", "p.png"}, "No desktop is running here");
}

// An error exits non-zero, says why, and leaves the file named for the repeat as it was.
void TestRepeat::commandLineRefuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, said);
    QTemporaryDir home;
    QVERIFY(test::writePicture(home.path(), "p.png", test::patternedPicture({5, 4}), "PNG"));
    QVERIFY(test::writeFile(home.path(), "text.png", "text") &&
            test::writeFile(home.path(), "out.png", "kept"));
    // Within the budget, but not its mirror repeat.
    if (arguments.contains("large.png"))
        QVERIFY(test::writePicture(home.path(), "large.png",
                                   test::solidPicture({4200, 4200}, Qt::red), "PNG"));
    const auto [status, errors] = runZelvo(arguments, home.path());
    QVERIFY2(status > 0 && errors.contains(said), qPrintable(errors));
    QCOMPARE(test::readBytes(home.filePath("out.png")), QByteArray("kept"));
    QVERIFY(QDir(home.filePath("data/backgrounds")).isEmpty());
}

// A brick repeat is written; a Wayland desktop of no known service keeps the file, named.
void TestRepeat::commandLineWrites()
{
    QTemporaryDir home;
    const QImage picture = test::patternedPicture({6, 5});
    QVERIFY(test::writePicture(home.path(), "p.png", picture, "PNG"));
    QCOMPARE(
        runZelvo({"--save-repeat", "out.png", "p.png", "--repeat", "brick"}, home.path()).first, 0);
    QCOMPARE(QImage(home.filePath("out.png")).convertToFormat(QImage::Format_RGB32),
             repeatTile(picture, {.repeat = Repeat::Brick}));
    const auto [status, errors] = runZelvo({"--set-background", "p.png"}, home.path(), true);
    const QStringList kept = QDir(home.filePath("data/backgrounds")).entryList(QDir::Files);
    QCOMPARE(kept.size(), 1);
    QVERIFY2(status > 0 && errors.contains("lets no program set its background") &&
                 errors.contains(kept.front()),
             qPrintable(errors));
}

// The tray menu offers the tile window's D while that window is open, and only then; on a
// Wayland desktop that lets no program set it, the repeat is saved and the message names it.
void TestRepeat::trayEntryWhileTileWindowOpen()
{
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    qputenv("WAYLAND_DISPLAY", "wayland-none");
    qunsetenv("XDG_CURRENT_DESKTOP");
    const auto restore = qScopeGuard([] {
        qunsetenv("XDG_DATA_HOME");
        qunsetenv("WAYLAND_DISPLAY");
    });
    test::Session session;
    session.startShown();
    test::PictureChosen chosen(session, QStringLiteral("leaf.png"),
                               test::patternedPicture({30, 20}), "PNG");
    QVERIFY(chosen.ready);
    QAction* entry = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* menu = qobject_cast<TrayMenu*>(widget)) {
            for (QAction* action : menu->actions())
                entry =
                    action->text() == QLatin1String("Set as desktop background") ? action : entry;
        }
    }
    QVERIFY(entry);
    const auto menuOffers = [&] {
        emit qobject_cast<QMenu*>(entry->parent())->aboutToShow();
        return entry->isVisible();
    };
    QVERIFY(!menuOffers());
    QVERIFY(test::pressPreview(session, Qt::LeftButton, [&](TileWindow& tile) {
        QVERIFY(menuOffers());
        QSignalSpy spy(tile.repeatSaver, &RepeatSaver::backgroundDone);
        entry->trigger();
        QVERIFY(spy.wait(20000));
        QCOMPARE(spy.front().front().toBool(), false);
    }));
    const QStringList saved =
        QDir(data.path() + QStringLiteral("/backgrounds")).entryList(QDir::Files);
    QCOMPARE(saved.size(), 1);
    QCOMPARE(session.platform.messages.size(), 1);
    QVERIFY(session.platform.messages.front().prompt.contains(saved.front()));
}

QTEST_MAIN(TestRepeat)
#include "tst_repeat.moc"
