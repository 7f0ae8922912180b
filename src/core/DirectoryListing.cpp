#include "DirectoryListing.h"

#ifdef Q_OS_UNIX
// Platform-specific: readdir reports each entry's type without a stat call per file, which
// keeps a folder of 100,000 entries quick to list.
#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace zelvo {

std::optional<QStringList> listFiles(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    DIR* dir = ::opendir(path.constData());
    if (!dir)
        return std::nullopt;
    const int dirFd = ::dirfd(dir);
    QStringList names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        bool isFile = entry->d_type == DT_REG;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info;
            isFile = ::fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
        }
        if (isFile)
            names.append(QFile::decodeName(entry->d_name));
    }
    ::closedir(dir);
    return names;
}

} // namespace zelvo

#else
#include <QDir>

namespace zelvo {

std::optional<QStringList> listFiles(const QString& folder)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists() || !dir.isReadable())
        return std::nullopt;
    return dir.entryList(QDir::Files, QDir::Unsorted);
}

} // namespace zelvo
#endif
