// The main window driven through its widgets: start-up and activation, browsing for a folder,
// clicking file names, and pressing the preview to open the tile window.

#include "about/AboutBox.h"
#include "settings/OptionsWindow.h"
#include "support/DataTable.h"
#include "support/MainWindowDriver.h"
#include "support/Pictures.h"
#include "widgets/AutoLabel.h"
#include "widgets/FolderChooser.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using namespace zelvo;
using test::Session;

namespace {

const QString Absent = QStringLiteral("<absent>");
const QString NoImagesPrompt =
    QStringLiteral("This directory does NOT contain supported images.\r\n"
                   "             Please select another one.");

[[nodiscard]] QString pathIn(const QTemporaryDir& dir, const QString& name)
{
    return dir.path() + QLatin1Char('/') + name;
}

[[nodiscard]] bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 40 && qAbs(a.green() - b.green()) <= 40 &&
           qAbs(a.blue() - b.blue()) <= 40;
}

void putType(const test::IsolatedSettings& iso, const char* key, const QString& value)
{
    if (value == Absent)
        test::removeStored(iso, "Type", key);
    else
        iso.put("Type", key, value);
}

// The listed names in code-point order; the list's own order is not what these tests check.
[[nodiscard]] QStringList sortedListed(const FileListBox& list)
{
    QStringList names = test::listedNames(list);
    names.sort();
    return names;
}

// Empty files are enough wherever only the names are listed.
[[nodiscard]] bool makeFiles(const QString& folder, const QStringList& names)
{
    for (const QString& name : names) {
        if (!test::writeFile(folder, name))
            return false;
    }
    return true;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startUp_loadsWindowsHiddenAndSetsInitialPattern();
    void activation_buildsPatternFromStore_data();
    void activation_buildsPatternFromStore();
    void activation_keepsFolderAndRecountsLabel();

    void browse_startsAtListFolder();
    void browse_cancelChangesNothing();
    void browse_countsMatchingFiles_data();
    void browse_countsMatchingFiles();
    void browse_folderWithoutPictures_data();
    void browse_folderWithoutPictures();
    void browse_unreadableFolder_data();
    void browse_unreadableFolder();
    void browse_clearsFileLabelAndPreview();

    void fileClick_showsPictureStretched_data();
    void fileClick_showsPictureStretched();
    void fileClick_invalidPictureRecoversSilently_data();
    void fileClick_invalidPictureRecoversSilently();
    void fileClick_deletedFileLeavesList_data();
    void fileClick_deletedFileLeavesList();
    void fileClick_folderEndingInSeparator();
    void fileClick_keyboardDownPreviewsNext();

    void previewPress_withoutSelection_data();
    void previewPress_withoutSelection();
    void previewPress_opensTileModally_data();
    void previewPress_opensTileModally();
    void previewPress_refreshesPatternAfterTileCloses();
};

