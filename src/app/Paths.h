#pragma once

#include <QString>

namespace zelvo {

// Platform-specific: the root of the system drive where the file list starts, and the help
// document's name.
#ifdef Q_OS_WIN
inline constexpr char SystemRoot[] = "c:\\";
inline constexpr char HelpFileName[] = "Zelvo.hlp";
#else
inline constexpr char SystemRoot[] = "/";
inline constexpr char HelpFileName[] = "Zelvo.html";
#endif

// The help document: beside the program, or where an install puts it.
[[nodiscard]] QString helpFilePath();

} // namespace zelvo
