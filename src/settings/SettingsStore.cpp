#include "SettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace zelvo {

namespace {

QString fullKey(const settings::Key& key)
{
    return QLatin1String(key.section) + QLatin1Char('/') + QLatin1String(key.name);
}

// A hand-edited value may parse as something other than plain text (a comma makes a list);
// hand it back as the text the user wrote rather than dropping it.
QString asText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return value.toStringList().join(QLatin1Char(','));
    case QMetaType::QByteArray:
        return QString::fromUtf8(value.toByteArray());
    default:
        return value.canConvert<QString>() ? value.toString() : QString();
    }
}

// A pipe or a device in the settings file's place would block the program at its first read,
// for ever: it is moved aside, like a damaged file, before the store opens. The folder is learnt
// from a store of another name, which is read (it does not exist) but never written.
void moveAsideWhatIsNotAFile()
{
    const QString folder =
        QFileInfo(QSettings(QSettings::NativeFormat, QSettings::UserScope,
                            QLatin1String(settings::Application) + QLatin1String("-unused"))
                      .fileName())
            .path();
    const QString name =
        folder + QLatin1Char('/') + QLatin1String(settings::Application) + QLatin1String(".conf");
    const QFileInfo info(name);
    if (!info.exists() || info.isFile() || info.isDir())
        return;
    const QByteArray kept = QFile::encodeName(name + QLatin1String(".damaged"));
    std::remove(kept.constData());
    // A plain rename: QFile::rename would fall back to copying, which reads the pipe.
    std::rename(QFile::encodeName(name).constData(), kept.constData());
}

std::unique_ptr<QSettings> openStore()
{
    moveAsideWhatIsNotAFile();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(settings::Application));
}

} // namespace

SettingsStore::SettingsStore() : m_settings(openStore()) {}

SettingsStore::~SettingsStore()
{
    if (!m_unwritten.isEmpty())
        (void)commit();
}

void SettingsStore::reload()
{
    m_settings->sync();
    // Another copy of the program that has written a seeded key since decided its value.
    m_unwritten.removeIf([this](const auto& entry) { return m_settings->contains(entry.first); });
}

QString SettingsStore::read(const settings::Key& key) const
{
    const QString name = fullKey(key);
    for (const auto& [unwritten, value] : m_unwritten) {
        if (unwritten == name)
            return value;
    }
    return asText(m_settings->value(name));
}

void SettingsStore::write(const settings::Key& key, const QString& value)
{
    const QString name = fullKey(key);
    m_unwritten.removeIf([&name](const auto& entry) { return entry.first == name; });
    if (!keepDamagedFile())
        return;
    m_settings->setValue(name, value);
}

bool SettingsStore::commit()
{
    if (!m_unwritten.isEmpty() && keepDamagedFile()) {
        for (const auto& [name, value] : std::exchange(m_unwritten, {}))
            m_settings->setValue(name, value);
    }
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

void SettingsStore::seedInitialTypes()
{
    // A file that could not be parsed is left alone: the readers treat its keys as absent.
    if (m_settings->status() != QSettings::NoError)
        return;
    for (const auto& type : settings::type::Keys) {
        if (m_settings->contains(fullKey(type.key)))
            return;
    }
    const bool noFileYet = !QFileInfo::exists(m_settings->fileName());
    for (const auto& type : settings::type::Keys) {
        const QLatin1String value(type.initiallyEnabled ? type.pattern : settings::type::Disabled);
        if (noFileYet)
            m_unwritten.append({fullKey(type.key), value});
        else
            write(type.key, value);
    }
    if (!noFileYet)
        (void)commit();
}

// Writing rewrites the whole file from what could be parsed; a damaged file is copied aside
// first so that nothing the user had is lost without a trace.
bool SettingsStore::keepDamagedFile()
{
    if (m_damagedFileKept || m_settings->status() != QSettings::FormatError)
        return true;
    const QString name = m_settings->fileName();
    QFile::remove(name + QLatin1String(".damaged"));
    // Without a copy the damaged file stays as it is, and the write is reported as failed.
    if (!QFile::copy(name, name + QLatin1String(".damaged")))
        return false;
    m_damagedFileKept = true;
    QList<std::pair<QString, QVariant>> parsed;
    for (const QString& key : m_settings->allKeys())
        parsed.append({key, m_settings->value(key)});
    m_settings.reset();
    QFile::remove(name);
    m_settings = openStore();
    for (const auto& [key, value] : parsed)
        m_settings->setValue(key, value);
    return true;
}

} // namespace zelvo
