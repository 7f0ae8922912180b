#pragma once

#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace zelvo {

// The per-user folder where settings files are kept.
[[nodiscard]] QString settingsFolder();

// While it lives, settings that Qt's own parts keep in the per-user folder (the folder dialog
// keeps its history and view when it closes) go to a temporary folder, removed afterwards, so
// that the program writes no settings file but its own.
class QtSettingsAside
{
public:
    QtSettingsAside();
    ~QtSettingsAside();
    QtSettingsAside(const QtSettingsAside&) = delete;
    QtSettingsAside& operator=(const QtSettingsAside&) = delete;

private:
    QString m_folder;
    std::optional<QTemporaryDir> m_aside;
};

} // namespace zelvo