void TestMainWindow::startUp_loadsWindowsHiddenAndSetsInitialPattern()
{
    Session session;
    session.iso.put("Size", "Small", QStringLiteral("1"));
    session.iso.put("Size", "Mid", QStringLiteral("0"));
    session.iso.put("Size", "Big", QStringLiteral("0"));
    session.iso.put("Folder", "Last", QStringLiteral("/no/such/folder"));
    session.windows.start();
    MainWindow& main = session.main();

    QVERIFY(main.isVisible());
    QCOMPARE(ui(main).fileList->pattern(),
             QStringLiteral("*.bmp;*.jpeg;*.jpg;*.gif;&;*.png;*.webp;*.tif;*.tiff;*.svg;*.vuq"));
    // The folder chosen last is gone: the next start folder is listed, without a word.
    QVERIFY(ui(main).fileList->path() != QLatin1String("/no/such/folder"));
    QCOMPARE(ui(main).folderChooser->selectedFolder(), ui(main).fileList->path());
    QCOMPARE(ui(main).fileLabel->caption(), QString());
    QVERIFY(ui(main).preview->picture().isNull());

    QVERIFY(session.windows.isLoaded<TileWindow>());
    QVERIFY(session.windows.isLoaded<OptionsWindow>());
    QVERIFY(session.windows.isLoaded<AboutBox>());
    QVERIFY(!session.windows.get<TileWindow>().isVisible());
    QVERIFY(!session.windows.get<OptionsWindow>().isVisible());
    QVERIFY(!session.windows.get<AboutBox>().isVisible());
    // The tile window took its size from the store as it was at start-up: Small.
    QCOMPARE(session.windows.get<TileWindow>().outerSize(), QSize(633, 420));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::activation_buildsPatternFromStore_data()
{
    // "Bitmap", "Jpg", "Gif" and "Ico" as stored.
    test::addColumns<QStringList, QString, QStringList>("stored", "pattern", "listed");

    QTest::newRow("all four") << QStringList{"*.bmp;", "*.jpeg;*.jpg;", "*.gif;", "*.ico;"}
                              << "*.bmp;*.jpeg;*.jpg;*.gif;*.ico;*.vuq"
                              << QStringList{"a.bmp", "b.jpeg", "c.jpg", "d.gif", "e.ico", "f.vuq"};
    QTest::newRow("JPEG only") << QStringList{"&;", "*.jpeg;*.jpg;", "&;", "&;"}
                               << "&;*.jpeg;*.jpg;&;&;*.vuq"
                               << QStringList{"&", "b.jpeg", "c.jpg", "f.vuq"};
    QTest::newRow("bitmap and icon")
        << QStringList{"*.bmp;", "&;", "&;", "*.ico;"} << "*.bmp;&;&;*.ico;*.vuq"
        << QStringList{"&", "a.bmp", "e.ico", "f.vuq"};
    QTest::newRow("bitmap, other keys missing") << QStringList{"*.bmp;", Absent, Absent, Absent}
                                                << "*.bmp;*.vuq" << QStringList{"a.bmp", "f.vuq"};
    QTest::newRow("no type key") << QStringList{Absent, Absent, Absent, Absent} << "*.vuq"
                                 << QStringList{"f.vuq"};
    QTest::newRow("only icon, disabled")
        << QStringList{Absent, Absent, Absent, "&;"} << "&;*.vuq" << QStringList{"&", "f.vuq"};
    QTest::newRow("hand-edited") << QStringList{"*.tga;", "&;", "*.gif;", Absent}
                                 << "*.tga;&;*.gif;*.vuq"
                                 << QStringList{"&", "d.gif", "f.vuq", "g.tga"};
}

void TestMainWindow::activation_buildsPatternFromStore()
{
    QFETCH(QStringList, stored);
    QFETCH(QString, pattern);
    QFETCH(QStringList, listed);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"a.bmp", "b.jpeg", "c.jpg", "d.gif", "e.ico", "f.vuq", "&",
                                   "g.tga", "h.txt"}));
    Session session;
    // Shown, so that the seeded values are in the file the edits below change.
    session.startShown();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path());

    const std::array<const char*, 8> keys{"Bitmap", "Jpg",  "Gif",  "Ico",
                                          "Png",    "Webp", "Tiff", "Svg"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        putType(session.iso, keys[i], stored.value(qsizetype(i), Absent));
    main.listStoredTypes();

    QCOMPARE(ui(main).fileList->pattern(), pattern);
    QCOMPARE(sortedListed(*ui(main).fileList), listed);
    QCOMPARE(ui(main).countLabel->caption(), QString::number(listed.size()));
}

void TestMainWindow::activation_keepsFolderAndRecountsLabel()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"a.bmp", "b.gif", "c.tga"}));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path());
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("2"));

    for (const char* key : {"Bitmap", "Jpg", "Gif", "Ico"})
        session.iso.put("Type", key, QStringLiteral("&;"));
    main.listStoredTypes();
    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(ui(main).fileList->listCount(), 0);
    QCOMPARE(ui(main).countLabel->caption(), QString()); // empty, not "0"

    session.iso.put("Type", "Gif", QStringLiteral("*.gif;"));
    main.listStoredTypes();
    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("1"));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::browse_startsAtListFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"a.bmp"}));
    Session session;
    session.windows.start();
    const QString startFolder = ui(session.main()).fileList->path();

    test::browseTo(session, dir.path());
    test::cancelBrowse(session);

    QCOMPARE(session.platform.chooserStarts, (QStringList{startFolder, dir.path()}));
}

