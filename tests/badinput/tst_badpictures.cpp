// Damaged, misleading and hostile picture files: clicked in the file list and opened in the
// tile window, each must leave the program running, answering, and silent.

#include "BadPictures.h"
#include "support/IsolatedSettings.h"
#include "support/MainWindowDriver.h"
#include "support/TestPlatform.h"

#include "app/MainWindow.h"
#include "app/WindowRegistry.h"
#include "pictures/PictureLoader.h"
#include "settings/SettingsStore.h"
#include "support/DataTable.h"
#include "tile/TileWindow.h"
#include "tile/TilingImage.h"
#include "widgets/AutoLabel.h"
#include "widgets/FileListBox.h"
#include "widgets/PictureBox.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace zelvo;

class BadPicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void previewAndTileSurvive_data();
    void previewAndTileSurvive();

    void hugeSparseAndSwappedFiles();

private:
    // Presses the preview and closes the tile window it opens once its load is over: whether the
    // window showed, and whether it had a picture.
    std::pair<bool, bool> pressPreview();

    QList<test::BadPicture> m_pictures;
    QTemporaryDir m_folder;
    std::unique_ptr<test::IsolatedSettings> m_iso;
    std::unique_ptr<SettingsStore> m_store;
    test::TestPlatform m_platform;
    std::unique_ptr<WindowRegistry> m_windows;
    // Per kind: how many files the preview showed and how many it refused.
    QMap<QByteArray, QPair<int, int>> m_outcomes;
    QString m_slowest;
    qint64 m_slowestMs = -1;
};

void BadPicturesTest::initTestCase()
{
    applyPictureAllocationLimit();
    m_pictures = test::badPictures();
    QVERIFY(m_folder.isValid());
    QVERIFY(test::writeBadPictures(m_pictures, m_folder.path()));

    QMap<QByteArray, int> counts;
    QSet<QString> names;
    for (const test::BadPicture& picture : m_pictures) {
        ++counts[picture.kind];
        names.insert(picture.name.toCaseFolded());
    }
    QCOMPARE(names.size(), m_pictures.size());
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        qInfo("bad pictures of kind %-22s %3d", it.key().constData(), it.value());
    qInfo("bad pictures in all: %d", int(m_pictures.size()));

    m_iso = std::make_unique<test::IsolatedSettings>();
    m_iso->put("Type", "Bitmap", QStringLiteral("*.bmp;"));
    m_iso->put("Type", "Jpg", QStringLiteral("*.jpeg;*.jpg;"));
    m_iso->put("Type", "Gif", QStringLiteral("*.gif;"));
    m_iso->put("Type", "Ico", QStringLiteral("*.ico;"));
    m_store = std::make_unique<SettingsStore>();
    m_windows = std::make_unique<WindowRegistry>(*m_store, m_platform);
    m_windows->start();

    MainWindow& main = m_windows->get<MainWindow>();
    m_platform.folderAnswers.push_back(m_folder.path());
    main.browseForFolder();
    QVERIFY(m_platform.messages.isEmpty());
    QCOMPARE(ui(main).fileList->listCount(), int(m_pictures.size()));
}

void BadPicturesTest::cleanupTestCase()
{
    for (auto it = m_outcomes.cbegin(); it != m_outcomes.cend(); ++it) {
        qInfo("preview of kind %-22s shown %3d, refused %3d", it.key().constData(),
              it.value().first, it.value().second);
    }
    if (m_slowestMs >= 0)
        qInfo("slowest file: %s, %lld ms", qPrintable(m_slowest), m_slowestMs);
    m_windows.reset();
    m_store.reset();
    m_iso.reset();
}

std::pair<bool, bool> BadPicturesTest::pressPreview()
{
    bool shown = false;
    bool hadPicture = false;
    QObject scope;
    QTimer::singleShot(0, &scope, [&] {
        test::waitForTile(*m_windows);
        if (!m_windows->isLoaded<TileWindow>() || !m_windows->get<TileWindow>().isVisible())
            return;
        TileWindow& tile = m_windows->get<TileWindow>();
        shown = true;
        hadPicture = !tile.tiledView->picture().isNull();
        emit tile.closeRequested();
    });
    m_windows->get<MainWindow>().openTileWindow();
    return {shown, hadPicture};
}

void BadPicturesTest::previewAndTileSurvive_data()
{
    test::addColumns<QByteArray, QString>("kind", "name");
    for (const test::BadPicture& picture : test::badPictures())
        QTest::newRow(qPrintable(picture.name)) << picture.kind << picture.name;
}

