#include "PictureLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <array>

namespace zelvo {

namespace {

constexpr std::array<const char*, 4> Formats{"bmp", "jpeg", "gif", "ico"};

QImage readWith(QFile& file, const QByteArray& format, const PictureRequest& request)
{
    if (!file.seek(0))
        return {};
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    // A few bytes can declare a picture of gigapixels. The reader works through the whole
    // declared picture even for a reduced or partial one (a progressive JPEG keeps all of it in
    // memory), so a picture too large to decode whole is refused before any decoding.
    if (size.isValid() &&
        qint64(size.width()) * size.height() * 4 > qint64(PictureAllocationLimitMB) * 1024 * 1024)
        return {};
    bool scaledByReader = false;
    bool clippedByReader = false;
    if (size.isValid() && !size.isEmpty()) {
        if (request.scaledTo.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
            reader.setScaledSize(request.scaledTo);
            scaledByReader = true;
        } else if (request.clippedTo.isValid() &&
                   reader.supportsOption(QImageIOHandler::ClipRect)) {
            const QRect part =
                QRect(QPoint(0, 0), size).intersected(QRect(QPoint(0, 0), request.clippedTo));
            if (part.size() != size)
                reader.setClipRect(part);
            clippedByReader = true;
        }
    }
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    if (request.scaledTo.isValid() && !scaledByReader && image.size() != request.scaledTo &&
        (image.width() > request.scaledTo.width() || image.height() > request.scaledTo.height())) {
        image = image.scaled(request.scaledTo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (request.clippedTo.isValid() && !clippedByReader &&
        (image.width() > request.clippedTo.width() ||
         image.height() > request.clippedTo.height())) {
        image = image.copy(QRect(QPoint(0, 0), request.clippedTo.boundedTo(image.size())));
    }
    return image;
}

} // namespace

void applyPictureAllocationLimit()
{
    QImageReader::setAllocationLimit(PictureAllocationLimitMB);
}

std::optional<QByteArray> pictureFormatFor(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("bmp"))
        return QByteArray("bmp");
    if (suffix == QLatin1String("jpeg") || suffix == QLatin1String("jpg"))
        return QByteArray("jpeg");
    if (suffix == QLatin1String("gif"))
        return QByteArray("gif");
    if (suffix == QLatin1String("ico"))
        return QByteArray("ico");
    return std::nullopt;
}

QImage loadPicture(const QString& path, const PictureRequest& request)
{
    // Only plain files: a pipe or a device under a picture's name would block or never end.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (const std::optional<QByteArray> format = pictureFormatFor(path))
        return readWith(file, *format, request);
    for (const char* format : Formats) {
        QImage image = readWith(file, QByteArray(format), request);
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace zelvo
