// The picture loader's limits: what it opens, how much of a file it reads, the sizes it finds in
// headers, the work it lets a decoder do, and the pictures it still shows.

#include "BadPictures.h"

#include "pictures/BackgroundLoader.h"
#include "pictures/GifWork.h"
#include "pictures/PictureHeaders.h"
#include "pictures/PictureLoader.h"
#include "pictures/RowReducer.h"
#include "support/DataTable.h"
#include "support/Files.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include <sys/stat.h>

using namespace zelvo;

namespace {

const PictureRequest Preview{.scaledTo = {75, 50}, .clippedTo = {}};
const PictureRequest Part{.scaledTo = {}, .clippedTo = {100, 60}};

QImage patterned(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((x * 3) & 0xff, (y * 5) & 0xff, ((x + y) * 2) & 0xff));
    }
    return image;
}

QByteArray encoded(const QImage& image, const char* format, bool progressive = false)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image) ? buffer.data() : QByteArray();
}

// The mean difference of two pictures of one size, per channel.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    double total = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb p = left.pixel(x, y);
            const QRgb q = right.pixel(x, y);
            total += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                     std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return total / (4.0 * left.width() * left.height());
}

QByteArray corpusBytes(const QString& name)
{
    for (const test::BadPicture& picture : test::badPictures()) {
        if (picture.name == name)
            return picture.bytes;
    }
    return {};
}

// What the process has read from files and pipes so far; nothing where the system cannot say.
std::optional<qint64> bytesReadSoFar()
{
    QFile io(QStringLiteral("/proc/self/io"));
    if (!io.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : io.readAll().split('\n')) {
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    }
    return std::nullopt;
}

} // namespace

class PictureLoadingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void refusesWhatIsNotAPlainFile_data();
    void refusesWhatIsNotAPlainFile();
    void pipeSwappedInDuringLoads();
    void hugeSparseFilesAreNotRead_data();
    void hugeSparseFilesAreNotRead();
    void decodedSizes_data();
    void decodedSizes();
    void honestFileSizes_data();
    void honestFileSizes();
    void gifWorkEndsWithThePicture_data();
    void gifWorkEndsWithThePicture();
    void jpegScanLimit_data();
    void jpegScanLimit();
    void cancelAndDeadlineEndTheWork();
    void completeFilesOnly_data();
    void completeFilesOnly();
    void fileBeingWrittenIsWaitedFor();
    void jpegPreviewAndPartMatchQt_data();
    void jpegPreviewAndPartMatchQt();
    void shrinkingInStripsMatchesQt_data();
    void shrinkingInStripsMatchesQt();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir m_folder;
};

void PictureLoadingTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
}

QString PictureLoadingTest::write(const QString& name, const QByteArray& bytes)
{
    const QString path = m_folder.filePath(name);
    return test::writeBytes(path, bytes) ? path : QString();
}

void PictureLoadingTest::refusesWhatIsNotAPlainFile_data()
{
    QTest::addColumn<QString>("path");
    const QString fifo = m_folder.filePath(QStringLiteral("pipe.jpg"));
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(QDir(m_folder.path()).mkdir(QStringLiteral("folder.bmp")));
    QTest::newRow("pipe with no writer") << fifo;
    QTest::newRow("folder") << m_folder.filePath(QStringLiteral("folder.bmp"));
    QTest::newRow("device") << QStringLiteral("/dev/zero");
    QTest::newRow("missing") << m_folder.filePath(QStringLiteral("missing.gif"));
    QTest::newRow("empty name") << QString();
}

void PictureLoadingTest::refusesWhatIsNotAPlainFile()
{
    QFETCH(QString, path);
    QVERIFY(loadPicture(path).isNull());
    QVERIFY(loadPicture(path, Preview).isNull());
    QVERIFY(loadPicture(path, Part).isNull());
}

