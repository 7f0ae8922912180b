// zelvo-artwork: draws the program's pictures and writes them into a resources folder.
//
//   zelvo-artwork [OUTPUT_DIR]
//
// OUTPUT_DIR defaults to the repository's resources/ folder.

#include "drawings.h"
#include "painting.h"
#include "writers.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <functional>
#include <optional>
#include <vector>

namespace {

using namespace zelvo::art;

struct Artwork
{
    QString fileName;
    std::function<QByteArray()> encode;
};

// A picture of the program's windows, drawn at a given scale.
struct Picture
{
    QString fileName;
    std::function<QByteArray(int scale)> encode;
};

// Qt's name for the drawing at twice the size: "title.bmp" gives "title@2x.bmp".
[[nodiscard]] QString doubleSizeName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return fileName.left(dot) + QStringLiteral("@2x") + fileName.mid(dot);
}

[[nodiscard]] std::vector<Picture> pictures()
{
    return {
        {QStringLiteral("title.bmp"), [](int scale) { return encodeBmp24(drawTitleBar(scale)); }},
        {QStringLiteral("browse.jpg"),
         [](int scale) { return encodeJpeg(drawBrowseButton(scale), 90); }},
        {QStringLiteral("options.bmp"),
         [](int scale) { return encodeBmp24(drawMenuButton(QStringLiteral("Options"), scale)); }},
        {QStringLiteral("help.bmp"),
         [](int scale) { return encodeBmp24(drawMenuButton(QStringLiteral("Help"), scale)); }},
        {QStringLiteral("apply.gif"),
         [](int scale) { return encodeGif(drawApplyLabel(scale), kApplyTransparentIndex); }},
        {QStringLiteral("about.bmp"),
         [](int scale) { return encodeBmp24(drawAboutPicture(scale)); }},
    };
}

// An icon or cursor file of the program's windows: its images drawn at a given scale, and a
// cursor's hot spot at scale 1.
struct IconPicture
{
    QString fileName;
    std::function<QList<IconImage>(int scale)> images;
    std::optional<QPoint> hotSpot;
};

[[nodiscard]] std::vector<IconPicture> iconPictures()
{
    return {
        {QStringLiteral("zelvo.ico"),
         [](int scale) {
             return QList<IconImage>{{drawProgramIcon(16 * scale), 24},
                                     {drawProgramIcon(32 * scale), 24}};
         },
         {}},
        {QStringLiteral("tray.ico"),
         [](int scale) {
             return QList<IconImage>{{drawTrayIcon(false, 16 * scale), 4}};
         },
         {}},
        {QStringLiteral("trayflash.ico"),
         [](int scale) {
             return QList<IconImage>{{drawTrayIcon(true, 16 * scale), 4}};
         },
         {}},
        {QStringLiteral("mail.ico"),
         [](int scale) {
             return QList<IconImage>{{drawMailIcon(32, scale), 4}, {drawMailIcon(16, scale), 4}};
         },
         {}},
        {QStringLiteral("hand.cur"),
         [](int scale) {
             return QList<IconImage>{{drawHandCursor(scale), 4}};
         },
         handCursorHotSpot()},
    };
}

// The PNG twin of one image of an icon or cursor file: "png/mail.ico.1.png" for the second
// image of "mail.ico". The program reads these rather than the icon files themselves.
[[nodiscard]] QString twinName(const QString& fileName, qsizetype index)
{
    return QStringLiteral("png/%1.%2.png").arg(fileName).arg(index);
}

// An icon of the desktop's icon theme, drawn at each size the theme gets: every size, and the
// sizes with a folder for twice the pixels ("16x16@2").
struct ThemeIcon
{
    QString name;
    std::function<QImage(int size)> draw;
    QList<int> sizes;
};

[[nodiscard]] std::vector<ThemeIcon> themeIcons()
{
    return {
        {QStringLiteral("org.zelvo.Zelvo"), drawProgramIcon, {16, 22, 24, 32, 48, 64, 256}},
        {QStringLiteral("org.zelvo.Zelvo-tray"),
         [](int size) { return drawTrayIcon(false, size); },
         {16, 22, 24, 32, 64}},
        {QStringLiteral("org.zelvo.Zelvo-tray-flash"),
         [](int size) { return drawTrayIcon(true, size); },
         {16, 22, 24, 32, 64}},
    };
}
constexpr int LargestDoubledThemeSize = 32;

// Each picture as declared, and beside it the same design drawn at twice the size, named so
// that the program picks it on screens with twice the pixels; then the desktop's icons.
[[nodiscard]] std::vector<Artwork> artworks()
{
    std::vector<Artwork> list;
    for (const Picture& picture : pictures()) {
        list.push_back({picture.fileName, [picture] { return picture.encode(1); }});
        list.push_back({doubleSizeName(picture.fileName), [picture] { return picture.encode(2); }});
    }
    for (const IconPicture& icon : iconPictures()) {
        for (const int scale : {1, 2}) {
            const QString fileName = scale == 1 ? icon.fileName : doubleSizeName(icon.fileName);
            const QList<IconImage> images = icon.images(scale);
            list.push_back({fileName, [icon, images, scale] {
                                return icon.hotSpot
                                           ? encodeCursor(images.first(), *icon.hotSpot * scale)
                                           : encodeIcon(images);
                            }});
            for (qsizetype index = 0; index < images.size(); ++index) {
                const IconImage image = images.at(index);
                list.push_back({twinName(fileName, index),
                                [image] { return encodePng(storedIconImage(image)); }});
            }
        }
    }
    for (const ThemeIcon& icon : themeIcons()) {
        for (const int size : icon.sizes) {
            list.push_back({QStringLiteral("icons/%1x%1/%2.png").arg(size).arg(icon.name),
                            [icon, size] { return encodePng(icon.draw(size)); }});
            if (size <= LargestDoubledThemeSize) {
                list.push_back({QStringLiteral("icons/%1x%1@2/%2.png").arg(size).arg(icon.name),
                                [icon, size] { return encodePng(icon.draw(2 * size)); }});
            }
        }
    }
    return list;
}

[[nodiscard]] bool writeFile(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() > 2) {
        err << "usage: zelvo-artwork [OUTPUT_DIR]\n";
        return 2;
    }
    const QDir outputDir(arguments.size() == 2 ? arguments.at(1)
                                               : QStringLiteral(ZELVO_ARTWORK_OUTPUT_DIR));

    const QString scriptFamily = QFontInfo(scriptFont(20)).family();
    if (!scriptFamily.startsWith(QStringLiteral("Z003")))
        err << "warning: script face Z003 (fonts-urw-base35) not found, using " << scriptFamily
            << "\n";

    for (const Artwork& artwork : artworks()) {
        const QString path = outputDir.filePath(artwork.fileName);
        const QByteArray bytes = artwork.encode();
        if (bytes.isEmpty() || !writeFile(path, bytes)) {
            err << "error: could not write " << path << "\n";
            return 1;
        }
        out << artwork.fileName << "  " << bytes.size() << " bytes\n";
    }
    return 0;
}
