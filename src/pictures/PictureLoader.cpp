#include "PictureLoader.h"

#include "ByteFields.h"
#include "GifWork.h"
#include "GuardedDevice.h"
#include "JpegDecoder.h"
#include "PictureCompleteness.h"
#include "PictureFile.h"
#include "PictureHeaders.h"
#include "PngDisplayDevice.h"
#include "RowReducer.h"
#include "StillFile.h"
#include "SvgPicture.h"
#include "TiffHeaders.h"
#include "core/PictureTypes.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>

namespace zelvo {

namespace {

// The memory shrinking a picture decoded whole takes beside it: a strip of rows converted.
constexpr qint64 StripWorkBytes = 4 * 1024 * 1024;
// How much of a file is read between two looks at whether to stop.
constexpr qint64 GuardedReadBytes = 1024 * 1024;

const QByteArrayView PngSignature("\x89PNG\r\n\x1a\n", 8);

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

// Up to maxBytes more of the file appended to bytes, a step at a time while the load goes on.
[[nodiscard]] bool readGuarded(const PictureFile& file, QByteArray& bytes, qint64 maxBytes,
                               const LoadGuard& guard)
{
    bytes.reserve(bytes.size() + qsizetype(std::clamp<qint64>(file.size() - bytes.size(), 0,
                                                              std::max<qint64>(maxBytes, 0))));
    while (maxBytes > 0) {
        const qsizetype before = bytes.size();
        if (guard.stopped() || !file.readMore(bytes, std::min(maxBytes, GuardedReadBytes)))
            return false;
        if (bytes.size() == before)
            break;
        maxBytes -= bytes.size() - before;
    }
    return true;
}

// The bytes of an icon's first picture, which its reader shows, when that is a PNG: read by the
// PNG reader from a guarded device, where the icon's reader would decode it in one call.
[[nodiscard]] std::optional<QByteArrayView> iconPng(QByteArrayView icon)
{
    if (icon.size() < 6 + 16 || le16At(icon, 4) == 0)
        return std::nullopt;
    const qint64 size = le32At(icon, 6 + 8);
    const qint64 offset = le32At(icon, 6 + 12);
    if (offset >= icon.size() || !icon.sliced(offset).startsWith(PngSignature))
        return std::nullopt;
    return icon.sliced(offset, std::min(size, icon.size() - offset));
}

// A BMP, GIF, icon, PNG, WebP or TIFF, decoded by Qt's reader within the budget: a bitmap's,
// a PNG's and a TIFF's rows straight from the file, as they are decoded; a GIF's first picture and
// an icon from their bytes read into memory; a WebP, which its reader reads whole, from the file.
QImage loadWithQt(const PictureFile& file, QByteArray bytes, const QByteArray& format,
                  const PictureRequest& request, const LoadGuard& guard)
{
    std::optional<DecodedSize> decoded;
    // What is read into memory: a bitmap's or PNG's headers, a GIF up to the end of its first
    // picture, an icon whole.
    qint64 readLimit = file.size();
    // What the reader holds beside the picture: a WebP file whole, a PNG's colour profile.
    qint64 readerBytes = 0;
    std::optional<GifLayout> gif;
    ByteWalk walk(file, guard);
    if (format == "ico") {
        // An icon's pictures may lie anywhere in it; an icon is small, so it is read whole first.
        if (file.size() > MaxIconFileBytes || !readGuarded(file, bytes, MaxIconFileBytes, guard) ||
            (request.completeOnly && !iconEntriesFit(bytes)))
            return {};
        decoded = iconDecodedSize(bytes);
        if (const std::optional<QByteArrayView> png = iconPng(bytes)) {
            ByteWalk inIcon(*png);
            const std::optional<PngChunks> chunks = pngChunks(inIcon);
            readerBytes = chunks ? chunks->unpacked : Unbounded;
        }
    } else if (format == "bmp") {
        decoded = bitmapDecodedSize(bytes);
        if (decoded &&
            file.size() > honestBitmapBytes(decoded->width, decoded->height, bitmapBitCount(bytes)))
            return {};
        if (!bitmapDataEnds(walk, bytes))
            return {};
        readLimit = bytes.size();
    } else if (format == "png") {
        decoded = pngDecodedSize(bytes);
        const std::optional<PngChunks> chunks = decoded ? pngChunks(walk) : std::nullopt;
        if (!chunks || (request.completeOnly && !chunks->complete))
            return {};
        readerBytes = chunks->unpacked;
        readLimit = bytes.size();
    } else if (format == "tiff") {
        const std::optional<TiffPage> page = tiffFirstPage(walk);
        if (!page)
            return {};
        decoded = page->decoded;
        readerBytes = page->readerBytes;
        readLimit = bytes.size();
    } else if (format == "webp") {
        decoded = webpDecodedSize(bytes);
        if (request.completeOnly && webpDeclaredBytes(bytes).value_or(Unbounded) > file.size())
            return {};
        readerBytes = file.size();
        readLimit = bytes.size();
    } else {
        gif = gifLayout(walk);
        if (gif) {
            decoded = gifDecodedSize(*gif);
            // Only the first picture is shown, whose data takes under 3 bytes a pixel.
            readLimit =
                std::min(readLimit, gif->dataAt + FileSlackBytes + 3 * decoded->pixelsComputed);
        }
    }
    if (!decoded || readLimit + readerBytes + decoded->bytes + keptBytes(*decoded, request) >
                        PictureBudgetBytes)
        return {};
    // The work is bounded like the memory: no more pixels computed than the budget could hold.
    if (decoded->pixelsComputed > PictureBudgetBytes / 4)
        return {};
    guard.allowMoreWork(decoded->bytes * ReaderWorkNsPerDecodedByte);
    if (gif) {
        readLimit = gifSubBlocksEnd(walk, gif->dataAt + 1, readLimit);
        if (readLimit < 0 || (request.completeOnly && !gifTrailerFollows(walk, readLimit)))
            return {};
    }
    if (!readGuarded(file, bytes, readLimit - bytes.size(), guard))
        return {};
    if (format == "gif")
        bytes = boundGifWork(std::move(bytes), guard);

    QByteArray readerFormat = format;
    QByteArrayView inMemory = bytes;
    if (format == "ico") {
        if (const std::optional<QByteArrayView> png = iconPng(bytes)) {
            inMemory = *png;
            readerFormat = "png";
        }
    }
    // Read from the file, so that the bytes are not held twice.
    std::optional<GuardedDevice> device;
    if (format == "bmp" || format == "png" || format == "webp" || format == "tiff")
        device.emplace(file, guard);
    else
        device.emplace(inMemory, guard);
    if (!device->open(QIODevice::ReadOnly))
        return {};
    // A PNG reaches its reader without the chunks that showing it does not need.
    std::optional<PngDisplayDevice> png;
    if (readerFormat == "png" && !png.emplace(*device).open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(png ? static_cast<QIODevice*>(&*png) : &*device, readerFormat);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead())
        return {};
    QImage image;
    // A reader whose reads failed may still give the part it had: that is not the picture.
    if (!reader.read(&image) || image.isNull() || guard.stopped())
        return {};
    reader.setDevice(nullptr);
    png.reset();
    device.reset();
    bytes.clear();
    if (request.scaledTo.isValid() && image.size() != request.scaledTo &&
        (image.width() > request.scaledTo.width() || image.height() > request.scaledTo.height()))
        return scaleDownInStrips(image, request.scaledTo, guard);
    if (request.clippedTo.isValid() &&
        (image.width() > request.clippedTo.width() || image.height() > request.clippedTo.height()))
        return image.copy(QRect(QPoint(0, 0), request.clippedTo.boundedTo(image.size())));
    return image;
}

QImage loadWithin(const QString& path, const PictureRequest& request, const LoadGuard& guard,
                  bool awaitStillFile)
{
    const std::optional<PictureFile> file =
        awaitStillFile ? openStillFile(path, guard) : PictureFile::open(path);
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
    QImage image = *format == "jpeg"  ? decodeJpeg(*file, head, request, PictureBudgetBytes, guard)
                   : *format == "svg" ? loadSvg(*file, std::move(head), request, guard)
                                      : loadWithQt(*file, std::move(head), *format, request, guard);
    if (request.completeOnly && !file->unchangedSinceOpen())
        return {};
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

LoadedPicture loadPicture(const QString& path, const PictureRequest& request,
                          const LoadControl& control)
{
    const LoadGuard guard(control);
    QImage image = loadWithin(path, request, guard, control.awaitStillFile);
    // Whatever a reader gave once it was told to stop is not the whole picture.
    if (guard.stopped())
        return {{}, guard.cancelled() ? LoadOutcome::Cancelled : LoadOutcome::CannotLoad};
    if (image.isNull())
        return {};
    return {std::move(image), LoadOutcome::Loaded};
}

WholeOrPart loadWholeOrPart(const QString& path, QSize part, bool completeOnly,
                            const LoadControl& control,
                            const std::function<void(const QImage&)>& partReady,
                            const std::shared_ptr<LargeImagePool>& pool)
{
    const LoadGuard guard(control);
    const auto outcome = [&guard](QImage image) -> LoadedPicture {
        if (guard.stopped())
            return {{}, guard.cancelled() ? LoadOutcome::Cancelled : LoadOutcome::CannotLoad};
        if (image.isNull())
            return {};
        return {std::move(image), LoadOutcome::Loaded};
    };
    const bool drawn = pictureFormatFor(path) == QByteArray("svg");
    QImage handed;
    if (!drawn) {
        PictureRequest whole{.scaledTo = {}, .clippedTo = {}, .completeOnly = completeOnly};
        whole.pool = pool;
        if (!completeOnly && partReady) {
            whole.firstPart = part;
            whole.firstPartReady = [&handed, &partReady](const QImage& first) {
                handed = first;
                partReady(first);
            };
        }
        QImage image = loadWithin(path, whole, guard, control.awaitStillFile);
        if (!image.isNull() || guard.stopped())
            return {outcome(std::move(image)), true};
    }
    // The part handed first is the part a load clipped to it gives: the same rows, decoded alike.
    if (!handed.isNull())
        return {outcome(std::move(handed)), false};
    const PictureRequest clipped{.scaledTo = {}, .clippedTo = part, .completeOnly = completeOnly};
    return {outcome(loadWithin(path, clipped, guard, control.awaitStillFile)), false};
}

QImage loadPicture(const QString& path, const PictureRequest& request)
{
    return loadPicture(path, request, LoadControl{}).image;
}

} // namespace zelvo
