#include "SettingsFolder.h"

#include "core/SettingKeys.h"

#include <QFileInfo>
#include <QSettings>

namespace zelvo {

QString settingsFolder()
{
#ifdef Q_OS_WIN
    constexpr QSettings::Format Located = QSettings::IniFormat;
#else
    constexpr QSettings::Format Located = QSettings::NativeFormat;
#endif
    // Learnt from a store of another name, which is read (it does not exist) but never written.
    return QFileInfo(QSettings(Located, QSettings::UserScope,
                               QLatin1String(settings::Application) + QLatin1String("-unused"))
                         .fileName())
        .path();
}

// Platform-specific: Qt keeps its own settings in the native format, which is a file in the
// per-user folder but on Windows, where it is the registry, whose place cannot be changed.
QtSettingsAside::QtSettingsAside()
{
#ifndef Q_OS_WIN
    if (!m_aside.emplace().isValid())
        return;
    m_folder = settingsFolder();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_aside->path());
#endif
}

QtSettingsAside::~QtSettingsAside()
{
    if (!m_folder.isEmpty())
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder);
}

} // namespace zelvo
