#pragma once

#include "core/RealSize.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace zelvo {

// What a picture file's headers say of its size: its pixels, as the header gives them (empty
// where the header was not read or gives none), and the resolution or size on paper it stores.
struct PictureMeasure
{
    QSize pixels;
    std::optional<StoredResolution> resolution;

    friend bool operator==(const PictureMeasure&, const PictureMeasure&) = default;
};

// Up to length bytes of a file from offset: fewer at its end, none past it or on an error.
using ByteSource = std::function<QByteArray(qint64 offset, qint64 length)>;

// Found by the file's bytes, whatever its name: a JPEG's JFIF density (else its Exif
// resolution), a PNG's pHYs chunk, the resolution tags of a TIFF's first directory, a bitmap's
// pixels per metre, an SVG's width and height in cm, mm, in, pt or pc. A unit that is not a
// length (JFIF's aspect ratio, pHYs's unknown unit) or a zero stores nothing. Every walk reads a
// few dozen small pieces at most, wherever the file's offsets point.
[[nodiscard]] PictureMeasure pictureMeasure(const ByteSource& bytes);
[[nodiscard]] PictureMeasure pictureMeasure(QByteArrayView file);

// The measure of the file at path; nothing in it where the file cannot be read.
[[nodiscard]] PictureMeasure readPictureMeasure(const QString& path);

} // namespace zelvo
