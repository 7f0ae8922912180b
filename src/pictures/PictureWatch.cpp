#include "PictureWatch.h"

#include <QFileInfo>

namespace zelvo {

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
    const QFileInfo file(m_path);
    m_watcher.addPath(file.absolutePath());
    m_watcher.addPath(m_path);
}

PictureWatch::Stamp PictureWatch::stampOf() const
{
    const QFileInfo file(m_path);
    if (!file.exists())
        return {};
    return {file.size(), file.lastModified(), file.metadataChangeTime(), file.birthTime()};
}

void PictureWatch::settled()
{
    // A version renamed over the file, or the file deleted and written again, ends the watch
    // on the old one.
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
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
