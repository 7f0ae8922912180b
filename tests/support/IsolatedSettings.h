#pragma once

#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace zelvo::test {

// Points the per-user store at a fresh temporary folder for as long as it lives, so that no
// test touches the user's real settings. Create it before any store.
class IsolatedSettings
{
public:
    IsolatedSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }

    [[nodiscard]] QString folder() const { return m_dir.path(); }
    // Where the program's store keeps its values.
    [[nodiscard]] QString fileName() const { return m_dir.filePath(QStringLiteral("Zelvo.conf")); }

    // Writes values as another copy of the program, or a hand edit, would.
    void put(const char* section, const char* key, const QString& value) const
    {
        QSettings raw(fileName(), QSettings::IniFormat);
        raw.setValue(QLatin1String(section) + QLatin1Char('/') + QLatin1String(key), value);
    }
    [[nodiscard]] QVariant get(const char* section, const char* key) const
    {
        QSettings raw(fileName(), QSettings::IniFormat);
        return raw.value(QLatin1String(section) + QLatin1Char('/') + QLatin1String(key));
    }

private:
    QTemporaryDir m_dir;
};

} // namespace zelvo::test
