#include "DamagedCopies.h"

#include <QFile>
#include <QFileInfo>

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

} // namespace

QString damagedCopyName(const QString& fileName, int index)
{
    const QString first = fileName + QLatin1String(".damaged");
    return index == 0 ? first : first + QLatin1Char('.') + QString::number(index);
}

QString freeDamagedCopyName(const QString& fileName)
{
    for (int i = 0; i < MaxDamagedCopies; ++i) {
        const QString name = damagedCopyName(fileName, i);
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
    return {};
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
        copy.close();
        copy.remove();
        return false;
    }
    return false;
}

} // namespace zelvo::settings
