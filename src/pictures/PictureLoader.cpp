#include "PictureLoader.h"

#include "GifWork.h"
#include "JpegDecoder.h"
#include "PictureFile.h"
#include "PictureHeaders.h"
#include "RowReducer.h"
#include "core/PictureTypes.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace zelvo {

namespace {

// The memory shrinking a picture decoded whole takes beside it: a strip of rows converted.
constexpr qint64 StripWorkBytes = 4 * 1024 * 1024;

// The memory the part of a decoded picture that is kept takes beside the picture itself.
[[nodiscard]] qint64 keptBytes(const DecodedSize& decoded, const PictureRequest& request)
{
    const QSize size(int(std::min<qint64>(decoded.width, 1 << 30)),
                     int(std::min<qint64>(decoded.height, 1 << 30)));
    if (request.scaledTo.isValid())
        return RowReducer::bytesFor(size, request.scaledTo) + StripWorkBytes;
    if (request.clippedTo.isValid()) {
        const QSize kept = size.boundedTo(request.clippedTo);
        return qint64(kept.width()) * kept.height() * 4;
    }
    return 0;
}

// A BMP, GIF or icon, decoded by Qt's reader within the budget: a bitmap straight from the
// descriptor, a GIF's first picture and an icon from their bytes read into memory.
QImage loadWithQt(const PictureFile& file, QByteArray bytes, const QByteArray& format,
                  const PictureRequest& request)
{
    std::optional<DecodedSize> decoded;
    qint64 readLimit = file.size();
    if (format == "ico") {
        // An icon's pictures may lie anywhere in it; an icon is small, so it is read whole first.
        if (file.size() > MaxIconFileBytes || !file.readMore(bytes, MaxIconFileBytes))
            return {};
        decoded = iconDecodedSize(bytes);
    } else if (format == "bmp") {
        decoded = bitmapDecodedSize(bytes);
        if (decoded &&
            file.size() > honestBitmapBytes(decoded->width, decoded->height, bitmapBitCount(bytes)))
            return {};
        readLimit = bytes.size();
    } else {
        decoded = gifDecodedSize(bytes);
        // Only the first picture is shown, whose data takes under 3 bytes a pixel.
        if (decoded)
            readLimit = std::min(readLimit, FileSlackBytes + 3 * decoded->width * decoded->height);
    }
    if (!decoded || readLimit + decoded->bytes + keptBytes(*decoded, request) > PictureBudgetBytes)
        return {};
    // The work is bounded like the memory: no more pixels computed than the budget could hold.
    if (decoded->pixelsComputed > PictureBudgetBytes / 4)
        return {};
    if (!file.readMore(bytes, readLimit - bytes.size()))
        return {};
    if (format == "gif")
        bytes = boundGifWork(std::move(bytes));

    QBuffer buffer;
    QFile direct;
    QIODevice* device = &buffer;
    if (format == "bmp") {
        // The rows of a bitmap are read as they are decoded, so that they are not held twice.
        if (!direct.open(file.descriptor(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle) ||
            !direct.seek(0))
            return {};
        device = &direct;
    } else {
        buffer.setData(bytes);
        if (!buffer.open(QIODevice::ReadOnly))
            return {};
    }
    QImageReader reader(device, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return {};
    reader.setDevice(nullptr);
    buffer.close();
    direct.close();
    bytes.clear();
    if (request.scaledTo.isValid() && image.size() != request.scaledTo &&
        (image.width() > request.scaledTo.width() || image.height() > request.scaledTo.height()))
        return scaleDownInStrips(image, request.scaledTo);
    if (request.clippedTo.isValid() &&
        (image.width() > request.clippedTo.width() || image.height() > request.clippedTo.height()))
        return image.copy(QRect(QPoint(0, 0), request.clippedTo.boundedTo(image.size())));
    return image;
}

} // namespace

void applyPictureAllocationLimit()
{
    QImageReader::setAllocationLimit(PictureAllocationLimitMB);
}

std::optional<QByteArray> pictureFormatFor(const QString& path)
{
    if (const PictureType* type = pictureTypeForSuffix(QFileInfo(path).suffix()))
        return QByteArray(type->format);
    return std::nullopt;
}

QImage loadPicture(const QString& path, const PictureRequest& request)
{
    const std::optional<PictureFile> file = PictureFile::open(path);
    if (!file)
        return {};
    QByteArray head;
    if (!file->readMore(head, PictureHeadBytes))
        return {};
    std::optional<QByteArray> format = pictureFormatFor(path);
    if (!format)
        format = pictureFormatOf(head);
    if (!format)
        return {};
    if (*format == "jpeg")
        return decodeJpeg(*file, head, request, PictureBudgetBytes);
    return loadWithQt(*file, std::move(head), *format, request);
}

} // namespace zelvo
