#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zelvo {

// The names of the files in a folder, as a file list box shows them: plain files and links to
// files, no folders, no hidden files. Nothing when the folder cannot be read.
[[nodiscard]] std::optional<QStringList> listFiles(const QString& folder);

} // namespace zelvo
