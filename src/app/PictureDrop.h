#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace zelvo {

// Where a drop from a file manager points the main window: the folder to list, and the file to
// select in it, empty for a dropped folder.
struct DropTarget
{
    QString folder;
    QString fileName;

    friend bool operator==(const DropTarget&, const DropTarget&) = default;
};

// The first dropped item that is a local file or folder that exists; nothing for anything else.
[[nodiscard]] std::optional<DropTarget> dropTarget(const QList<QUrl>& urls);

} // namespace zelvo
