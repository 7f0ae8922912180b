// Hostile pictures: how long one load takes and how far the process's peak memory grows, for
// the preview and for the tile window's part, each measured in a process of its own, beside a
// legitimate picture of the same dimensions where one can be made. Then how soon a legitimate
// load of 50 megapixels gives the processor back once it is cancelled or its deadline passes.
#include "badinput/BadPictures.h"
#include "common/ProcessMemory.h"
#include "common/Report.h"
#include "memory/HugeJpeg.h"
#include "pictures/PictureLoader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace zelvo;
using namespace zelvo::bench;

constexpr int Rounds = 3;
const PictureRequest Preview{.scaledTo = {134, 134}, .clippedTo = {}};
const PictureRequest Part{.scaledTo = {}, .clippedTo = {1920, 1080}};

// One load in a fresh process: prints milliseconds, peak growth in kB, and shown or refused.
int child(const QString& path, bool preview, int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    applyPictureAllocationLimit();
    const long before = statusKb("VmRSS");
    const bool restarted = restartPeak();
    const long base = restarted ? before : statusKb("VmHWM");
    const Clock::time_point start = Clock::now();
    const QImage image = loadPicture(path, preview ? Preview : Part);
    const double ms = millisecondsSince(start);
    std::printf("%.3f %ld %s\n", ms, statusKb("VmHWM") - base,
                image.isNull() ? "refused" : "shown");
    return 0;
}

// One load of the preview in a fresh process, ended after stopAfterMs by a stop asked for from
// another thread, or by a deadline: prints the milliseconds from then to the load's return, the
// processor time the process spent after it, and the outcome.
int stoppedChild(const QString& path, bool byDeadline, int stopAfterMs, int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    applyPictureAllocationLimit();
    std::stop_source stop;
    LoadControl control;
    if (byDeadline)
        control.deadline = QDeadlineTimer(stopAfterMs, Qt::PreciseTimer);
    else
        control.stop = stop.get_token();
    const Clock::time_point start = Clock::now();
    const Clock::time_point stopAt = start + std::chrono::milliseconds(stopAfterMs);
    std::thread stopper([&] {
        std::this_thread::sleep_until(stopAt);
        if (!byDeadline)
            stop.request_stop();
    });
    const LoadedPicture loaded = loadPicture(path, Preview, control);
    const double ms = millisecondsSince(stopAt);
    stopper.join();
    std::printf("%.3f 0 %s\n", ms, loaded.outcome == LoadOutcome::Loaded ? "shown" : "refused");
    return 0;
}

struct Load
{
    double ms = 0;
    double mb = 0;
    bool shown = false;
};

Load measure(const QString& program, const QStringList& arguments)
{
    std::vector<double> times;
    std::vector<double> peaks;
    bool shown = false;
    const QString& path = arguments.last();
    for (int round = 0; round < Rounds; ++round) {
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        if (!process.waitForFinished(600000) || process.exitCode() != 0) {
            std::fprintf(stderr, "bench_hostile: loading %s failed\n", qPrintable(path));
            std::exit(1);
        }
        const QList<QByteArray> answer = process.readAllStandardOutput().trimmed().split(' ');
        times.push_back(answer.value(0).toDouble());
        peaks.push_back(answer.value(1).toDouble() / 1024.0);
        shown = answer.value(2) == "shown";
    }
    return {median(times), median(peaks), shown};
}

Load measure(const QString& program, const QString& path, bool preview)
{
    return measure(program, {QStringLiteral("--child"),
                             preview ? QStringLiteral("preview") : QStringLiteral("part"), path});
}

bool writeFile(const QString& path, const QByteArray& bytes, qint64 size = -1)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && (size < 0 || file.resize(size));
}

QByteArray corpus(const QString& name)
{
    for (const test::BadPicture& picture : test::badPictures()) {
        if (picture.name == name)
            return picture.bytes;
    }
    std::fprintf(stderr, "bench_hostile: %s is not in the corpus\n", qPrintable(name));
    std::exit(1);
}

// A legitimate 8-bit bitmap of width x height, every byte written.
bool writeBitmap(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(200, 100, 50)});
    for (int y = 0; y < height; ++y)
        std::fill_n(image.scanLine(y), width, uchar((y / 64) % 2));
    return image.save(path, "BMP");
}

// The GIF with 16 MB more of comment before its picture.
QByteArray longComment(QByteArray gif)
{
    QByteArray comment("\x21\xfe", 2);
    for (int block = 0; block < 16 * 4096; ++block)
        comment.append(char(255)).append(QByteArray(255, 'c'));
    return gif.insert(13 + 12, comment.append('\0'));
}

