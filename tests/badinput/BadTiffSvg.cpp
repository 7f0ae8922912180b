#include "BadPictures.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QMap>
#include <QtEndian>

namespace zelvo::test {

namespace {

// A little-endian TIFF of one page: the header, the data, then the directory of the given fields,
// each a list of values stored as shorts (the small fields) or longs, with no next page.
[[nodiscard]] QByteArray tiff(const QMap<quint16, QList<quint32>>& fields, const QByteArray& data)
{
    const auto short16 = [](quint16 tag) {
        return tag == 258 || tag == 259 || tag == 262 || tag == 277 || tag == 284;
    };
    QByteArray out("II*\0", 4);
    const quint32 directory = 8 + quint32(data.size());
    out.append(reinterpret_cast<const char*>(&directory), 4);
    out += data;
    QByteArray entries;
    QByteArray values;
    const quint32 valuesAt = directory + 2 + 12 * quint32(fields.size()) + 4;
    const auto put = [](QByteArray& to, quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            to.append(char(value >> (8 * i)));
    };
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        const int size = short16(it.key()) ? 2 : 4;
        put(entries, it.key(), 2);
        put(entries, size == 2 ? 3 : 4, 2);
        put(entries, quint32(it->size()), 4);
        QByteArray packed;
        for (const quint32 value : *it)
            put(packed, value, size);
        if (packed.size() <= 4) {
            entries += packed.leftJustified(4, '\0');
        } else {
            put(entries, valuesAt + quint32(values.size()), 4);
            values += packed;
        }
    }
    put(out, quint32(fields.size()), 2);
    return out + entries + QByteArray(4, '\0') + values;
}

// The fields of a grey picture of one uncompressed strip at the start of the data.
[[nodiscard]] QMap<quint16, QList<quint32>> greyFields(quint32 width, quint32 height)
{
    return {{256, {width}}, {257, {height}}, {258, {8}},
            {259, {1}},     {262, {1}},      {273, {8}},
            {277, {1}},     {278, {height}}, {279, {width * height}}};
}

[[nodiscard]] QByteArray written(const char* format, int compression = 0)
{
    QImage image(24, 16, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgba(x * 10, y * 15, 90, 255 - x));
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setCompression(compression);
    writer.write(image);
    return buffer.data();
}

[[nodiscard]] QByteArray svg(const QByteArray& rootAttributes, const QByteArray& inside)
{
    return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" " +
           rootAttributes + ">" + inside + "</svg>\n";
}

} // namespace

