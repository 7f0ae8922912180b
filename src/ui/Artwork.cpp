#include "Artwork.h"

#include "IconFile.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
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

// Decodes every image of the file into the cache, once.
void cacheImages(const QString& path)
{
    QPixmap probe;
    if (QPixmapCache::find(imageKey(path, 0), &probe))
        return;
    QFile source(path);
    const QByteArray file = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    const QByteArray format = QFileInfo(path).suffix().toLower().toLatin1();
    int index = 0;
    if (format == "ico" || format == "cur") {
        for (const QImage& image : readIconFile(file))
            QPixmapCache::insert(imageKey(path, index++), QPixmap::fromImage(image));
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
        QPixmapCache::insert(imageKey(path, index++), QPixmap::fromImage(image));
    } while (reader.jumpToNextImage());
}

} // namespace

QPixmap pixmap(const QString& path)
{
    QPixmap result;
    if (path.isEmpty())
        return result;
    cacheImages(path);
    QPixmapCache::find(imageKey(path, 0), &result);
    return result;
}

QIcon icon(const QString& path)
{
    QIcon result;
    cacheImages(path);
    QPixmap image;
    for (int index = 0; QPixmapCache::find(imageKey(path, index), &image); ++index)
        result.addPixmap(image);
    return result;
}

} // namespace zelvo::artwork