// A second thread keeps putting a picture and a pipe with no writer in turn under one name while
// the pictures are loaded: each load returns, with the picture or nothing.
void PictureLoadingTest::pipeSwappedInDuringLoads()
{
    const QString target = m_folder.filePath(QStringLiteral("swapped.jpg"));
    const QString picture =
        write(QStringLiteral("picture.tmp"), encoded(patterned({320, 200}), "jpeg"));
    const QString fifo = m_folder.filePath(QStringLiteral("fifo.tmp"));
    QVERIFY(!picture.isEmpty());
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray pictureName = QFile::encodeName(picture);
    const QByteArray fifoName = QFile::encodeName(fifo);
    std::atomic<bool> stop{false};
    std::atomic<int> swaps{0};
    std::thread swapper([&] {
        while (!stop) {
            for (const QByteArray& name : {pictureName, fifoName}) {
                (void)std::rename(name.constData(), targetName.constData());
                std::this_thread::sleep_for(std::chrono::microseconds(100));
                (void)std::rename(targetName.constData(), name.constData());
            }
            ++swaps;
        }
    });
    const auto join = qScopeGuard([&] {
        stop = true;
        swapper.join();
    });
    // Loads of a missing name take microseconds: without this they may all be over before the
    // swapping begins.
    QTRY_VERIFY(swaps > 0);
    int shown = 0;
    for (int load = 0; load < 3000; ++load) {
        const QImage image = loadPicture(target, load % 2 ? Preview : Part);
        if (!image.isNull()) {
            ++shown;
            QCOMPARE(image.size(), load % 2 ? Preview.scaledTo : Part.clippedTo);
        }
    }
    qInfo("%d of 3000 loads showed the picture, over %d swaps", shown, swaps.load());
}

void PictureLoadingTest::hugeSparseFilesAreNotRead_data()
{
    test::addColumns<QString, QByteArray, bool>("name", "head", "shown");
    const QByteArray start("\xff\xd8", 2);
    QTest::newRow("JPEG start only") << QStringLiteral("start.jpg") << start << false;
    QTest::newRow("JPEG start only, unknown type") << QStringLiteral("start.vuq") << start << false;
    QTest::newRow("small JPEG") << QStringLiteral("sound.jpg")
                                << corpusBytes(QStringLiteral("jpeg-sound.jpg")) << false;
    QTest::newRow("small bitmap") << QStringLiteral("sound.bmp")
                                  << corpusBytes(QStringLiteral("bmp-sound-8bit.bmp")) << false;
    QTest::newRow("small icon") << QStringLiteral("sound.ico")
                                << corpusBytes(QStringLiteral("ico-sound.ico")) << false;
    // Only the first picture of a GIF is shown, so only its bytes are read.
    QTest::newRow("small GIF") << QStringLiteral("sound.gif")
                               << corpusBytes(QStringLiteral("gif-sound.gif")) << true;
}

// A few bytes made gigabytes by a hole: no disk space, but a reader that reads it to the end
// reads for minutes. The loader reads no more than a picture of the declared size can take.
void PictureLoadingTest::hugeSparseFilesAreNotRead()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, head);
    QFETCH(bool, shown);
    QVERIFY(!head.isEmpty());
    const QString path = write(name, head);
    QVERIFY(!path.isEmpty());
    const auto remove = qScopeGuard([&path] { QFile::remove(path); });
    if (!QFile(path).resize(qint64(4) << 30))
        QSKIP("this file system cannot hold a sparse file of 4 GB");
    const std::optional<qint64> before = bytesReadSoFar();
    QCOMPARE(!loadPicture(path, Preview).isNull(), shown);
    QCOMPARE(!loadPicture(path, Part).isNull(), shown);
    if (before)
        QCOMPARE_LT(*bytesReadSoFar() - *before, qint64(64) << 20);
}

