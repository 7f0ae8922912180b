#include "Artwork.h"

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
    QImageReader reader(path);
    int index = 0;
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