void BadPicturesTest::previewAndTileSurvive()
{
    QFETCH(QByteArray, kind);
    QFETCH(QString, name);
    MainWindow& main = m_windows->get<MainWindow>();
    m_platform.messages.clear();

    ui(main).fileList->setFileName(name);
    QCOMPARE(ui(main).fileList->fileName(), name);
    QElapsedTimer clock;
    clock.start();
    test::clickSelected(main);
    const bool previewShown = !ui(main).preview->picture().isNull();

    // The file is still there, so the recovery keeps it listed and selected.
    QCOMPARE(ui(main).fileList->listCount(), int(m_pictures.size()));
    QCOMPARE(ui(main).fileList->fileName(), name);
    QCOMPARE(ui(main).fileLabel->caption(), main.picturePath());

    const auto [tileShown, tileHadPicture] = pressPreview();
    const qint64 elapsed = clock.elapsed();
    if (elapsed >= 250)
        qInfo("%s took %lld ms (preview %s)", qPrintable(name), elapsed,
              previewShown ? "shown" : "refused");
    if (elapsed > m_slowestMs) {
        m_slowestMs = elapsed;
        m_slowest = name;
    }

    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).prompt));
    QVERIFY(!m_windows->isLoaded<TileWindow>() || !m_windows->get<TileWindow>().isVisible());
    QVERIFY(main.isVisible());
    QCOMPARE(ui(main).fileList->listCount(), int(m_pictures.size()));
    QVERIFY(!tileShown || tileHadPicture);

    auto& outcome = m_outcomes[kind];
    ++(previewShown ? outcome.first : outcome.second);

    if (kind == "valid") {
        QVERIFY(previewShown);
        QVERIFY(tileShown);
    }
    // Declared sizes far past what one decoded picture may take are refused before decoding,
    // whatever part of the picture is wanted; a sequential JPEG, decoded a strip at a time, as
    // far shorter than its blocks can be coded in.
    for (const char* declared : {"65535x65535", "20000x20000", "100000x100000"}) {
        if (kind == "huge-size" && name.contains(QLatin1String(declared))) {
            QVERIFY(!previewShown);
            QVERIFY(!tileShown);
        }
    }
    // Pictures made to take the decoders' memory or time: refused before the work, or shown
    // within the budget (a picture ends where its pixels are complete; a bitmap of colour
    // indices of 64 million pixels fits; a PNG's texts are not needed to show it).
    if (name.startsWith(QLatin1String("hostile-"))) {
        const bool fits = name.contains(QLatin1String("lzw-endless")) ||
                          name.contains(QLatin1String("-texts-")) ||
                          name.contains(QLatin1String("rle8-8192x8192")) ||
                          name.contains(QLatin1String("rle8-top-down-8192x8192"));
        QCOMPARE(previewShown, fits);
        QCOMPARE(tileShown, fits);
    }
    // Empty files and pictures of another type than their extension names are never shown.
    if (kind == "zero-bytes" || kind == "wrong-format") {
        QVERIFY(!previewShown);
        QVERIFY(!tileShown);
    }
}

// Files that are not what they were when listed: gigabytes of hole behind a few bytes, and a
// name that another thread keeps switching between a picture and a pipe with no writer. Each
// click returns, with the picture or without it.
void BadPicturesTest::hugeSparseAndSwappedFiles()
{
    MainWindow& main = m_windows->get<MainWindow>();
    m_platform.messages.clear();
    // The head of each file, and whether it is shown: only a GIF's first picture is read.
    QMap<QString, QPair<QByteArray, bool>> files;
    for (const test::BadPicture& picture : m_pictures) {
        if (picture.name == QLatin1String("jpeg-sound.jpg"))
            files.insert(QStringLiteral("sparse-sound.jpg"), {picture.bytes, false});
        if (picture.name == QLatin1String("gif-sound.gif"))
            files.insert(QStringLiteral("sparse-sound.gif"), {picture.bytes, true});
    }
    files.insert(QStringLiteral("sparse-start.jpg"), {QByteArray("\xff\xd8", 2), false});
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const QString path = QDir(m_folder.path()).filePath(it.key());
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(it->first) == it->first.size());
            if (!file.resize(qint64(4) << 30))
                QSKIP("this file system cannot hold a sparse file of 4 GB");
        }
        const auto remove = qScopeGuard([&path] { QFile::remove(path); });
        ui(main).fileList->refresh();
        ui(main).fileList->setFileName(it.key());
        QCOMPARE(ui(main).fileList->fileName(), it.key());
        test::clickSelected(main);
        QCOMPARE(!ui(main).preview->picture().isNull(), it->second);
        const auto [tileShown, tileHadPicture] = pressPreview();
        QCOMPARE(tileShown, it->second);
        QCOMPARE(tileHadPicture, it->second);
    }

    const QDir folder(m_folder.path());
    const QString name = QStringLiteral("swapped.jpg");
    const QByteArray target = QFile::encodeName(folder.filePath(name));
    const QByteArray picture = QFile::encodeName(folder.filePath(QStringLiteral("picture.tmp")));
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe.tmp")));
    for (const test::BadPicture& sound : m_pictures) {
        if (sound.name == QLatin1String("jpeg-sound.jpg")) {
            QFile file(QFile::decodeName(picture));
            QVERIFY(file.open(QIODevice::WriteOnly) &&
                    file.write(sound.bytes) == sound.bytes.size());
        }
    }
    // The name always exists, as the picture or as the pipe: each takes its place at once.
    QCOMPARE(::link(picture.constData(), target.constData()), 0);
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        const QByteArray linked = picture + ".link";
        while (!stop) {
            if (::mkfifo(pipe.constData(), 0600) == 0)
                (void)std::rename(pipe.constData(), target.constData());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (::link(picture.constData(), linked.constData()) == 0)
                (void)std::rename(linked.constData(), target.constData());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const auto join = qScopeGuard([&] {
        stop = true;
        swapper.join();
        QFile::remove(QFile::decodeName(target));
        QFile::remove(QFile::decodeName(picture));
        ui(main).fileList->refresh();
    });
    ui(main).fileList->refresh();
    int clicks = 0;
    int shown = 0;
    for (int attempt = 0; attempt < 400 && clicks < 100; ++attempt) {
        ui(main).fileList->setFileName(name);
        if (ui(main).fileList->fileName() != name) {
            ui(main).fileList->refresh();
            continue;
        }
        ++clicks;
        test::clickSelected(main);
        shown += ui(main).preview->picture().isNull() ? 0 : 1;
        // A pipe is not listed: a refused click that re-read the folder then may leave no file
        // selected.
        if (ui(main).fileList->fileName() == name)
            (void)pressPreview();
        QVERIFY(main.isVisible());
    }
    qInfo("%d clicks on a name switched between a picture and a pipe, %d previews shown", clicks,
          shown);
    QVERIFY(clicks > 0);
    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).prompt));
}

QTEST_MAIN(BadPicturesTest)
#include "tst_badpictures.moc"