void PictureLoadingTest::decodedSizes_data()
{
    test::addColumns<QByteArray, QByteArray, qint64, qint64, qint64, qint64>(
        "format", "bytes", "width", "height", "decodedBytes", "pixelsComputed");
    const auto bitmap = [](qint32 width, qint32 height, quint16 bits) {
        QByteArray header("BM", 2);
        header.append(QByteArray(12, '\0'));
        QByteArray dib(40, '\0');
        qToLittleEndian<quint32>(40, dib.data());
        qToLittleEndian<qint32>(width, dib.data() + 4);
        qToLittleEndian<qint32>(height, dib.data() + 8);
        qToLittleEndian<quint16>(bits, dib.data() + 14);
        return header + dib;
    };
    QTest::newRow("bitmap 24-bit") << QByteArray("bmp") << bitmap(100, 50, 24) << qint64(100)
                                   << qint64(50) << qint64(100 * 50 * 4) << qint64(0);
    QTest::newRow("bitmap top-down") << QByteArray("bmp") << bitmap(100, -50, 24) << qint64(100)
                                     << qint64(50) << qint64(100 * 50 * 4) << qint64(0);
    QTest::newRow("bitmap 8-bit, top-down, tallest")
        << QByteArray("bmp") << bitmap(16, INT_MIN, 8) << qint64(16) << (qint64(1) << 31)
        << (qint64(16) << 31) << qint64(0);
    QTest::newRow("GIF screen of 8192 behind a pixel")
        << QByteArray("gif") << corpusBytes(QStringLiteral("hostile-screen-8192-picture-1x1.gif"))
        << qint64(8192) << qint64(8192) << qint64(8192) * 8192 * 4 << qint64(1);
    QTest::newRow("GIF screen of 16")
        << QByteArray("gif") << corpusBytes(QStringLiteral("gif-sound.gif")) << qint64(16)
        << qint64(16) << qint64(16 * 16 * 4) << qint64(16 * 16);
    QTest::newRow("GIF picture wider than its screen")
        << QByteArray("gif") << corpusBytes(QStringLiteral("gif-huge-screen-16-image-65535.gif"))
        << qint64(16) << qint64(16) << qint64(16 * 16 * 4) << qint64(65535) * 65535;
    QTest::newRow("GIF picture behind a comment of 76 kB, restored after")
        << QByteArray("gif") << corpusBytes(QStringLiteral("hostile-comment-then-restore-8000.gif"))
        << qint64(8000) << qint64(8000) << qint64(8000) * 8000 * 8 << qint64(8000) * 8000;
    QTest::newRow("icon with a bitmap")
        << QByteArray("ico") << corpusBytes(QStringLiteral("ico-sound.ico")) << qint64(16)
        << qint64(16) << qint64(16 * 16 * 9) << qint64(0);
    QTest::newRow("icon with a PNG of 8192")
        << QByteArray("ico") << corpusBytes(QStringLiteral("hostile-png-8192x8192-inside.ico"))
        << qint64(8192) << qint64(8192) << qint64(8192) * 8192 * 8 << qint64(0);
    QTest::newRow("PNG, 16 bits a channel")
        << QByteArray("png") << encoded(QImage(30, 20, QImage::Format_RGBA64), "png") << qint64(30)
        << qint64(20) << qint64(30 * 20 * 8) << qint64(0);
}

void PictureLoadingTest::decodedSizes()
{
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, bytes);
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(qint64, decodedBytes);
    QFETCH(qint64, pixelsComputed);
    QCOMPARE(pictureFormatOf(bytes), std::optional<QByteArray>(format));
    const std::optional<DecodedSize> size = format == "bmp"   ? bitmapDecodedSize(bytes)
                                            : format == "gif" ? gifDecodedSize(bytes)
                                            : format == "png" ? pngDecodedSize(bytes)
                                                              : iconDecodedSize(bytes);
    QVERIFY(size);
    QCOMPARE(size->width, width);
    QCOMPARE(size->height, height);
    QCOMPARE(size->bytes, decodedBytes);
    if (format == "gif")
        QCOMPARE(size->pixelsComputed, pixelsComputed);
}

