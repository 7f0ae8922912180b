#include "StillFile.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace zelvo {

namespace {

// How often a changing file is looked at again.
constexpr int LookMs = 20;
constexpr qint64 NsPerMs = 1000000;

} // namespace

std::optional<PictureFile> openStillFile(const QString& path, const LoadGuard& guard)
{
    std::optional<PictureFile> file = PictureFile::open(path);
    const QDeadlineTimer giveUp(MaxFileWaitMs);
    QDeadlineTimer still(FileStillMs);
    while (file) {
        const qint64 age = QDateTime::currentMSecsSinceEpoch() * NsPerMs - file->modified();
        if (age >= FileStillMs * NsPerMs || still.hasExpired())
            return file;
        if (guard.stopped() || giveUp.hasExpired())
            return std::nullopt;
        QThread::msleep(ulong(std::clamp<qint64>(still.remainingTime(), 1, LookMs)));
        std::optional<PictureFile> now = PictureFile::open(path);
        if (now && (now->size() != file->size() || now->modified() != file->modified()))
            still.setRemainingTime(FileStillMs);
        file.reset();
        if (now)
            file.emplace(std::move(*now));
    }
    return std::nullopt;
}

} // namespace zelvo
