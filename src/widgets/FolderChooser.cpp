#include "FolderChooser.h"

#include "desktop/Platform.h"

#include <QWidget>

namespace zelvo {

FolderChooser::FolderChooser(Platform& platform, QWidget* owner)
    : QObject(owner), m_platform(platform), m_owner(owner)
{
}

bool FolderChooser::browse()
{
    const std::optional<QString> chosen = m_platform.chooseFolder(m_owner, m_startFolder);
    if (!chosen)
        return false;
    m_selectedFolder = *chosen;
    return true;
}

} // namespace zelvo