void addTiffsAndSvgs(QList<BadPicture>& out)
{
    const auto add = [&out](const char* kind, const QString& name, const QByteArray& bytes) {
        out.append({kind, name, bytes});
    };
    const QByteArray sound = written("tiff");
    add("valid", QStringLiteral("tiff-sound.tif"), sound);
    add("valid", QStringLiteral("tiff-sound-lzw.tiff"), written("tiff", 1));
    add("valid", QStringLiteral("tiff-grey-by-hand.tif"),
        tiff(greyFields(8, 8), QByteArray(64, 'x')));
    // Two pages: the first is shown, whatever the second, of 65535 x 65535, says.
    QByteArray twoPages = tiff(greyFields(8, 8), QByteArray(64, 'x'));
    const QByteArray second = tiff(greyFields(65535, 65535), QByteArray(64, 'x'));
    const qsizetype directory = 8 + 64;
    qToLittleEndian(quint32(twoPages.size()), twoPages.data() + directory + 2 + 12 * 9);
    add("valid", QStringLiteral("tiff-two-pages.tif"), twoPages + second.mid(directory));
    add("zero-bytes", QStringLiteral("tiff-empty.tif"), {});
    for (const qsizetype at :
         {qsizetype(4), qsizetype(8), qsizetype(60), sound.size() / 2, sound.size() - 1})
        add("truncated", QStringLiteral("tiff-cut-at-%1.tif").arg(at), sound.left(at));
    const auto changed = [](quint16 tag, QList<quint32> values, quint32 width = 8,
                            quint32 height = 8) {
        QMap<quint16, QList<quint32>> fields = greyFields(width, height);
        fields[tag] = values;
        return tiff(fields, QByteArray(64, 'x'));
    };
    add("huge-size", QStringLiteral("tiff-65535x65535.tif"), changed(279, {64}, 65535, 65535));
    add("zero-or-negative-size", QStringLiteral("tiff-zero-width.tif"), changed(256, {0}));
    add("zero-or-negative-size", QStringLiteral("tiff-zero-rows-per-strip.tif"), changed(278, {0}));
    add("points-past-end", QStringLiteral("tiff-strip-past-end.tif"), changed(273, {0x7fffff00}));
    add("points-past-end", QStringLiteral("tiff-strip-bytes-past-end.tif"),
        changed(279, {0xfffffff0}));
    add("header-only", QStringLiteral("tiff-missing-strips.tif"), changed(273, {}));
    add("bad-directory-type", QStringLiteral("tiff-bits-3.tif"), changed(258, {3}));
    add("bad-directory-type", QStringLiteral("tiff-old-jpeg.tif"), changed(259, {6}));
    add("broken-stream", QStringLiteral("tiff-lzw-garbage.tif"), changed(259, {5}));
    // A picture of one pixel in a tile of 65536 x 65536, and a directory of 65535 entries.
    QMap<quint16, QList<quint32>> tiled = greyFields(1, 1);
    tiled.remove(273);
    tiled.remove(278);
    tiled.remove(279);
    tiled.insert(322, {65536});
    tiled.insert(323, {65536});
    tiled.insert(324, {8});
    tiled.insert(325, {64});
    add("huge-size", QStringLiteral("hostile-tiff-one-pixel-tile-65536.tif"),
        tiff(tiled, QByteArray(64, 'x')));
    add("bad-directory-type", QStringLiteral("hostile-tiff-65535-entries.tif"),
        QByteArray("II*\0\x08\0\0\0\xff\xff", 10) + QByteArray(65535 * 12, '\x01'));
    add("wrong-format", QStringLiteral("png-in-tiff.tif"), written("png"));

    const QByteArray shape = "<rect x=\"2\" y=\"2\" width=\"20\" height=\"12\" fill=\"#c03\"/>"
                             "<circle cx=\"12\" cy=\"8\" r=\"5\" fill=\"#08f\"/>";
    const QByteArray soundSvg = svg("width=\"24\" height=\"16\"", shape);
    add("valid", QStringLiteral("svg-sound.svg"), soundSvg);
    add("valid", QStringLiteral("svg-view-box-only.svg"), svg("viewBox=\"0 0 24 16\"", shape));
    add("zero-bytes", QStringLiteral("svg-empty.svg"), {});
    for (const qsizetype at :
         {qsizetype(10), qsizetype(60), soundSvg.size() / 2, soundSvg.size() - 3})
        add("truncated", QStringLiteral("svg-cut-at-%1.svg").arg(at), soundSvg.left(at));
    add("zero-or-negative-size", QStringLiteral("svg-zero-width.svg"),
        svg("width=\"0\" height=\"16\"", shape));
    add("zero-or-negative-size", QStringLiteral("svg-negative-height.svg"),
        svg("width=\"24\" height=\"-16\"", shape));
    add("zero-or-negative-size", QStringLiteral("svg-no-size.svg"), svg("", shape));
    add("huge-size", QStringLiteral("svg-100000x100000.svg"),
        svg("width=\"100000\" height=\"100000\"", shape));
    add("wrong-format", QStringLiteral("png-in-svg.svg"), written("png"));
    add("broken-stream", QStringLiteral("svg-not-closed.svg"),
        QByteArray(soundSvg).replace("</svg>", "<g><rect/>"));
    // Made to be slow: nesting, elements and copies of copies past the bounds, a copy of its own
    // ancestor, and entities that expand a billion times.
    QByteArray nested;
    for (int i = 0; i < 200; ++i)
        nested = "<g>" + nested + "</g>";
    add("endless-stream", QStringLiteral("hostile-svg-nested-200.svg"),
        svg("width=\"24\" height=\"16\"", nested));
    add("endless-stream", QStringLiteral("hostile-svg-60000-elements.svg"),
        svg("width=\"24\" height=\"16\"", shape.repeated(30000)));
    QByteArray copies = "<defs><rect id=\"l0\" width=\"1\" height=\"1\"/>";
    for (int level = 1; level <= 9; ++level) {
        copies += "<g id=\"l" + QByteArray::number(level) + "\">" +
                  QByteArray("<use xlink:href=\"#l" + QByteArray::number(level - 1) + "\"/>")
                      .repeated(10) +
                  "</g>";
    }
    add("endless-stream", QStringLiteral("hostile-svg-copies-of-copies.svg"),
        svg("width=\"24\" height=\"16\"", copies + "</defs><use xlink:href=\"#l9\"/>"));
    add("endless-stream", QStringLiteral("hostile-svg-copy-of-its-ancestor.svg"),
        svg("width=\"24\" height=\"16\"", "<g id=\"a\"><use xlink:href=\"#a\"/></g>"));
    QByteArray entities = "<!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaa\">";
    for (char c = 'b'; c <= 'j'; ++c) {
        const QByteArray previous = "&" + QByteArray(1, char(c - 1)) + ";";
        entities += "<!ENTITY " + QByteArray(1, c) + " \"" + previous.repeated(10) + "\">";
    }
    add("endless-stream", QStringLiteral("hostile-svg-entities.svg"),
        "<?xml version=\"1.0\"?>" + entities + "]>" +
            svg("width=\"24\" height=\"16\"", "<text>&j;</text>").mid(21));
}

} // namespace zelvo::test
