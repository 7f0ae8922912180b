#include "PictureDrop.h"

#include <QFileInfo>

namespace zelvo {

std::optional<DropTarget> dropTarget(const QList<QUrl>& urls)
{
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo item(url.toLocalFile());
        if (item.isDir())
            return DropTarget{item.absoluteFilePath(), QString()};
        if (item.exists())
            return DropTarget{item.absolutePath(), item.fileName()};
    }
    return std::nullopt;
}

} // namespace zelvo
