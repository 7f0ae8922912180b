#include "Artwork.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QPixmapCache>
#include <QtEndian>

namespace zelvo::artwork {

namespace {

QString imageKey(const QString& path, int index)
{
    return path + QLatin1Char('#') + QString::number(index);
}

// Qt's icon reader leaves the images of a 24-bit icon opaque; their transparency is in the
// one-bit mask that follows each image in the file.
QImage withIconMask(const QImage& image, const QByteArray& file, int index)
{
    const auto word = [&file](qsizetype at) {
        return qFromLittleEndian<quint16>(file.constData() + at);
    };
    const auto dword = [&file](qsizetype at) {
        return qFromLittleEndian<quint32>(file.constData() + at);
    };
    const qsizetype entry = 6 + qsizetype(index) * 16;
    if (file.size() < entry + 16 || word(2) < 1 || word(2) > 2)
        return image;
    const qsizetype offset = dword(entry + 12);
    if (offset < 0 || file.size() < offset + 40 || word(offset + 14) != 24)
        return image;
    const int width = int(dword(offset + 4));
    const int height = int(dword(offset + 8)) / 2;
    if (width != image.width() || height != image.height())
        return image;
    const qsizetype colourStride = ((qsizetype(width) * 3 + 3) / 4) * 4;
    const qsizetype maskStride = ((qsizetype(width) + 31) / 32) * 4;
    const qsizetype mask = offset + 40 + colourStride * height;
    if (file.size() < mask + maskStride * height)
        return image;
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const uchar*>(file.constData() + mask + maskStride * (height - 1 - y));
        for (int x = 0; x < width; ++x) {
            if (row[x / 8] & (0x80 >> (x % 8)))
                masked.setPixel(x, y, 0);
        }
    }
    return masked;
}

// Decodes every image of the file into the cache, once.
void cacheImages(const QString& path)
{
    QPixmap probe;
    if (QPixmapCache::find(imageKey(path, 0), &probe))
        return;
    QFile source(path);
    const QByteArray file = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    // The reader named by the suffix alone: left to guess, Qt would first load every image
    // plugin it has to probe the content, which costs start-up time.
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    const bool icon = reader.format() == "ico";
    int index = 0;
    do {
        QImage image = reader.read();
        if (image.isNull())
            break;
        if (icon)
            image = withIconMask(image, file, index);
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
