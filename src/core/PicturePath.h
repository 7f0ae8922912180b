#pragma once

#include <QDir>
#include <QString>

namespace zelvo {

// The selected folder, the platform's folder separator (always, even after one that ends the
// folder), the name.
[[nodiscard]] inline QString joinPicturePath(const QString& folder, const QString& fileName)
{
    return folder + QDir::separator() + fileName;
}

} // namespace zelvo