void PictureLoadingTest::honestFileSizes_data()
{
    test::addColumns<qint64, qint64>("honest", "expected");
    QTest::newRow("bitmap 100 x 50, 24-bit")
        << honestBitmapBytes(100, 50, 24) << FileSlackBytes + 2 * 300 * 50;
    QTest::newRow("bitmap rows padded to 4 bytes")
        << honestBitmapBytes(3, 10, 8) << FileSlackBytes + 2 * 4 * 10;
    QTest::newRow("bitmap of no bits a pixel")
        << honestBitmapBytes(32, 2, 0) << FileSlackBytes + 2 * 4 * 2;
    QTest::newRow("bitmap beyond any file")
        << honestBitmapBytes(qint64(1) << 31, qint64(1) << 31, 65535) << (qint64(1) << 60);
    QTest::newRow("JPEG 1000 x 1000")
        << honestJpegBytes(1000, 1000) << JpegHeaderBytes + 8 * 1000 * 1000;
    QTest::newRow("JPEG of no size") << honestJpegBytes(0, 0) << JpegHeaderBytes;
}

void PictureLoadingTest::honestFileSizes()
{
    QFETCH(qint64, honest);
    QFETCH(qint64, expected);
    QCOMPARE(honest, expected);
}

void PictureLoadingTest::gifWorkEndsWithThePicture_data()
{
    test::addColumns<QString, bool>("name", "cut");
    QTest::newRow("endless codes after one pixel")
        << QStringLiteral("hostile-lzw-endless-1x1.gif") << true;
    QTest::newRow("endless codes after 64 x 64 pixels")
        << QStringLiteral("hostile-lzw-endless-64x64.gif") << true;
    QTest::newRow("sound") << QStringLiteral("gif-sound.gif") << false;
    QTest::newRow("no end code") << QStringLiteral("gif-lzw-no-clear-no-end.gif") << false;
}

void PictureLoadingTest::gifWorkEndsWithThePicture()
{
    QFETCH(QString, name);
    QFETCH(bool, cut);
    const QByteArray gif = corpusBytes(name);
    QVERIFY(!gif.isEmpty());
    const QByteArray bounded = boundGifWork(gif, LoadGuard(LoadControl{}));
    if (!cut) {
        QCOMPARE(bounded, gif);
        return;
    }
    // Thousands of bytes at most for the table's strings, none of the repeats after.
    QCOMPARE_LT(bounded.size(), 8000);
    QVERIFY(bounded.endsWith(QByteArray("\0;", 2)));
    const QImage image = QImage::fromData(bounded, "gif");
    QCOMPARE(image.size(), QSize(16, 16));
}

void PictureLoadingTest::jpegScanLimit_data()
{
    test::addColumns<int, bool>("scans", "shown");
    QTest::newRow("one") << 1 << true;
    QTest::newRow("at the limit") << MaxJpegScans << true;
    QTest::newRow("one past the limit") << MaxJpegScans + 1 << false;
    QTest::newRow("a thousand") << 1000 << false;
}

void PictureLoadingTest::jpegScanLimit()
{
    QFETCH(int, scans);
    QFETCH(bool, shown);
    const QString path =
        write(QStringLiteral("scans.jpg"), test::progressiveJpegWithScans(64, 64, scans));
    QCOMPARE(!loadPicture(path).isNull(), shown);
    QCOMPARE(!loadPicture(path, Preview).isNull(), shown);
    QCOMPARE(!loadPicture(path, Part).isNull(), shown);
}

// A stop asked for from another thread, or a deadline, ends a legitimate load that takes hundreds
// of milliseconds within moments, with nothing shown.
void PictureLoadingTest::cancelAndDeadlineEndTheWork()
{
    using namespace std::chrono;
    const QString path =
        write(QStringLiteral("large.jpg"), encoded(patterned({4000, 3000}), "jpeg", true));
    std::stop_source stop;
    steady_clock::time_point stoppedAt;
    std::thread canceller([&] {
        std::this_thread::sleep_for(50ms);
        stoppedAt = steady_clock::now();
        stop.request_stop();
    });
    const LoadedPicture cancelled = loadPicture(path, {}, {.stop = stop.get_token()});
    const steady_clock::time_point returnedAt = steady_clock::now();
    canceller.join();
    QCOMPARE(cancelled.outcome, LoadOutcome::Cancelled);
    QVERIFY(cancelled.image.isNull());
    QCOMPARE_LT(duration_cast<milliseconds>(returnedAt - stoppedAt).count(), 500);

    QElapsedTimer clock;
    clock.start();
    const LoadedPicture late = loadPicture(path, {}, {.deadline = QDeadlineTimer(50)});
    QCOMPARE(late.outcome, LoadOutcome::CannotLoad);
    QCOMPARE_LT(clock.elapsed(), 550);
    QCOMPARE(loadPicture(path, Preview, {}).outcome, LoadOutcome::Loaded);
}

