#include "Artwork.h"

#include "IconFile.h"

#include <QBuffer>
#include <QCursor>
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
        if (QString twice = doubleSizePath(path); !twice.isEmpty() && QFile::exists(twice))
            return {std::move(twice), 2.0};
    }
    return {path, 1.0};
}

qreal screenRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// Decodes every image of the file into the cache, once, each at the file's pixel ratio.
void cacheImages(const Source& drawn)
{
    const QString& path = drawn.path;
    const auto insert = [&](int index, QImage image) {
        image.setDevicePixelRatio(drawn.ratio);
        QPixmapCache::insert(imageKey(path, index), QPixmap::fromImage(std::move(image)));
    };
    QPixmap probe;
    if (QPixmapCache::find(imageKey(path, 0), &probe))
        return;
    QFile source(path);
    const QByteArray file = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    int index = 0;
    if (format == "ico" || format == "cur") {
        for (const QImage& image : readIconFile(file))
            insert(index++, image);
        if (index > 0)
            return;
    }
    QBuffer buffer;
    buffer.setData(file);
    // The reader named by the suffix alone: left to guess, Qt would first load every image
    // plugin it has to probe the content, which costs start-up time.
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    do {
        const QImage image = reader.read();
        if (image.isNull())
            break;
        insert(index++, image);
    } while (reader.jumpToNextImage());
}

} // namespace

QPixmap pixmap(const QString& path)
{
    return pixmap(path, screenRatio());
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

QIcon icon(const QString& path)
{
    return icon(path, screenRatio());
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