void TestMainWindow::browse_cancelChangesNothing()
{
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    const test::RedBitmapChosen chosen(session, {"b.gif", "c.jpg"});
    QVERIFY(chosen.ready);
    const QTemporaryDir& dir = chosen.dir;
    QVERIFY(!ui(main).preview->picture().isNull());
    const QStringList listed = test::listedNames(*ui(main).fileList);
    const QString count = ui(main).countLabel->caption();
    const QString file = ui(main).fileLabel->caption();
    const qint64 preview = ui(main).preview->picture().cacheKey();
    // A cancel does not even re-read the folder.
    QVERIFY(makeFiles(dir.path(), {"d.jpeg"}));

    test::cancelBrowse(session);

    QCOMPARE(session.platform.chooserStarts.size(), 2);
    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(test::listedNames(*ui(main).fileList), listed);
    QCOMPARE(ui(main).fileList->fileName(), QStringLiteral("a.bmp"));
    QCOMPARE(ui(main).countLabel->caption(), count);
    QCOMPARE(ui(main).fileLabel->caption(), file);
    QCOMPARE(ui(main).preview->picture().cacheKey(), preview);
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::browse_countsMatchingFiles_data()
{
    test::addRows<int>("matching", {{"one", 1}, {"twelve", 12}, {"a hundred and three", 103}});
}

void TestMainWindow::browse_countsMatchingFiles()
{
    QFETCH(int, matching);
    static const QStringList Extensions{"bmp", "jpeg", "jpg", "gif", "vuq"};
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QStringList names;
    for (int i = 0; i < matching; ++i)
        names.append(QStringLiteral("pic%1.%2").arg(i).arg(Extensions.at(i % Extensions.size())));
    QVERIFY(makeFiles(dir.path(), names));
    // Not listed: the icon type is off at first, and the others are no picture type.
    QVERIFY(makeFiles(dir.path(), {"x.ico", "y.tga", "z.txt", "bmp"}));
    QVERIFY(QDir(dir.path()).mkdir("folder.bmp"));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();

    test::browseTo(session, dir.path());

    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(ui(main).countLabel->caption(), QString::number(matching));
    names.sort();
    QCOMPARE(sortedListed(*ui(main).fileList), names);
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::browse_folderWithoutPictures_data()
{
    test::addColumns<QStringList, QStringList>("files", "folders");
    QTest::newRow("empty") << QStringList{} << QStringList{};
    QTest::newRow("no matching file") << QStringList{"x.ico", "y.tga", "z.txt"} << QStringList{};
    QTest::newRow("only a folder named like a picture")
        << QStringList{} << QStringList{"photos.jpg"};
}

void TestMainWindow::browse_folderWithoutPictures()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QTemporaryDir pictures;
    QTemporaryDir empty;
    QVERIFY(pictures.isValid() && empty.isValid());
    QVERIFY(
        test::writePicture(pictures.path(), "a.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    QVERIFY(makeFiles(empty.path(), files));
    for (const QString& folder : folders)
        QVERIFY(QDir(empty.path()).mkdir(folder));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, pictures.path());
    QVERIFY(test::clickFile(*ui(main).fileList, "a.bmp"));
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("1"));
    QVERIFY(!ui(main).fileLabel->caption().isEmpty());

    test::browseTo(session, empty.path());

    QCOMPARE(session.platform.messages.size(), 1);
    const test::TestPlatform::Message& box = session.platform.messages.first();
    QCOMPARE(box.prompt, NoImagesPrompt);
    QCOMPARE(int(box.style), 64);
    QCOMPARE(box.title, QStringLiteral("No images found"));
    QCOMPARE(ui(main).fileList->path(), empty.path());
    QCOMPARE(ui(main).fileList->listCount(), 0);
    QCOMPARE(ui(main).countLabel->caption(), QString());
    QCOMPARE(ui(main).fileLabel->caption(), QString());
    QVERIFY(ui(main).preview->picture().isNull());
    // No second chooser opened by itself.
    QCOMPARE(session.platform.chooserStarts.size(), 2);
}

void TestMainWindow::browse_unreadableFolder_data()
{
    test::addRows<bool>("removed",
                        {{"removed before listing", true}, {"no read permission", false}});
}

void TestMainWindow::browse_unreadableFolder()
{
    QFETCH(bool, removed);
    QTemporaryDir pictures;
    QTemporaryDir other;
    QVERIFY(pictures.isValid() && other.isValid());
    QVERIFY(
        test::writePicture(pictures.path(), "a.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    const QString unreadable = other.path() + QStringLiteral("/locked");
    QVERIFY(QDir().mkdir(unreadable));
    QVERIFY(makeFiles(unreadable, {"b.bmp"}));
    if (removed) {
        QVERIFY(QDir(unreadable).removeRecursively());
    } else {
        QVERIFY(QFile::setPermissions(unreadable, QFileDevice::Permissions()));
        if (QDir(unreadable).entryList(QDir::Files).contains("b.bmp")) {
            QFile::setPermissions(unreadable, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
            QSKIP("this user reads folders whatever their permissions (root)");
        }
    }
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, pictures.path());
    QVERIFY(test::clickFile(*ui(main).fileList, "a.bmp"));
    QVERIFY(!ui(main).preview->picture().isNull());

    test::browseTo(session, unreadable);
    if (!removed)
        QFile::setPermissions(unreadable, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                              QFileDevice::ExeOwner);

    QCOMPARE(session.platform.messages.size(), 1);
    const test::TestPlatform::Message& box = session.platform.messages.first();
    QCOMPARE(box.prompt, QStringLiteral("Something is going wrong here !"));
    QCOMPARE(int(box.style), 16);
    QCOMPARE(box.title, QStringLiteral("Error"));
    QCOMPARE(ui(main).fileList->fileName(), QString());
    QVERIFY(ui(main).preview->picture().isNull());
    QCOMPARE(ui(main).fileLabel->caption(), QString());
    // The next start lists the folder listed last.
    QCOMPARE(session.iso.get("Folder", "Last").toString(), pictures.path());
}

void TestMainWindow::browse_clearsFileLabelAndPreview()
{
    QTemporaryDir first;
    QTemporaryDir second;
    QVERIFY(first.isValid() && second.isValid());
    QVERIFY(test::writePicture(first.path(), "a.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    // A file named like the one selected before is another file.
    QVERIFY(makeFiles(second.path(), {"a.bmp", "c.jpg", "d.jpeg"}));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, first.path());
    QVERIFY(test::clickFile(*ui(main).fileList, "a.bmp"));
    QCOMPARE(ui(main).fileLabel->caption(), pathIn(first, "a.bmp"));
    QVERIFY(!ui(main).preview->picture().isNull());

    test::browseTo(session, second.path());

    QCOMPARE(ui(main).fileLabel->caption(), QString());
    QVERIFY(ui(main).preview->picture().isNull());
    QCOMPARE(ui(main).fileList->fileName(), QString());
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("3"));
    QVERIFY(session.platform.messages.isEmpty());
    test::ShowCounter tileShows(session.windows.get<TileWindow>());
    QVERIFY(!test::pressPreview(session, Qt::LeftButton));
    QCOMPARE(tileShows.shows, 0);
    QCOMPARE(session.platform.messages.size(), 1);
    QCOMPARE(session.platform.messages.first().title, QStringLiteral("Empty file"));
}

void TestMainWindow::fileClick_showsPictureStretched_data()
{
    test::addColumns<QString, QByteArray, QSize>("name", "format", "size");
    QTest::newRow("wide bitmap") << "wide.bmp" << QByteArray("BMP") << QSize(40, 6);
    QTest::newRow("tall GIF") << "tall.gif" << QByteArray("GIF") << QSize(6, 300);
    QTest::newRow("large JPEG") << "large.jpg" << QByteArray("JPG") << QSize(900, 700);
    QTest::newRow("JPEG with long extension") << "small.jpeg" << QByteArray("JPG") << QSize(16, 16);
}

void TestMainWindow::fileClick_showsPictureStretched()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(QSize, size);
    // Left half red, right half blue: the preview keeps the halves whatever its proportions.
    QImage picture = test::solidPicture(size, Qt::red);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = size.width() / 2; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(0, 0, 255));
    }
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writePicture(dir.path(), name, picture, format.constData()));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path());

    QVERIFY(test::clickFile(*ui(main).fileList, name));

    QCOMPARE(ui(main).fileLabel->caption(), pathIn(dir, name));
    QVERIFY(!ui(main).preview->picture().isNull());
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("1"));
    const QImage shown = ui(main).preview->grab().toImage();
    const QRect area = ui(main).preview->pictureArea();
    const int middle = area.center().y();
    // The picture reaches every edge of the box, red on the left and blue on the right.
    for (const int y : {area.top(), middle, area.bottom()}) {
        QVERIFY2(near(shown.pixelColor(area.left(), y), Qt::red), qPrintable(QString::number(y)));
        QVERIFY2(near(shown.pixelColor(area.right(), y), Qt::blue), qPrintable(QString::number(y)));
    }
    QVERIFY(near(shown.pixelColor(area.left() + area.width() / 4, area.top()), Qt::red));
    QVERIFY(near(shown.pixelColor(area.right() - area.width() / 4, area.bottom()), Qt::blue));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::fileClick_invalidPictureRecoversSilently_data()
{
    test::addColumns<QString, QByteArray>("name", "content");
    const QImage green = test::solidPicture({16, 16}, Qt::green);
    QTest::newRow("empty bitmap") << "empty.bmp" << QByteArray();
    QTest::newRow("text named JPEG") << "notes.jpg" << QByteArray("not a picture at all\n");
    QTest::newRow("PNG named bitmap") << "png.bmp" << test::encodedPicture(green, "PNG");
    QTest::newRow("bitmap named GIF") << "bmp.gif" << test::encodedPicture(green, "BMP");
    QTest::newRow("GIF header only") << "cut.gif" << QByteArray("GIF89a");
}

