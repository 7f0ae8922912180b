#include "StartFolder.h"

#include "Paths.h"
#include "core/SettingKeys.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QStandardPaths>

namespace zelvo {

QStringList startFolders(const QString& lastChosen, const QString& pictures, const QString& home)
{
    QStringList folders;
    for (const QString& folder : {lastChosen, pictures, home, QString::fromLatin1(SystemRoot)}) {
        if (QDir::isAbsolutePath(folder) && !folders.contains(folder))
            folders.append(folder);
    }
    return folders;
}

QStringList startFolders(const SettingsStore& store)
{
    return startFolders(store.read(settings::LastFolder),
                        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                        QDir::homePath());
}

void rememberFolder(SettingsStore& store, const QString& folder)
{
    if (store.read(settings::LastFolder) == folder)
        return;
    store.write(settings::LastFolder, folder);
    // A store that cannot be written starts where it did before.
    (void)store.commit();
}

} // namespace zelvo
