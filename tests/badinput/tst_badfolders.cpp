// Folders that fight back: unreadable, gone or renamed while listed, names that are not text or
// are full of wildcard and shell characters, links of every kind, a pipe under a picture's
// name, and a folder of 100,000 entries.

#include "BadPictures.h"
#include "support/IsolatedSettings.h"
#include "support/TestPlatform.h"

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "support/Files.h"
#include "support/MainWindowDriver.h"
#include "widgets/AutoLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/PictureBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zelvo;

namespace {

[[nodiscard]] QByteArray soundBitmap()
{
    for (const test::BadPicture& picture : test::badPictures()) {
        if (picture.kind == "valid" && picture.name.endsWith(QLatin1String(".bmp")))
            return picture.bytes;
    }
    return {};
}

// The program on an isolated store, with every picture type listed.
struct Program
{
    Program()
    {
        iso.put("Type", "Bitmap", QStringLiteral("*.bmp;"));
        iso.put("Type", "Jpg", QStringLiteral("*.jpeg;*.jpg;"));
        iso.put("Type", "Gif", QStringLiteral("*.gif;"));
        iso.put("Type", "Ico", QStringLiteral("*.ico;"));
        store = std::make_unique<SettingsStore>();
        windows = std::make_unique<WindowRegistry>(*store, platform);
        windows->start();
    }
    MainWindow& main() { return windows->get<MainWindow>(); }
    void browse(const QString& folder)
    {
        platform.folderAnswers.push_back(folder);
        main().browseForFolder();
    }
    // Selects and clicks a listed name; false when the name is not listed.
    bool click(const QString& name)
    {
        ui(main()).fileList->setFileName(name);
        if (ui(main()).fileList->fileName() != name)
            return false;
        test::clickSelected(main());
        return true;
    }

    test::IsolatedSettings iso;
    test::TestPlatform platform;
    std::unique_ptr<SettingsStore> store;
    std::unique_ptr<WindowRegistry> windows;
};

} // namespace

class BadFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void unreadableFolderShowsOnlyTheProgramsMessage_data();
    void unreadableFolderShowsOnlyTheProgramsMessage();
    void folderGoneBetweenBrowseAndClick_data();
    void folderGoneBetweenBrowseAndClick();
    void awkwardNamesListAndPreview_data();
    void awkwardNamesListAndPreview();
    void namesThatAreNotText();
    void linksAndPipes();
    void fileReplacedByPipeAfterListing();
    void hundredThousandEntries();
};

void BadFoldersTest::unreadableFolderShowsOnlyTheProgramsMessage_data()
{
    test::addRows<QString>("obstacle", {{"folder without permissions", "no-permissions"},
                                        {"folder that does not exist", "missing"},
                                        {"a file, not a folder", "file"},
                                        {"link in a loop", "loop"}});
}

