#pragma once

#include <QString>

namespace zelvo {

// Platform-specific: the folder separator.
#ifdef Q_OS_WIN
inline constexpr char FolderSeparator = '\\';
#else
inline constexpr char FolderSeparator = '/';
#endif

// The selected folder, one separator (always, even after one that ends the folder), the name.
[[nodiscard]] inline QString joinPicturePath(const QString& folder, const QString& fileName)
{
    return folder + QLatin1Char(FolderSeparator) + fileName;
}

} // namespace zelvo
