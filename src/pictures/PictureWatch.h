#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zelvo {

// Watches one picture file, and its folder for a new version renamed over it, and tells once
// a burst of changes has settled that the file is a new one. A name that is a link is followed to
// the file it names at each change, and a folder deleted and made again is watched again. A
// watch the system refuses (too many of them) leaves the file unwatched and changes nothing else.
class PictureWatch : public QObject
{
    Q_OBJECT
public:
    explicit PictureWatch(QObject* parent = nullptr);

    // Starts watching the file in place of the one before; an empty path watches nothing.
    void watch(const QString& path);
    [[nodiscard]] QString path() const { return m_path; }

    // How long the file must stay unchanged before it is read again.
    static constexpr int SettleMs = 120;

signals:
    void changed(const QString& path);

private:
    struct Stamp
    {
        qint64 size = -1;
        QDateTime modified;
        QDateTime metadataChanged;
        QDateTime born;
        QString target;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    [[nodiscard]] Stamp stampOf() const;
    // Watches the file as it is now, and the folders that hold it and what it links to, or the
    // nearest folders above them that exist.
    void arm();
    void settled();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    Stamp m_stamp;
    // The file itself changed, not only something else in its folder.
    bool m_fileChanged = false;
};

} // namespace zelvo