// The arithmetic-coded JPEG with a kilobyte of coded data before its end.
QByteArray withArithmeticData(QByteArray jpeg)
{
    return jpeg.insert(jpeg.size() - 2, QByteArray(1024, '\x5a'));
}

// A PNG of 30000 x 30000 black pixels, a bit each, packed as tightly as can be: about 100 kB.
bool writeZeroPng(const QString& path)
{
    QImage zeros(30000, 30000, QImage::Format_Mono);
    zeros.fill(0);
    QImageWriter writer(path, "png");
    writer.setQuality(0);
    return writer.write(zeros);
}

// A PNG of one pixel behind 40 compressed texts of 7 MB each, under libpng's limit for one.
bool writeTextPng(const QString& path)
{
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    const QString text(7 << 20, QLatin1Char('a'));
    for (int i = 0; i < 40; ++i)
        dot.setText(QStringLiteral("Comment%1").arg(i), text);
    return dot.save(path, "png");
}

// A RIFF chunk: the file itself is one of type "RIFF" holding "WEBP" and its chunks.
QByteArray riffChunk(const QByteArray& type, const QByteArray& data)
{
    QByteArray size(4, '\0');
    qToLittleEndian(quint32(data.size()), size.data());
    return type + size + data + QByteArray(data.size() % 2, '\0');
}

// An animated WebP whose one frame of a pixel lies on a canvas of 16384 x 16384.
bool writeAnimatedWebp(const QString& path)
{
    QImage dot(1, 1, QImage::Format_RGB32);
    dot.fill(Qt::red);
    QBuffer still;
    if (!still.open(QIODevice::WriteOnly) || !dot.save(&still, "webp"))
        return false;
    const QByteArray canvas("\x02\0\0\0\xff\x3f\0\xff\x3f\0", 10);
    const QByteArray frame =
        QByteArray(12, '\0') + QByteArray("\x64\0\0\0", 4) + still.data().mid(12);
    return writeFile(path, riffChunk("RIFF", "WEBP" + riffChunk("VP8X", canvas) +
                                                 riffChunk("ANIM", QByteArray(6, '\0')) +
                                                 riffChunk("ANMF", frame)));
}

// An SVG of 4000 x 4000 holding that many shapes, each drawn on the whole of it.
QByteArray svgOfShapes(int shapes)
{
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4000' height='4000'>";
    for (int i = 0; i < shapes; ++i)
        svg += "<circle cx='2000' cy='2000' r='" + QByteArray::number(2000 - i % 1900) +
               "' fill='#" + QByteArray::number(0x100000 + i * 97 % 0xefffff, 16) + "'/>";
    return svg + "</svg>";
}