void TestMainWindow::fileClick_invalidPictureRecoversSilently()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    const test::PictureChosen chosen(session, "good.bmp", test::solidPicture({8, 8}, Qt::red),
                                     "BMP", {{name, content}});
    QVERIFY(chosen.ready);
    const QTemporaryDir& dir = chosen.dir;
    QVERIFY(!ui(main).preview->picture().isNull());
    // Added after the list was read: the recovery's re-read brings it in.
    QVERIFY(makeFiles(dir.path(), {"late.jpeg"}));

    QVERIFY(test::clickFile(*ui(main).fileList, name));

    QVERIFY(session.platform.messages.isEmpty());
    QVERIFY(ui(main).preview->picture().isNull());
    QVERIFY(test::listedNames(*ui(main).fileList).contains("late.jpeg"));
    QCOMPARE(ui(main).fileList->listCount(), 3);
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("3"));
    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(ui(main).fileList->fileName(), name);
    QCOMPARE(ui(main).fileLabel->caption(), pathIn(dir, name));
}

void TestMainWindow::fileClick_deletedFileLeavesList_data()
{
    test::addRows<QStringList>("kept", {{"other files left", QStringList{"a.bmp", "b.gif"}},
                                        {"the only file", QStringList{}}});
}

void TestMainWindow::fileClick_deletedFileLeavesList()
{
    QFETCH(QStringList, kept);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), kept));
    QVERIFY(test::writePicture(dir.path(), "gone.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path());
    QVERIFY(test::listedNames(*ui(main).fileList).contains("gone.bmp"));
    QVERIFY(QFile::remove(pathIn(dir, "gone.bmp")));

    QVERIFY(test::clickFile(*ui(main).fileList, "gone.bmp"));

    QVERIFY(session.platform.messages.isEmpty());
    QCOMPARE(test::listedNames(*ui(main).fileList), kept);
    // Here an empty list counts "0".
    QCOMPARE(ui(main).countLabel->caption(), QString::number(kept.size()));
    QCOMPARE(ui(main).fileList->fileName(), QString());
    QCOMPARE(ui(main).fileLabel->caption(), QString());
    QVERIFY(ui(main).preview->picture().isNull());
}

void TestMainWindow::fileClick_folderEndingInSeparator()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writePicture(dir.path(), "a.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path() + QLatin1Char('/'));

    QVERIFY(test::clickFile(*ui(main).fileList, "a.bmp"));

    QCOMPARE(ui(main).fileLabel->caption(), dir.path() + QStringLiteral("//a.bmp"));
    QVERIFY(!ui(main).preview->picture().isNull());
}

void TestMainWindow::fileClick_keyboardDownPreviewsNext()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(test::writePicture(dir.path(), "a.bmp", test::solidPicture({8, 8}, Qt::red), "BMP"));
    QVERIFY(test::writePicture(dir.path(), "b.bmp", test::solidPicture({8, 8}, Qt::blue), "BMP"));
    QVERIFY(test::writePicture(dir.path(), "c.bmp", test::solidPicture({8, 8}, Qt::green), "BMP"));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    test::browseTo(session, dir.path());
    QVERIFY(test::clickFile(*ui(main).fileList, "a.bmp"));
    const QPoint centre = ui(main).preview->pictureArea().center();
    QVERIFY(near(ui(main).preview->grab().toImage().pixelColor(centre), Qt::red));

    ui(main).fileList->setFocus();
    QTest::keyClick(ui(main).fileList, Qt::Key_Down);

    QCOMPARE(ui(main).fileList->fileName(), QStringLiteral("b.bmp"));
    QCOMPARE(ui(main).fileLabel->caption(), pathIn(dir, "b.bmp"));
    QTRY_VERIFY(near(ui(main).preview->grab().toImage().pixelColor(centre), Qt::blue));
}

