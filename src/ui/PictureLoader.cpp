#include "PictureLoader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QScopeGuard>

#include <array>

namespace zelvo {

namespace {

constexpr std::array<const char*, 4> Formats{"bmp", "jpeg", "gif", "ico"};

// True when the JPEG's frame header says its scans are sequential (baseline, extended or
// arithmetic), which libjpeg decodes row by row; false for progressive or unreadable headers.
bool isSequentialJpeg(QFile& file)
{
    const qint64 start = file.pos();
    const auto restore = qScopeGuard([&file, start] { file.seek(start); });
    if (!file.seek(0))
        return false;
    const QByteArray head = file.read(2);
    if (head.size() != 2 || uchar(head[0]) != 0xFF || uchar(head[1]) != 0xD8)
        return false;
    for (int markers = 0; markers < 256; ++markers) {
        char byte = 0;
        if (!file.getChar(&byte) || uchar(byte) != 0xFF)
            return false;
        while (uchar(byte) == 0xFF) {
            if (!file.getChar(&byte))
                return false;
        }
        const uchar marker = uchar(byte);
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC9)
            return true;
        if ((marker >= 0xC2 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
             marker != 0xCC) ||
            marker == 0xD9 || marker == 0xDA)
            return false;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        const QByteArray length = file.read(2);
        if (length.size() != 2)
            return false;
        const int skip = (uchar(length[0]) << 8 | uchar(length[1])) - 2;
        if (skip < 0 || !file.seek(file.pos() + skip))
            return false;
    }
    return false;
}

QImage readWith(QFile& file, const QByteArray& format, const PictureRequest& request)
{
    if (!file.seek(0))
        return {};
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    const QSize size = reader.size();
    // A few bytes can declare a picture of gigapixels. Only a sequential JPEG is decoded a
    // strip at a time for a reduced or partial picture; every other reader (a progressive JPEG
    // among them) holds the whole declared picture, so such a picture too large to decode
    // whole is refused before any decoding.
    if (size.isValid() &&
        qint64(size.width()) * size.height() * 4 > qint64(PictureAllocationLimitMB) * 1024 * 1024 &&
        !(format == "jpeg" && isSequentialJpeg(file)))
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
