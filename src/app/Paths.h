#pragma once

#include <QString>

namespace zelvo {

// Platform-specific: the folder separator, and the root of the system drive where the file
// list starts.
#ifdef Q_OS_WIN
inline constexpr char FolderSeparator = '\\';
inline constexpr char SystemRoot[] = "c:\\";
inline constexpr char HelpFileName[] = "Zelvo.hlp";
#else
inline constexpr char FolderSeparator = '/';
inline constexpr char SystemRoot[] = "/";
inline constexpr char HelpFileName[] = "Zelvo.html";
#endif

// The selected folder, one separator (always, even after one that ends the folder), the name.
[[nodiscard]] inline QString joinPicturePath(const QString& folder, const QString& fileName)
{
    return folder + QLatin1Char(FolderSeparator) + fileName;
}

// The help document: beside the program, or where an install puts it.
[[nodiscard]] QString helpFilePath();

} // namespace zelvo