void TestMainWindow::previewPress_withoutSelection_data()
{
    test::addColumns<Qt::MouseButton, bool>("button", "browsed");
    QTest::newRow("left, right after start-up") << Qt::LeftButton << false;
    QTest::newRow("right, after browsing") << Qt::RightButton << true;
    QTest::newRow("middle, after browsing") << Qt::MiddleButton << true;
}

void TestMainWindow::previewPress_withoutSelection()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, browsed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(makeFiles(dir.path(), {"a.bmp"}));
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    if (browsed)
        test::browseTo(session, dir.path());
    test::ShowCounter tileShows(session.windows.get<TileWindow>());

    const bool reached = test::pressPreview(session, button);

    QVERIFY(!reached);
    QCOMPARE(tileShows.shows, 0);
    QCOMPARE(session.platform.messages.size(), 1);
    const test::TestPlatform::Message& box = session.platform.messages.first();
    QCOMPARE(box.prompt, QStringLiteral("You have to select a file first!"));
    QCOMPARE(int(box.style), 48);
    QCOMPARE(box.title, QStringLiteral("Empty file"));
    QVERIFY(main.isVisible());
}

void TestMainWindow::previewPress_opensTileModally_data()
{
    test::addColumns<Qt::MouseButton, Qt::KeyboardModifiers>("button", "modifiers");
    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
    QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers();
    QTest::newRow("left with shift and control")
        << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier);
}

