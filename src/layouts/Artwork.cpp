#include "Artwork.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>

namespace zelvo::artwork {

namespace {

QString imageKey(const QString& path, int index)
{
    return path + QLatin1Char('#') + QString::number(index);
}

// Qt's name for the drawing at twice the size: ":/zelvo/title@2x.bmp" for ":/zelvo/title.bmp".
QString doubleSizePath(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : path.left(dot) + QLatin1String("@2x") + path.mid(dot);
}

bool isIconFile(const QString& path)
{
    return path.endsWith(QLatin1String(".ico")) || path.endsWith(QLatin1String(".cur"));
}

// The images of an icon or cursor file are embedded as PNG twins, which Qt's built-in reader
// decodes: ":/zelvo/png/mail.ico.1.png" holds the second image of ":/zelvo/mail.ico".
QString twinPath(const QString& path, int index)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return path.left(slash + 1) + QLatin1String("png/") + path.mid(slash + 1) + QLatin1Char('.') +
           QString::number(index) + QLatin1String(".png");
}

struct Source
{
    QString path;
    qreal ratio = 1.0;
};

// Any ratio above 1 takes the drawing at twice the size, where there is one, as Qt's own
// lookup rounds the ratio up.
Source sourceFor(const QString& path, qreal ratio)
{
    if (ratio > 1.0) {
        if (QString twice = doubleSizePath(path);
            !twice.isEmpty() && QFile::exists(isIconFile(twice) ? twinPath(twice, 0) : twice))
            return {std::move(twice), 2.0};
    }
    return {path, 1.0};
}

// The reader named by the suffix alone: left to guess, Qt would first load every image plugin
// it has to probe the content, which costs start-up time.
QImage readImage(QImageReader& reader, const QString& path)
{
    reader.setFileName(path);
    reader.setFormat(QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

void insertImage(const QString& key, QImage image, qreal ratio)
{
    image.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, QPixmap::fromImage(std::move(image)));
}

// Decodes the images of an icon or cursor, or the one picture of any other file, into the cache,
// once, each at the file's pixel ratio.
void cacheImages(const Source& drawn)
{
    const QString& path = drawn.path;
    QPixmap probe;
    if (QPixmapCache::find(imageKey(path, 0), &probe))
        return;
    QImageReader reader;
    if (!isIconFile(path)) {
        if (QImage image = readImage(reader, path); !image.isNull())
            insertImage(imageKey(path, 0), std::move(image), drawn.ratio);
        return;
    }
    for (int index = 0; QFile::exists(twinPath(path, index)); ++index)
        insertImage(imageKey(path, index), readImage(reader, twinPath(path, index)), drawn.ratio);
}

// The program icon as drawn for the desktop's icon theme, one folder per installed size
// (":/zelvo/icons/22x22/org.zelvo.Zelvo.png"): the windows carry every size the desktop has.
constexpr char ThemeFolder[] = ":/zelvo/icons";
constexpr char ThemeProgramIcon[] = "org.zelvo.Zelvo.png";

void addThemeSizes(QIcon& icon)
{
    QImageReader reader;
    const QDir theme(QString::fromLatin1(ThemeFolder));
    for (const QString& folder : theme.entryList(QDir::Dirs)) {
        const QString path =
            theme.filePath(folder + QLatin1Char('/') + QLatin1String(ThemeProgramIcon));
        reader.setFileName(path);
        reader.setFormat("png");
        const QSize size = reader.size();
        if (!size.isValid() || icon.availableSizes().contains(size))
            continue;
        QPixmap picture;
        if (!QPixmapCache::find(path, &picture)) {
            insertImage(path, readImage(reader, path), 1.0);
            QPixmapCache::find(path, &picture);
        }
        icon.addPixmap(picture);
    }
}

} // namespace

qreal screenRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap pixmap(const QString& path, qreal ratio)
{
    QPixmap result;
    if (path.isEmpty())
        return result;
    const Source source = sourceFor(path, ratio);
    cacheImages(source);
    QPixmapCache::find(imageKey(source.path, 0), &result);
    return result;
}

QIcon icon(const QString& path, qreal ratio)
{
    QIcon result;
    const auto addImages = [&result](const Source& source) {
        cacheImages(source);
        QPixmap image;
        for (int index = 0; QPixmapCache::find(imageKey(source.path, index), &image); ++index)
            result.addPixmap(image);
    };
    addImages({path, 1.0});
    if (const Source drawn = sourceFor(path, ratio); drawn.path != path)
        addImages(drawn);
    return result;
}

QIcon windowIcon(const QString& path, qreal ratio)
{
    QIcon result = icon(path, ratio);
    if (path == QLatin1String(ProgramIcon))
        addThemeSizes(result);
    return result;
}

QCursor cursor(const QString& path, int hotX, int hotY)
{
    const QPixmap picture = pixmap(path);
    // Platform-specific: under X11 Qt hands the hot spot to the server in the picture's own
    // pixels; elsewhere it is counted in the window's.
    const qreal scale =
        QGuiApplication::platformName() == QLatin1String("xcb") ? picture.devicePixelRatio() : 1.0;
    return QCursor(picture, qRound(hotX * scale), qRound(hotY * scale));
}

} // namespace zelvo::artwork
