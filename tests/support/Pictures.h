#pragma once

#include "Files.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

namespace zelvo::test {

// A picture in which neighbouring pixels differ, so that a shift, a cut or a stretch shows up
// when the pixels are compared.
[[nodiscard]] inline QImage patternedPicture(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 0xff, y & 0xff, ((x >> 8) * 40 + (y >> 8) * 90) & 0xff));
    }
    return image;
}

// The picture laid side by side from the top-left corner over an area.
[[nodiscard]] inline QImage laidSideBySide(const QImage& tile, QSize area)
{
    QImage laid(area, QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x)
            laid.setPixel(x, y, tile.pixel(x % tile.width(), y % tile.height()));
    }
    return laid;
}

[[nodiscard]] inline QImage solidPicture(QSize size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A GIF of a picture with at most 128 colours; empty for more. Qt reads GIF but cannot write
// it, so the codes are stored without compression: at 8 bits each, every code is one byte, and a
// clear code every 100 pixels keeps the decoder's table from growing wider.
[[nodiscard]] inline QByteArray encodedGif(const QImage& image)
{
    constexpr int MinCodeSize = 7;
    constexpr char Clear = char(1 << MinCodeSize);
    constexpr char End = char((1 << MinCodeSize) + 1);
    QList<QRgb> palette;
    QByteArray codes;
    codes.append(Clear);
    int sinceClear = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = image.pixel(x, y) | 0xff000000u;
            qsizetype index = palette.indexOf(colour);
            if (index < 0) {
                if (palette.size() == (1 << MinCodeSize))
                    return {};
                index = palette.size();
                palette.append(colour);
            }
            if (sinceClear == 100) {
                codes.append(Clear);
                sinceClear = 0;
            }
            codes.append(char(index));
            ++sinceClear;
        }
    }
    codes.append(End);

    const auto le16 = [](QByteArray& out, int value) {
        out.append(char(value & 0xff));
        out.append(char((value >> 8) & 0xff));
    };
    QByteArray gif("GIF89a");
    le16(gif, image.width());
    le16(gif, image.height());
    gif.append(char(0xf0 | (MinCodeSize - 1))); // global table of 128 entries
    gif.append(char(0));
    gif.append(char(0));
    for (int i = 0; i < (1 << MinCodeSize); ++i) {
        const QRgb colour = i < palette.size() ? palette.at(i) : 0;
        gif.append(char(qRed(colour)));
        gif.append(char(qGreen(colour)));
        gif.append(char(qBlue(colour)));
    }
    gif.append(char(0x2c));
    le16(gif, 0);
    le16(gif, 0);
    le16(gif, image.width());
    le16(gif, image.height());
    gif.append(char(0));
    gif.append(char(MinCodeSize));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(char(0x3b));
    return gif;
}

// Writes the picture into the folder in the given format ("BMP", "PNG", "GIF", "JPG" ...).
[[nodiscard]] inline bool writePicture(const QString& folder, const QString& name,
                                       const QImage& image, const char* format)
{
    if (qstricmp(format, "GIF") == 0) {
        const QByteArray gif = encodedGif(image);
        return !gif.isEmpty() && writeBytes(QDir(folder).filePath(name), gif);
    }
    return image.save(QDir(folder).filePath(name), format);
}

// Writes any bytes under any name: an empty file, a text, a picture under a wrong extension.
[[nodiscard]] inline bool writeFile(const QString& folder, const QString& name,
                                    const QByteArray& bytes = {})
{
    return writeBytes(QDir(folder).filePath(name), bytes);
}

// The bytes of a picture in a format, to be written under a name that says otherwise.
[[nodiscard]] inline QByteArray encodedPicture(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace zelvo::test
