#include "DamagedCopies.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <cstdio>
#else
#include <unistd.h>
#endif

namespace zelvo::settings {

namespace {

[[nodiscard]] bool holds(const QString& name, const QByteArray& bytes)
{
    const QFileInfo info(name);
    if (!info.isFile() || info.size() != bytes.size())
        return false;
    QFile file(name);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

// Platform-specific: a rename that fails rather than replace what holds the new name, which
// Windows' own rename does; elsewhere a second link that cannot be made over a name taken,
// after which the old name goes. Neither reads the file, which may be a pipe.
bool renameUnlessTaken(const QString& from, const QString& to)
{
#ifdef Q_OS_WIN
    return ::_wrename(reinterpret_cast<const wchar_t*>(from.utf16()),
                      reinterpret_cast<const wchar_t*>(to.utf16())) == 0;
#else
    const QByteArray source = QFile::encodeName(from);
    return ::link(source.constData(), QFile::encodeName(to).constData()) == 0 &&
           ::unlink(source.constData()) == 0;
#endif
}

} // namespace

QString damagedCopyName(const QString& fileName, int index)
{
    const QString first = fileName + QLatin1String(".damaged");
    return index == 0 ? first : first + QLatin1Char('.') + QString::number(index);
}

bool moveToDamagedCopy(const QString& fileName)
{
    for (int i = 0; i < MaxDamagedCopies; ++i) {
        const QString name = damagedCopyName(fileName, i);
        if (renameUnlessTaken(fileName, name))
            return true;
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return false;
    }
    return false;
}

bool keepDamagedCopy(const QString& fileName, const QByteArray& bytes)
{
    for (int i = 0; i < MaxDamagedCopies; ++i) {
        const QString name = damagedCopyName(fileName, i);
        if (holds(name, bytes))
            return true;
        QFile copy(name);
        // Opened only if nothing is there yet: another copy of the program may be keeping its
        // own damaged file at the same moment.
        if (!copy.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            continue;
        if (copy.write(bytes) == bytes.size() && copy.flush())
            return true;
        copy.remove();
        return false;
    }
    return false;
}

} // namespace zelvo::settings