struct Case
{
    std::string label;
    QString hostile;
    QString legitimate; // empty: none of the same dimensions can be made
    // The picture itself is a legitimate one, to be shown however long that takes.
    bool sound = false;
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc >= 4 && std::string(argv[1]) == "--child")
        return child(QString::fromLocal8Bit(argv[3]), std::string(argv[2]) == "preview", argc,
                     argv);
    if (argc >= 5 && std::string(argv[1]) == "--stopped")
        return stoppedChild(QString::fromLocal8Bit(argv[4]), std::string(argv[2]) == "deadline",
                            std::atoi(argv[3]), argc, argv);

    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    const auto file = [&folder](const char* name) { return folder.filePath(QLatin1String(name)); };
    std::printf("writing the pictures (legitimate ones with cjpeg)...\n");
    std::fflush(stdout);
    const char* hostileNames[] = {"hostile-multi-scan-baseline-20000.jpg",
                                  "hostile-multi-scan-baseline-65500.jpg",
                                  "hostile-disguised-progressive.jpg",
                                  "hostile-scan-flood.jpg",
                                  "hostile-lzw-endless-1x1.gif",
                                  "hostile-screen-8192-picture-1x1.gif",
                                  "hostile-png-8192x8192-inside.ico",
                                  "hostile-rle8-8192x8192-no-data.bmp",
                                  "hostile-comment-then-picture-65535.gif",
                                  "hostile-comment-then-restore-8000.gif",
                                  "hostile-arithmetic-65500-no-data.jpg",
                                  "hostile-refinement-scans-10900.jpg",
                                  "hostile-refinement-scans-after-dc-10900.jpg",
                                  "hostile-bit-by-bit-10900.jpg",
                                  "jpeg-baseline-65535x65535.jpg",
                                  "jpeg-photo-8000x8000-progressive.jpg",
                                  "hostile-png-10-texts-of-8mb.png",
                                  "hostile-png-30-texts-of-8mb.png",
                                  "hostile-png-30-texts-of-8mb-inside.ico",
                                  "gif-sound.gif",
                                  "hostile-tiff-one-pixel-tile-65536.tif",
                                  "hostile-tiff-65535-entries.tif",
                                  "tiff-sound.tif",
                                  "hostile-svg-60000-elements.svg",
                                  "hostile-svg-copies-of-copies.svg",
                                  "hostile-svg-entities.svg",
                                  "hostile-svg-nested-200.svg",
                                  "svg-sound.svg"};
    for (const char* name : hostileNames) {
        if (!writeFile(file(name), corpus(QLatin1String(name))))
            return 1;
    }
    if (!writeFile(file("sparse-start.jpg"), QByteArray("\xff\xd8", 2), qint64(4) << 30) ||
        !writeFile(file("scans-at-limits.jpg"),
                   test::progressiveJpegWithScans(10900, 10900, MaxJpegScans)) ||
        !writeFile(file("sparse-sound.gif"), corpus(QStringLiteral("gif-sound.gif")),
                   qint64(4) << 30) ||
        !writeHugeJpeg(file("sequential-20000.jpg"), 20000, 20000, 80) ||
        !writeHugeJpeg(file("progressive-8192x8190.jpg"), 8192, 8190, 80, true) ||
        !writeBitmap(file("bitmap-8192.bmp"), 8192, 8192) ||
        !writeHugeJpeg(file("legitimate-50mp.jpg"), 8660, 5774, 90) ||
        !writeFile(file("long-comment-then-picture-65535.gif"),
                   longComment(corpus(QStringLiteral("hostile-comment-then-picture-65535.gif")))) ||
        !writeFile(
            file("arithmetic-65500-1kb.jpg"),
            withArithmeticData(corpus(QStringLiteral("hostile-arithmetic-65500-no-data.jpg")))) ||
        !writeZeroPng(file("zeros-30000.png")) ||
        !writeFile(file("plain-texts.png"), test::pngBehindTexts(30, false)) ||
        !writeTextPng(file("texts-40x7mb.png")) ||
        !writeAnimatedWebp(file("animation-canvas-16384.webp")) ||
        !writeFile(file("circles-4000-49000.svg"), svgOfShapes(49000))) {
        std::fputs("bench_hostile: cannot write the pictures\n", stderr);
        return 1;
    }
    QFile legitimate(file("legitimate-50mp.jpg"));
    if (!legitimate.open(QIODevice::ReadOnly) ||
        !writeFile(file("stalled-50mp.jpg"), legitimate.read(legitimate.size() / 5))) {
        std::fputs("bench_hostile: cannot cut the 50 MP picture short\n", stderr);
        return 1;
    }

    const std::vector<Case> cases{
        {"multi-scan 20000^2", file("hostile-multi-scan-baseline-20000.jpg"),
         file("sequential-20000.jpg")},
        {"multi-scan 65500^2", file("hostile-multi-scan-baseline-65500.jpg"), {}},
        {"disguised progr. 20000^2", file("hostile-disguised-progressive.jpg"),
         file("sequential-20000.jpg")},
        {"1000 scans 8192x8190", file("hostile-scan-flood.jpg"), file("progressive-8192x8190.jpg")},
        {"40 DC scans 10900^2, no data", file("scans-at-limits.jpg"), {}},
        {"sparse 4 GB, JPEG start", file("sparse-start.jpg"), {}},
        {"sparse 4 GB, GIF 16x16", file("sparse-sound.gif"), file("gif-sound.gif")},
        {"endless LZW, GIF 1x1", file("hostile-lzw-endless-1x1.gif"), file("gif-sound.gif")},
        {"GIF screen 8192^2, 1x1", file("hostile-screen-8192-picture-1x1.gif"), {}},
        {"PNG 8192^2 in icon", file("hostile-png-8192x8192-inside.ico"), {}},
        {"RLE8 BMP 8192^2, no data", file("hostile-rle8-8192x8192-no-data.bmp"),
         file("bitmap-8192.bmp")},
        {"GIF 65535^2 behind 76 kB comment", file("hostile-comment-then-picture-65535.gif"), {}},
        {"GIF 65535^2 behind 16 MB comment", file("long-comment-then-picture-65535.gif"), {}},
        {"GIF 8000^2 restore, behind comment", file("hostile-comment-then-restore-8000.gif"), {}},
        {"arithmetic 65500^2, no data", file("hostile-arithmetic-65500-no-data.jpg"), {}},
        {"arithmetic 65500^2, 1 kB data", file("arithmetic-65500-1kb.jpg"), {}},
        {"Huffman 65535^2, no data", file("jpeg-baseline-65535x65535.jpg"), {}},
        {"40 refinement scans 10900^2", file("hostile-refinement-scans-10900.jpg"), {}},
        {"DC + 39 refinements 10900^2", file("hostile-refinement-scans-after-dc-10900.jpg"), {}},
        {"14 passes, bit by bit, 10900^2", file("hostile-bit-by-bit-10900.jpg"), {}},
        {"50 MP JPEG stalled at a fifth", file("stalled-50mp.jpg"), file("legitimate-50mp.jpg")},
        {"PNG 30000^2 of zeros in 100 kB", file("zeros-30000.png"), {}},
        {"PNG 1x1 behind 40 texts of 7 MB", file("texts-40x7mb.png"), {}},
        {"PNG 1x1 behind 10 zTXt of 8 MB", file("hostile-png-10-texts-of-8mb.png"), {}},
        {"PNG 1x1 behind 30 zTXt of 8 MB", file("hostile-png-30-texts-of-8mb.png"), {}},
        {"PNG 1x1 behind 30 tEXt of 8 MB", file("plain-texts.png"), {}},
        {"icon: PNG behind 30 zTXt of 8 MB", file("hostile-png-30-texts-of-8mb-inside.ico"), {}},
        {"photo 8000^2 progressive, 52 MB", file("jpeg-photo-8000x8000-progressive.jpg"), {}, true},
        {"animated WebP, canvas 16384^2", file("animation-canvas-16384.webp"), {}},
        {"TIFF 1x1 in a tile of 65536^2", file("hostile-tiff-one-pixel-tile-65536.tif"),
         file("tiff-sound.tif")},
        {"TIFF directory of 65535 entries", file("hostile-tiff-65535-entries.tif"),
         file("tiff-sound.tif")},
        {"SVG of 60000 elements", file("hostile-svg-60000-elements.svg"), file("svg-sound.svg")},
        {"SVG of 10^9 copies of copies", file("hostile-svg-copies-of-copies.svg"),
         file("svg-sound.svg")},
        {"SVG of entities 10^10 long", file("hostile-svg-entities.svg"), file("svg-sound.svg")},
        {"SVG nested 200 deep", file("hostile-svg-nested-200.svg"), file("svg-sound.svg")},
        {"SVG 4000^2 of 49000 circles", file("circles-4000-49000.svg"), {}},
    };
    const QString program = QCoreApplication::applicationFilePath();
    Table times("Hostile pictures: one load, hostile vs a legitimate picture of the same size",
                "ms; baseline 0: none made", Rounds);
    Table peaks("Hostile pictures: peak resident growth of one load", "MB; baseline 0: none made",
                Rounds);
    for (const Case& c : cases) {
        for (const bool preview : {true, false}) {
            const Load hostile = measure(program, c.hostile, preview);
            const Load legitimate =
                c.legitimate.isEmpty() ? Load{} : measure(program, c.legitimate, preview);
            const std::string figure = c.label + (preview ? ", preview: " : ", tile: ") +
                                       (hostile.shown ? "shown" : "refused");
            times.add({figure, hostile.ms, legitimate.ms, c.sound ? 0.0 : 2000.0, -1.0, false});
            peaks.add({figure, hostile.mb, legitimate.mb, 300.0, -1.0, false});
        }
    }
    const bool timesMet = times.print();
    const bool peaksMet = peaks.print();

    // Stopped halfway through the preview of a legitimate picture: a 50-megapixel JPEG, decoded
    // by libjpeg, and a bitmap, read by Qt's reader.
    Table stopped("Stopping a legitimate preview halfway",
                  "ms from the stop to the load's return; baseline: the whole load", Rounds);
    for (const char* name : {"legitimate-50mp.jpg", "bitmap-8192.bmp"}) {
        const Load whole = measure(program, file(name), true);
        const QString half = QString::number(int(whole.ms / 2));
        for (const char* how : {"cancel", "deadline"}) {
            const Load late = measure(
                program, {QStringLiteral("--stopped"), QLatin1String(how), half, file(name)});
            stopped.add(
                {std::string(name) + " by " + how + ": " + (late.shown ? "shown" : "refused"),
                 late.ms, whole.ms, 100.0, -1.0, false});
        }
    }
    const bool stopsMet = stopped.print();
    return timesMet && peaksMet && stopsMet ? 0 : 2;
}
