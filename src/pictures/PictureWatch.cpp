#include "PictureWatch.h"

#include <QDir>
#include <QFileInfo>

namespace zelvo {

namespace {

// The folder of the path, or the nearest one above it that exists.
[[nodiscard]] QString existingFolderOf(const QString& path)
{
    QString folder = QDir::cleanPath(QFileInfo(path).absolutePath());
    while (!QFileInfo(folder).isDir()) {
        const QString above = QFileInfo(folder).absolutePath();
        if (above == folder)
            break;
        folder = above;
    }
    return folder;
}

} // namespace

PictureWatch::PictureWatch(QObject* parent) : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        m_fileChanged = true;
        m_settle.start();
    });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
            qOverload<>(&QTimer::start));
    connect(&m_settle, &QTimer::timeout, this, &PictureWatch::settled);
}

void PictureWatch::watch(const QString& path)
{
    if (path == m_path)
        return;
    m_settle.stop();
    m_fileChanged = false;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    m_path = path;
    if (m_path.isEmpty())
        return;
    m_stamp = stampOf();
    arm();
}

void PictureWatch::arm()
{
    const QFileInfo file(m_path);
    QStringList folders{existingFolderOf(m_path)};
    if (const QString target = file.canonicalFilePath();
        !target.isEmpty() && target != QDir::cleanPath(file.absoluteFilePath()))
        folders.append(existingFolderOf(target));
    QStringList gone;
    for (const QString& watched : m_watcher.files() + m_watcher.directories()) {
        if (!folders.contains(watched))
            gone.append(watched);
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    for (const QString& folder : folders) {
        if (!m_watcher.directories().contains(folder))
            m_watcher.addPath(folder);
    }
    // Afresh each time: a watch set through a link stays on the file the link named then.
    if (file.exists())
        m_watcher.addPath(m_path);
}

PictureWatch::Stamp PictureWatch::stampOf() const
{
    const QFileInfo file(m_path);
    if (!file.exists())
        return {};
    return {file.size(), file.lastModified(), file.metadataChangeTime(), file.birthTime(),
            file.canonicalFilePath()};
}

void PictureWatch::settled()
{
    // A version renamed over the file, the file deleted and written again, or a link pointed
    // elsewhere ends the watch on the old one.
    arm();
    const Stamp now = stampOf();
    // Two versions written within the file system's clock step can carry the same times.
    const bool isNew = m_fileChanged || now != m_stamp;
    m_fileChanged = false;
    if (!isNew || now.size < 0)
        return;
    m_stamp = now;
    emit changed(m_path);
}

} // namespace zelvo