void PictureLoadingTest::completeFilesOnly_data()
{
    test::addColumns<QString, QByteArray, bool, bool>("name", "bytes", "firstLoad", "reload");
    const QImage picture = patterned({320, 200});
    const QByteArray jpeg = encoded(picture, "jpeg");
    const QByteArray progressive = encoded(picture, "jpeg", true);
    const QByteArray bitmap = encoded(picture, "bmp");
    const QByteArray gif = corpusBytes(QStringLiteral("gif-sound.gif"));
    const QByteArray png = encoded(picture, "png");
    const QByteArray webp = encoded(picture, "webp");
    const struct
    {
        const char* row;
        QString name;
        QByteArray bytes;
        bool firstLoad;
        bool reload;
    } rows[] = {
        {"JPEG", "a.jpg", jpeg, true, true},
        {"JPEG with bytes after its end", "a.jpg", jpeg + "appended", true, true},
        {"JPEG without its end marker", "a.jpg", jpeg.chopped(2), true, false},
        {"JPEG stalled at a third", "a.jpg", jpeg.left(jpeg.size() / 3), false, false},
        {"progressive JPEG without its end marker", "a.jpg", progressive.chopped(2), true, false},
        {"progressive JPEG stalled at a third", "a.jpg", progressive.left(progressive.size() / 3),
         false, false},
        {"bitmap", "a.bmp", bitmap, true, true},
        {"bitmap missing rows", "a.bmp", bitmap.chopped(960), false, false},
        {"run-length bitmap", "a.bmp", corpusBytes(QStringLiteral("bmp-rle8-sound.bmp")), true,
         true},
        {"run-length bitmap without its end", "a.bmp",
         corpusBytes(QStringLiteral("bmp-rle8-sound.bmp")).chopped(2), false, false},
        {"GIF", "a.gif", gif, true, true},
        {"GIF without its trailer", "a.gif", gif.chopped(1), true, false},
        {"GIF cut in its picture", "a.gif", gif.left(40), false, false},
        {"icon", "a.ico", corpusBytes(QStringLiteral("ico-sound.ico")), true, true},
        {"icon whose second picture is missing", "a.ico",
         corpusBytes(QStringLiteral("ico-second-entry-past-end.ico")), true, false},
        {"PNG", "a.png", png, true, true},
        {"PNG without its end chunk", "a.png", png.chopped(12), false, false},
        {"PNG stalled at a third", "a.png", png.left(png.size() / 3), false, false},
        {"WebP", "a.webp", webp, true, true},
        {"WebP stalled at a third", "a.webp", webp.left(webp.size() / 3), false, false},
    };
    for (const auto& row : rows)
        QTest::newRow(row.row) << row.name << row.bytes << row.firstLoad << row.reload;
}

// A first load shows a file whose picture data is all there (a part of a picture, the part that
// is there); a reload only a file written to its end, so that a file being written is not shown
// half done.
void PictureLoadingTest::completeFilesOnly()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, firstLoad);
    QFETCH(bool, reload);
    const QString path = write(name, bytes);
    QCOMPARE(!loadPicture(path, Preview).isNull(), firstLoad);
    for (const PictureRequest& request : {Preview, Part}) {
        PictureRequest complete = request;
        complete.completeOnly = true;
        QCOMPARE(!loadPicture(path, complete).isNull(), reload);
    }
}

