#include "Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace zelvo {

QString helpFilePath()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString beside = programFolder + QLatin1Char('/') + QLatin1String(HelpFileName);
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        programFolder + QLatin1String("/../share/zelvo/") + QLatin1String(HelpFileName);
    if (QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return beside;
}

} // namespace zelvo
