#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zelvo::test {

// One damaged or misleading picture file, made in memory.
struct BadPicture
{
    // What is wrong with it: "zero-bytes", "truncated", "header-only", "huge-size",
    // "zero-or-negative-size", "palette-out-of-range", "broken-stream", "bad-colour-table",
    // "points-past-end", "bad-directory-type", "wrong-format", "random-bytes", "endless-stream"
    // (data that keeps a decoder busy); "valid" for the sound controls.
    QByteArray kind;
    // A unique file name whose extension is the one the file list matches it by.
    QString name;
    QByteArray bytes;
};

// Bitmap, JPEG, GIF, icon, PNG, WebP, TIFF and SVG files, damaged in every way the program has to
// survive, with one sound file of each type among them. The same list on every call (random bytes
// use fixed seeds).
[[nodiscard]] QList<BadPicture> badPictures();

// TIFF and SVG files, damaged and made to be slow, with sound ones among them (BadTiffSvg.cpp).
void addTiffsAndSvgs(QList<BadPicture>& out);

// A progressive grey JPEG whose data is that many scans, each a pass over the whole picture.
[[nodiscard]] QByteArray progressiveJpegWithScans(quint16 width, quint16 height, int scans);

// A PNG of one pixel behind that many texts of 7.9 MB of one letter each (under libpng's limit):
// compressed (every third an international text), or plain.
[[nodiscard]] QByteArray pngBehindTexts(int count, bool compressed = true);

// Writes each picture into folder under its name; false when a file could not be written.
[[nodiscard]] bool writeBadPictures(const QList<BadPicture>& pictures, const QString& folder);

} // namespace zelvo::test