void BadFoldersTest::unreadableFolderShowsOnlyTheProgramsMessage()
{
    QFETCH(QString, obstacle);
    if (obstacle == QLatin1String("no-permissions") && ::geteuid() == 0)
        QSKIP("folder permissions do not bind the superuser");
    QTemporaryDir root;
    const QString target = root.filePath(QStringLiteral("target"));
    if (obstacle == QLatin1String("no-permissions")) {
        QVERIFY(QDir().mkpath(target));
        QVERIFY(test::writeBytes(target + QStringLiteral("/a.bmp"), soundBitmap()));
        QVERIFY(QFile::setPermissions(target, QFile::Permissions()));
    } else if (obstacle == QLatin1String("file")) {
        QVERIFY(test::writeBytes(target, soundBitmap()));
    } else if (obstacle == QLatin1String("loop")) {
        QVERIFY(QFile::link(target, target));
    }

    Program program;
    const QString before = ui(program.main()).fileList->path();
    program.browse(target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(program.platform.messages.size(), 1);
    QCOMPARE(program.platform.messages.first().prompt,
             QStringLiteral("Something is going wrong here !"));
    QCOMPARE(ui(program.main()).fileList->path(), before);
    QVERIFY(ui(program.main()).preview->picture().isNull());
}

void BadFoldersTest::folderGoneBetweenBrowseAndClick_data()
{
    test::addRows<bool>("renamed", {{"deleted", false}, {"renamed", true}});
}

void BadFoldersTest::folderGoneBetweenBrowseAndClick()
{
    QFETCH(bool, renamed);
    QTemporaryDir root;
    const QString folder = root.filePath(QStringLiteral("pictures"));
    QVERIFY(QDir().mkpath(folder));
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        QVERIFY(test::writeBytes(folder + QLatin1Char('/') + QLatin1String(name), soundBitmap()));

    Program program;
    program.browse(folder);
    QCOMPARE(ui(program.main()).fileList->listCount(), 3);
    ui(program.main()).fileList->setFileName(QStringLiteral("b.bmp"));
    if (renamed)
        QVERIFY(QDir(root.path()).rename(QStringLiteral("pictures"), QStringLiteral("moved")));
    else
        QVERIFY(QDir(folder).removeRecursively());
    test::clickSelected(program.main());

    QVERIFY(program.platform.messages.isEmpty());
    QVERIFY(ui(program.main()).preview->picture().isNull());
    QCOMPARE(ui(program.main()).fileList->listCount(), 0);
    QCOMPARE(ui(program.main()).countLabel->caption(), QStringLiteral("0"));
    QCOMPARE(ui(program.main()).fileLabel->caption(), QString());

    // The main window is still usable: the next browse works as ever.
    const QString again = renamed ? root.filePath(QStringLiteral("moved")) : root.path();
    if (!renamed)
        QVERIFY(test::writeBytes(root.filePath(QStringLiteral("d.bmp")), soundBitmap()));
    program.browse(again);
    QVERIFY(program.platform.messages.isEmpty());
    QCOMPARE(ui(program.main()).fileList->listCount(), renamed ? 3 : 1);
}

void BadFoldersTest::awkwardNamesListAndPreview_data()
{
    test::addRows<QString>(
        "name", {{"spaces", " a  picture .bmp"},
                 {"quotes", "it's \"quoted\".bmp"},
                 {"ampersand", "&.bmp"},
                 {"semicolon", "a;b.bmp"},
                 {"star", "*.bmp"},
                 {"question mark", "why?.bmp"},
                 {"backslash", "back\\slash.bmp"},
                 {"newline", "two\nlines.bmp"},
                 {"percent and dollar", "%s$HOME`id`.bmp"},
                 {"non-Latin letters", QString::fromUtf8("Žába 写真 🐢.bmp")},
                 {"leading dash", "-rf.bmp"},
                 {"255 bytes", QString(251, QLatin1Char('n')) + QStringLiteral(".bmp")}});
}

void BadFoldersTest::awkwardNamesListAndPreview()
{
    QFETCH(QString, name);
    QTemporaryDir folder;
    QVERIFY(test::writeBytes(folder.filePath(name), soundBitmap()));
    QVERIFY(test::writeBytes(folder.filePath(QStringLiteral("plain.bmp")), soundBitmap()));

    Program program;
    program.browse(folder.path());
    QVERIFY(program.platform.messages.isEmpty());
    QCOMPARE(ui(program.main()).fileList->listCount(), 2);
    QVERIFY(program.click(name));
    QVERIFY(program.platform.messages.isEmpty());
    QVERIFY(!ui(program.main()).preview->picture().isNull());
    QVERIFY(ui(program.main()).fileLabel->caption().endsWith(name));
}

void BadFoldersTest::namesThatAreNotText()
{
    QTemporaryDir folder;
    const QByteArray base = QFile::encodeName(folder.path()) + '/';
    const QByteArray rawNames[] = {"\xff\xfe.bmp", "bad\x80\x80name.jpg", "\xc3(.gif",
                                   "\xed\xa0\x80surrogate.bmp"};
    const QByteArray bitmap = soundBitmap();
    for (const QByteArray& raw : rawNames) {
        const int fd = ::open((base + raw).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, bitmap.constData(), size_t(bitmap.size())), ssize_t(bitmap.size()));
        ::close(fd);
    }
    QVERIFY(test::writeBytes(folder.filePath(QStringLiteral("plain.bmp")), bitmap));

    Program program;
    program.browse(folder.path());
    QVERIFY(program.platform.messages.isEmpty());
    const int listed = ui(program.main()).fileList->listCount();
    QCOMPARE(listed, 1 + int(std::size(rawNames)));
    int shown = 0;
    for (int row = 0; row < listed; ++row) {
        const QString name = ui(program.main()).fileList->model()->index(row, 0).data().toString();
        if (!program.click(name))
            continue;
        if (!ui(program.main()).preview->picture().isNull())
            ++shown;
    }
    QVERIFY(program.platform.messages.isEmpty());
    QVERIFY(shown >= 1);
    qInfo("names that are not text: %d listed, %d of them previewed", listed, shown);
}

