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
#include <vector>

namespace {

using namespace zelvo::art;

struct Artwork
{
    QString fileName;
    std::function<QByteArray()> encode;
};

[[nodiscard]] std::vector<Artwork> artworks()
{
    std::vector<Artwork> list{
        {QStringLiteral("zelvo.ico"),
         [] {
             return encodeIcon({{drawProgramIcon(16), 24}, {drawProgramIcon(32), 24}});
         }},
        {QStringLiteral("title.bmp"), [] { return encodeBmp24(drawTitleBar()); }},
        {QStringLiteral("browse.jpg"), [] { return encodeJpeg(drawBrowseButton(), 90); }},
        {QStringLiteral("options.bmp"),
         [] { return encodeBmp24(drawMenuButton(QStringLiteral("Options"))); }},
        {QStringLiteral("help.bmp"),
         [] { return encodeBmp24(drawMenuButton(QStringLiteral("Help"))); }},
        {QStringLiteral("tray.ico"),
         [] {
             return encodeIcon({{drawTrayIcon(false), 4}});
         }},
        {QStringLiteral("trayflash.ico"),
         [] {
             return encodeIcon({{drawTrayIcon(true), 4}});
         }},
        {QStringLiteral("apply.gif"),
         [] { return encodeGif(drawApplyLabel(), kApplyTransparentIndex); }},
        {QStringLiteral("mail.ico"),
         [] {
             return encodeIcon({{drawMailIcon(32), 4}, {drawMailIcon(16), 4}});
         }},
        {QStringLiteral("hand.cur"),
         [] {
             return encodeCursor({drawHandCursor(), 4}, handCursorHotSpot());
         }},
        {QStringLiteral("about.bmp"), [] { return encodeBmp24(drawAboutPicture()); }},
    };
    for (const int size : {16, 32, 48, 256}) {
        list.push_back({QStringLiteral("icons/%1x%1/org.zelvo.Zelvo.png").arg(size),
                        [size] { return encodePng(drawProgramIcon(size)); }});
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
