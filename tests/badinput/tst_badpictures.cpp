// Damaged, misleading and hostile picture files: clicked in the file list and opened in the
// tile window, each must leave the program running, answering, and silent.

#include "BadPictures.h"
#include "support/IsolatedSettings.h"
#include "support/TestPlatform.h"

#include "app/Form1.h"
#include "app/Windows.h"
#include "settings/SettingsStore.h"
#include "tile/Form2.h"
#include "ui/AutoLabel.h"
#include "ui/FileListBox.h"
#include "ui/PictureBox.h"
#include "ui/PictureLoader.h"
#include "ui/TilingImage.h"

#include <QElapsedTimer>
#include <QMap>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace zelvo;

class BadPicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void previewAndTileSurvive_data();
    void previewAndTileSurvive();

private:
    QList<test::BadPicture> m_pictures;
    QTemporaryDir m_folder;
    std::unique_ptr<test::IsolatedSettings> m_iso;
    std::unique_ptr<SettingsStore> m_store;
    test::TestPlatform m_platform;
    std::unique_ptr<Windows> m_windows;
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
    m_windows = std::make_unique<Windows>(*m_store, m_platform);
    m_windows->start();

    Form1& main = m_windows->get<Form1>();
    m_platform.folderAnswers.push_back(m_folder.path());
    main.Opendir_Click();
    QVERIFY(m_platform.messages.isEmpty());
    QCOMPARE(main.Files->listCount(), int(m_pictures.size()));
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

void BadPicturesTest::previewAndTileSurvive_data()
{
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("name");
    for (const test::BadPicture& picture : test::badPictures())
        QTest::newRow(qPrintable(picture.name)) << picture.kind << picture.name;
}

void BadPicturesTest::previewAndTileSurvive()
{
    QFETCH(QByteArray, kind);
    QFETCH(QString, name);
    Form1& main = m_windows->get<Form1>();
    m_platform.messages.clear();

    main.Files->setFileName(name);
    QCOMPARE(main.Files->fileName(), name);
    QElapsedTimer clock;
    clock.start();
    main.Files_Click();
    const bool previewShown = !main.Display->picture().isNull();

    // The file is still there, so the recovery keeps it listed and selected.
    QCOMPARE(main.Files->listCount(), int(m_pictures.size()));
    QCOMPARE(main.Files->fileName(), name);
    QCOMPARE(main.lblfile->caption(), main.picturePath());

    bool tileShown = false;
    bool tileHadPicture = false;
    {
        QObject caseScope;
        QTimer::singleShot(0, &caseScope, [&] {
            if (!m_windows->isLoaded<Form2>() || !m_windows->get<Form2>().isVisible())
                return;
            Form2& tile = m_windows->get<Form2>();
            tileShown = true;
            tileHadPicture = !tile.Zelvo->picture().isNull();
            tile.Zelvo_MouseDown();
        });
        main.Display_MouseDown();
    }
    const qint64 elapsed = clock.elapsed();
    if (elapsed >= 250)
        qInfo("%s took %lld ms (preview %s)", qPrintable(name), elapsed,
              previewShown ? "shown" : "refused");
    if (elapsed > m_slowestMs) {
        m_slowestMs = elapsed;
        m_slowest = name;
    }

    QVERIFY2(m_platform.messages.isEmpty(), qPrintable(m_platform.messages.value(0).prompt));
    QVERIFY(!m_windows->isLoaded<Form2>() || !m_windows->get<Form2>().isVisible());
    QVERIFY(main.isVisible());
    QCOMPARE(main.Files->listCount(), int(m_pictures.size()));
    QVERIFY(!tileShown || tileHadPicture);

    auto& outcome = m_outcomes[kind];
    ++(previewShown ? outcome.first : outcome.second);

    if (kind == "valid") {
        QVERIFY(previewShown);
        QVERIFY(tileShown);
    }
    // Declared sizes far past what one decoded picture may take are refused before decoding,
    // whatever part of the picture is wanted, except a sequential JPEG, which is decoded a
    // strip at a time at the reduced or clipped size that is shown.
    for (const char* declared : {"65535x65535", "20000x20000", "100000x100000"}) {
        if (kind == "huge-size" && name.contains(QLatin1String(declared)) &&
            !name.contains(QLatin1String("jpeg-baseline"))) {
            QVERIFY(!previewShown);
            QVERIFY(!tileShown);
        }
    }
    // Pictures made to take the decoders' memory or time: refused before the work, or shown
    // within the budget (a picture ends where its pixels are complete; a bitmap of colour
    // indices of 64 million pixels fits).
    if (name.startsWith(QLatin1String("hostile-"))) {
        const bool fits = name.contains(QLatin1String("lzw-endless")) ||
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

QTEST_MAIN(BadPicturesTest)
#include "tst_badpictures.moc"
