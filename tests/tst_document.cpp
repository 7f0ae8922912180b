// A picture loaded once for every window: whole where it fits the budget, a JPEG's part handed on
// as soon as its rows are in, the part alone for what cannot be decoded whole; and one document
// per file, shared while a window holds it.
#include "memory/HugeJpeg.h"
#include "pictures/LargeImage.h"
#include "pictures/PictureDocument.h"
#include "pictures/PictureDocuments.h"
#include "pictures/PictureLoader.h"
#include "pictures/PictureWorkers.h"
#include "support/Pictures.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace zelvo;
using namespace zelvo::test;

class TestDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wholeOrPart_data();
    void wholeOrPart();
    void oneDocumentPerFile();
    void poolLendsItsMemoryAgain();

private:
    QTemporaryDir m_folder;
    QImage m_patterned = patternedPicture({1200, 900});
};

void TestDocument::initTestCase()
{
    QVERIFY(m_patterned.save(m_folder.filePath("whole.jpg"), "jpg", 95));
    QVERIFY(m_patterned.save(m_folder.filePath("whole.png")));
    // Large enough to be laid on large pages: 2000 x 1200 and 2400 x 1200 pixels.
    for (const int width : {2000, 2400})
        QVERIFY(patternedPicture({width, 1200})
                    .save(m_folder.filePath(QStringLiteral("large%1.jpg").arg(width)), "jpg", 90));
    QVERIFY(m_patterned.copy(0, 0, 200, 900).save(m_folder.filePath("narrow.jpg"), "jpg", 95));
    const QByteArray jpeg = readBytes(m_folder.filePath("whole.jpg"));
    QVERIFY(writeBytes(m_folder.filePath("cut.jpg"), jpeg.left(jpeg.size() * 2 / 3)));
    // Past the budget: 8400 x 8200 pixels take 275 MB.
    QVERIFY2(bench::writeHugeJpeg(m_folder.filePath("huge.jpg"), 8400, 8200, 30),
             "cjpeg is missing");
    QVERIFY(writeBytes(m_folder.filePath("drawn.svg"),
                       "<svg xmlns='http://www.w3.org/2000/svg' width='800' height='600'>"
                       "<rect width='800' height='600' fill='#2040d0'/></svg>"));
}

void TestDocument::wholeOrPart_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("handedFirst");
    QTest::newRow("JPEG within the budget") << "whole.jpg" << true << QSize(1200, 900) << true;
    QTest::newRow("JPEG narrower than the part") << "narrow.jpg" << true << QSize(200, 900) << true;
    // Other readers give their picture whole, with nothing first.
    QTest::newRow("PNG within the budget") << "whole.png" << true << QSize(1200, 900) << false;
    // The rows of the part are there; the rest of the picture is not.
    QTest::newRow("JPEG cut short past the part") << "cut.jpg" << false << QSize(300, 200) << true;
    QTest::newRow("JPEG past the budget") << "huge.jpg" << false << QSize(300, 200) << false;
    QTest::newRow("SVG, drawn") << "drawn.svg" << false << QSize(300, 200) << false;
}

void TestDocument::wholeOrPart()
{
    QFETCH(QString, name);
    QFETCH(bool, whole);
    QFETCH(QSize, size);
    QFETCH(bool, handedFirst);
    QImage first;
    const WholeOrPart loaded = loadWholeOrPart(m_folder.filePath(name), {300, 200}, false, {},
                                               [&first](const QImage& part) { first = part; });
    QCOMPARE(loaded.loaded.outcome, LoadOutcome::Loaded);
    QCOMPARE(loaded.whole, whole);
    QCOMPARE(loaded.loaded.image.size(), size);
    QCOMPARE(!first.isNull(), handedFirst);
    // The part handed first is the top-left of what follows, pixel for pixel, and no wider.
    if (handedFirst) {
        QCOMPARE(first.size(), QSize(300, 200).boundedTo(size));
        QCOMPARE(first, loaded.loaded.image.copy(QRect(QPoint(), first.size()))
                            .convertToFormat(first.format()));
    }
    // A file that must be complete is not shown in part before its end is read.
    first = QImage();
    const WholeOrPart complete = loadWholeOrPart(m_folder.filePath(name), {300, 200}, true, {},
                                                 [&first](const QImage& part) { first = part; });
    QVERIFY(first.isNull());
    QCOMPARE(complete.loaded.image.isNull(), name == "cut.jpg");
}

// The preview and the tile window asking for one file get one document; once neither holds it, a
// new one reads the file again.
void TestDocument::oneDocumentPerFile()
{
    PictureWorkers workers(2);
    PictureDocuments documents(workers);
    const QString path = m_folder.filePath("whole.jpg");
    std::shared_ptr<PictureDocument> forTile = documents.open(path);
    std::shared_ptr<PictureDocument> forPreview = documents.open(path);
    QCOMPARE(forTile, forPreview);
    QVERIFY(documents.open(m_folder.filePath("whole.png")) != forTile);

    QSignalSpy loaded(forTile.get(), &PictureDocument::loaded);
    QSignalSpy previewed(forPreview.get(), &PictureDocument::previewLoaded);
    QVERIFY(!forTile->loadPart({300, 200}));
    QVERIFY(!forPreview->loadPreview({120, 90}));
    QTRY_VERIFY(!forTile->busy());
    // The part first, then the whole, from which the preview and the wider part are made.
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(previewed.count(), 1);
    QCOMPARE(forTile->part().size(), QSize(300, 200));
    QCOMPARE(forTile->wider().size(), QSize(1200, 800));
    QCOMPARE(forTile->wholeSize(), QSize(1200, 900));
    QCOMPARE(forPreview->preview().size(), QSize(120, 90));
    QVERIFY(forTile->loadPart({600, 400}));

    forTile.reset();
    forPreview.reset();
    QVERIFY(documents.open(path)->part().isNull());
}

// A picture let go leaves its memory for the next of its size, which decodes into it whole and
// right; one of another size gets memory of its own.
void TestDocument::poolLendsItsMemoryAgain()
{
    const QString path = m_folder.filePath("large2000.jpg");
    const QImage plain = loadPicture(path);
    auto pool = std::make_shared<LargeImagePool>();
    const auto decode = [&](const QString& file) {
        return loadWholeOrPart(file, {300, 200}, false, {}, {}, pool).loaded.image;
    };
    const uchar* first = nullptr;
    {
        const QImage once = decode(path);
        QCOMPARE(once, plain);
        first = once.constBits();
    }
    QVERIFY(pool->keptBytes() >= std::size_t(plain.sizeInBytes()));
    {
        const QImage again = decode(path);
        QCOMPARE(pool->keptBytes(), std::size_t(0));
        QCOMPARE(again.constBits(), first);
        QCOMPARE(again, plain);
    }
    const std::size_t kept = pool->keptBytes();
    const QImage other = decode(m_folder.filePath("large2400.jpg"));
    QCOMPARE(other.size(), QSize(2400, 1200));
    QCOMPARE(pool->keptBytes(), kept);
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