void BadFoldersTest::linksAndPipes()
{
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    QVERIFY(test::writeBytes(path("real.bmp"), soundBitmap()));
    QVERIFY(QDir().mkpath(path("sub")));
    QVERIFY(QFile::link(path("real.bmp"), path("link-to-file.bmp")));
    QVERIFY(QFile::link(path("nowhere.bmp"), path("dangling.bmp")));
    QVERIFY(QFile::link(path("sub"), path("link-to-folder.bmp")));
    QVERIFY(QFile::link(path("loop-b.bmp"), path("loop-a.bmp")));
    QVERIFY(QFile::link(path("loop-a.bmp"), path("loop-b.bmp")));
    QVERIFY(QFile::link(path("self.gif"), path("self.gif")));
    QVERIFY(QFile::link(folder.path(), path("sub/up.bmp")));
    QCOMPARE(::mkfifo(QFile::encodeName(path("x.jpg")).constData(), 0644), 0);
    QVERIFY(QFile::link(path("x.jpg"), path("link-to-pipe.gif")));
    QCOMPARE(::mkfifo(QFile::encodeName(path("pipe.bmp")).constData(), 0644), 0);

    Program program;
    program.browse(folder.path());
    QVERIFY(program.platform.messages.isEmpty());
    QCOMPARE(ui(program.main()).fileList->listCount(), 2);
    for (const char* name : {"link-to-file.bmp", "real.bmp"}) {
        QVERIFY(program.click(QLatin1String(name)));
        QVERIFY(!ui(program.main()).preview->picture().isNull());
    }
    program.browse(path("sub"));
    QCOMPARE(program.platform.messages.size(), 1);
    QCOMPARE(program.platform.messages.first().title, QStringLiteral("No images found"));
}

void BadFoldersTest::fileReplacedByPipeAfterListing()
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("x.jpg"));
    QVERIFY(test::writeBytes(name, soundBitmap()));
    QVERIFY(test::writeBytes(folder.filePath(QStringLiteral("y.bmp")), soundBitmap()));

    Program program;
    program.browse(folder.path());
    QCOMPARE(ui(program.main()).fileList->listCount(), 2);
    ui(program.main()).fileList->setFileName(QStringLiteral("x.jpg"));
    QVERIFY(QFile::remove(name));
    QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
    // Nothing ever writes to the pipe: a read of it would wait for ever.
    test::clickSelected(program.main());

    QVERIFY(program.platform.messages.isEmpty());
    QVERIFY(ui(program.main()).preview->picture().isNull());
    QCOMPARE(ui(program.main()).fileList->listCount(), 1);
    QCOMPARE(ui(program.main()).countLabel->caption(), QStringLiteral("1"));
}

void BadFoldersTest::hundredThousandEntries()
{
    QTemporaryDir folder;
    constexpr int Entries = 100000;
    const QByteArray base = QFile::encodeName(folder.path()) + '/';
    int pictures = 0;
    for (int i = 0; i < Entries; ++i) {
        const bool picture = i % 2 == 0;
        const QByteArray name = base + QByteArray::number(i) + (picture ? ".bmp" : ".txt");
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        QVERIFY(fd >= 0);
        ::close(fd);
        pictures += picture;
    }
    QVERIFY(test::writeBytes(folder.filePath(QStringLiteral("zz-real.bmp")), soundBitmap()));
    ++pictures;

    Program program;
    QElapsedTimer clock;
    clock.start();
    program.browse(folder.path());
    const qint64 browseMs = clock.elapsed();
    QVERIFY(program.platform.messages.isEmpty());
    QCOMPARE(ui(program.main()).fileList->listCount(), pictures);
    QCOMPARE(ui(program.main()).countLabel->caption(), QString::number(pictures));

    clock.restart();
    QVERIFY(program.click(QStringLiteral("zz-real.bmp")));
    const qint64 clickMs = clock.elapsed();
    QVERIFY(!ui(program.main()).preview->picture().isNull());
    // An empty file: the recovery reads the whole folder again.
    clock.restart();
    QVERIFY(program.click(QStringLiteral("0.bmp")));
    const qint64 recoveryMs = clock.elapsed();
    QVERIFY(program.platform.messages.isEmpty());
    QCOMPARE(ui(program.main()).fileList->listCount(), pictures);
    qInfo("%d entries, %d listed: browse %lld ms, picture click %lld ms, failed click with "
          "re-read %lld ms",
          Entries + 1, pictures, browseMs, clickMs, recoveryMs);
}

QTEST_MAIN(BadFoldersTest)
#include "tst_badfolders.moc"
