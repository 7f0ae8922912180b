#pragma once

#include <QString>
#include <QStringList>

namespace zelvo {

class SettingsStore;

// The folders the file list may start in, in the order they are tried: the one the user last
// chose, the user's pictures folder, the home folder, then the root of the system drive. A
// folder that is not named in full is left out.
[[nodiscard]] QStringList startFolders(const QString& lastChosen, const QString& pictures,
                                       const QString& home);
// The same for this user, the last chosen folder as the store holds it.
[[nodiscard]] QStringList startFolders(const SettingsStore& store);

// Keeps the folder as the one the next start lists.
void rememberFolder(SettingsStore& store, const QString& folder);

} // namespace zelvo