void TestMainWindow::previewPress_opensTileModally()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    const test::RedBitmapChosen chosen(session);
    QVERIFY(chosen.ready);
    const QTemporaryDir& dir = chosen.dir;
    QPointer<TileWindow> firstTile = &session.windows.get<TileWindow>();

    bool modal = false;
    bool mainShownBehind = false;
    bool blocksMain = false;
    const bool reached = test::pressPreview(
        session, button,
        [&](TileWindow& tile) {
            modal = tile.windowModality() == Qt::WindowModal;
            blocksMain = QGuiApplication::modalWindow() == tile.windowHandle();
            mainShownBehind = main.isVisible();
        },
        modifiers);

    QVERIFY(reached);
    QVERIFY(modal);
    QVERIFY(blocksMain);
    QVERIFY(mainShownBehind);
    QVERIFY(!session.windows.isLoaded<TileWindow>());
    QTRY_VERIFY(firstTile.isNull());
    QVERIFY(main.isVisible());
    QCOMPARE(ui(main).fileList->path(), dir.path());
    QCOMPARE(ui(main).fileList->fileName(), QStringLiteral("a.bmp"));
    QVERIFY(session.platform.messages.isEmpty());
}

void TestMainWindow::previewPress_refreshesPatternAfterTileCloses()
{
    Session session;
    session.windows.start();
    MainWindow& main = session.main();
    const test::RedBitmapChosen chosen(session, {"b.ico", "c.ico"});
    QVERIFY(chosen.ready);
    const QTemporaryDir& dir = chosen.dir;
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("1"));

    const bool reached = test::pressPreview(session, Qt::LeftButton, [&](TileWindow&) {
        session.iso.put("Type", "Ico", QStringLiteral("*.ico;"));
        session.iso.put("Type", "Gif", QStringLiteral("&;"));
    });

    QVERIFY(reached);
    QCOMPARE(ui(main).fileList->pattern(),
             QStringLiteral("*.bmp;*.jpeg;*.jpg;&;*.ico;*.png;*.webp;*.tif;*.tiff;*.svg;*.vuq"));
    QCOMPARE(sortedListed(*ui(main).fileList), (QStringList{"a.bmp", "b.ico", "c.ico"}));
    QCOMPARE(ui(main).countLabel->caption(), QStringLiteral("3"));
    QCOMPARE(ui(main).fileList->path(), dir.path());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