// A bitmap whose full length is set before its bytes arrive, as some downloaders write them: the
// windows' loads wait until the file stands still, and show it whole.
void PictureLoadingTest::fileBeingWrittenIsWaitedFor()
{
    const QImage picture = patterned({64, 64});
    const QByteArray bitmap = encoded(picture, "bmp");
    QFile file(m_folder.filePath(QStringLiteral("download.bmp")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(bitmap.size()) &&
            file.write(bitmap.left(bitmap.size() / 2)) > 0 && file.flush());
    PictureWorkers workers(1);
    BackgroundLoader loader(workers);
    std::optional<QImage> loaded;
    loader.load({.path = file.fileName(), .request = {}},
                [&](const PictureAnswer& answer) { loaded = answer.picture; });
    std::thread rest([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        (void)file.write(bitmap.mid(bitmap.size() / 2));
        file.close();
    });
    const bool answered = QTest::qWaitFor([&] { return loaded.has_value(); }, 10000);
    rest.join();
    QVERIFY(answered);
    QCOMPARE(loaded->convertToFormat(QImage::Format_RGB32), picture);
}

void PictureLoadingTest::jpegPreviewAndPartMatchQt_data()
{
    test::addColumns<bool, bool>("progressive", "grey");
    QTest::newRow("sequential") << false << false;
    QTest::newRow("progressive") << true << false;
    QTest::newRow("grey") << false << true;
}

// libjpeg used directly shows what Qt's reader showed: the preview reduced, the part cut out.
void PictureLoadingTest::jpegPreviewAndPartMatchQt()
{
    QFETCH(bool, progressive);
    QFETCH(bool, grey);
    QImage source = patterned({600, 400});
    if (grey)
        source = source.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray jpeg = encoded(source, "jpeg", progressive);
    const QString path = write(QStringLiteral("picture.jpg"), jpeg);

    QBuffer buffer;
    buffer.setData(jpeg);
    QImageReader reader(&buffer, "jpeg");
    const QImage whole = reader.read();
    QVERIFY(!whole.isNull());

    const QImage preview = loadPicture(path, Preview);
    QCOMPARE(preview.size(), Preview.scaledTo);
    QCOMPARE_LT(meanDifference(preview, whole.scaled(Preview.scaledTo, Qt::IgnoreAspectRatio,
                                                     Qt::SmoothTransformation)),
                6.0);
    const QImage part = loadPicture(path, Part);
    QCOMPARE(part.size(), Part.clippedTo);
    QCOMPARE_LT(meanDifference(part, whole.copy(QRect(QPoint(0, 0), Part.clippedTo))), 1.0);
    const QImage all = loadPicture(path);
    QCOMPARE(all.size(), whole.size());
    QCOMPARE_LT(meanDifference(all, whole), 1.0);
}

void PictureLoadingTest::shrinkingInStripsMatchesQt_data()
{
    test::addColumns<QImage, QSize>("picture", "target");
    // Smooth shading, where any sound reduction agrees with Qt's.
    QImage rgb(2000, 1500, QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x)
            rgb.setPixel(x, y, qRgb(x * 255 / 2000, y * 255 / 1500, (x + y) * 255 / 3500));
    }
    QTest::newRow("by 15") << rgb << QSize(134, 100);
    QTest::newRow("by less than 2") << rgb << QSize(1500, 1000);
    QTest::newRow("one way only") << rgb << QSize(2000, 100);
    QTest::newRow("colour indices")
        << rgb.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither)
        << QSize(134, 134);
    QImage transparent = rgb.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < transparent.height(); y += 2)
        std::fill_n(reinterpret_cast<QRgb*>(transparent.scanLine(y)), transparent.width(), 0u);
    QTest::newRow("half transparent") << transparent << QSize(100, 75);
}

void PictureLoadingTest::shrinkingInStripsMatchesQt()
{
    QFETCH(QImage, picture);
    QFETCH(QSize, target);
    const QImage shrunk = scaleDownInStrips(picture, target, LoadGuard(LoadControl{}));
    QCOMPARE(shrunk.size(), target);
    const QImage byQt = picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QCOMPARE_LT(meanDifference(shrunk.convertToFormat(QImage::Format_ARGB32),
                               byQt.convertToFormat(QImage::Format_ARGB32)),
                3.0);
}

QTEST_MAIN(PictureLoadingTest)
#include "tst_pictureloading.moc"
