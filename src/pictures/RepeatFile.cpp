#include "RepeatFile.h"

#include "PictureBudget.h"
#include "PictureLoader.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QTemporaryFile>

namespace zelvo {

namespace {

constexpr qint64 MB = 1024 * 1024;
// Names tried after the first before giving up: pictures set a thousand times in one second.
constexpr int MaxNameTries = 1000;

QString tooLarge(const QString& name, Repeat repeat, QSize picture)
{
    const QSize size = repeatTileSize(repeat, picture);
    return QStringLiteral("The %1 repeat of \"%2\" would be %3 x %4 pixels (%5 MB), more than the "
                          "%6 MB a picture may take. Nothing was written.")
        .arg(QString::fromLatin1(repeatSystem(repeat).name).toLower(), name)
        .arg(size.width())
        .arg(size.height())
        .arg((repeatTileBytes(repeat, picture) + MB - 1) / MB)
        .arg(PictureAllocationLimitMB);
}

[[nodiscard]] bool withinBudget(Repeat repeat, QSize picture)
{
    return 4 * qint64(picture.width()) * picture.height() <= PictureBudgetBytes &&
           repeatTileBytes(repeat, picture) <= PictureBudgetBytes;
}

[[nodiscard]] bool encodePng(const QImage& picture, QIODevice& device)
{
    QImageWriter writer(&device, "png");
    return writer.write(picture);
}

} // namespace

RepeatMade makeRepeat(const QString& picturePath, const RepeatOrder& order,
                      const LoadControl& control)
{
    const QString name = QFileInfo(picturePath).fileName();
    // The header's size refuses a picture too large before any of it is decoded.
    if (const QSize declared = QImageReader(picturePath).size();
        declared.isValid() && !withinBudget(order.repeat, declared))
        return {{}, tooLarge(name, order.repeat, declared)};
    const LoadedPicture loaded = loadPicture(picturePath, {}, control);
    if (loaded.outcome == LoadOutcome::Cancelled)
        return {{}, QStringLiteral("Stopped before \"%1\" was loaded.").arg(name)};
    if (loaded.outcome != LoadOutcome::Loaded)
        return {{},
                QStringLiteral("\"%1\" can't be loaded as a picture within the %2 MB a picture "
                               "may take.")
                    .arg(name)
                    .arg(PictureAllocationLimitMB)};
    if (!withinBudget(order.repeat, loaded.image.size()))
        return {{}, tooLarge(name, order.repeat, loaded.image.size())};
    QImage tile = repeatTile(loaded.image, order);
    if (tile.isNull())
        return {{},
                QStringLiteral("There is not enough memory for the repeat of \"%1\".").arg(name)};
    return {std::move(tile), {}};
}

QString writePng(const QImage& picture, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("\"%1\" can't be written: %2.").arg(path, file.errorString());
    if (!encodePng(picture, file)) {
        file.cancelWriting();
        return QStringLiteral("\"%1\" can't be written: the disk may be full.").arg(path);
    }
    if (!file.commit())
        return QStringLiteral("\"%1\" can't be written: %2.").arg(path, file.errorString());
    return {};
}

WrittenFile writeNewPng(const QImage& picture, const QString& folder, const QString& baseName)
{
    if (!QDir().mkpath(folder))
        return {{}, QStringLiteral("The folder \"%1\" can't be made.").arg(folder)};
    QTemporaryFile file(QDir(folder).filePath(QStringLiteral(".zelvo-XXXXXX.png")));
    if (!file.open())
        return {{},
                QStringLiteral("No file can be written in \"%1\": %2.")
                    .arg(folder, file.errorString())};
    if (!encodePng(picture, file) || !file.flush())
        return {
            {},
            QStringLiteral("No file can be written in \"%1\": the disk may be full.").arg(folder)};
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    // A rename never replaces a file here: Qt renames without replacing, so a name taken
    // meanwhile by another program is left to it and the next one tried.
    file.setAutoRemove(false);
    for (int n = 1; n <= MaxNameTries; ++n) {
        const QString name = n == 1 ? QStringLiteral("%1 %2.png").arg(baseName, stamp)
                                    : QStringLiteral("%1 %2 (%3).png").arg(baseName, stamp).arg(n);
        const QString path = QDir(folder).filePath(name);
        if (!QFileInfo::exists(path) && file.rename(path))
            return {path, {}};
    }
    file.remove();
    return {{}, QStringLiteral("No new name is left in \"%1\".").arg(folder)};
}

} // namespace zelvo
