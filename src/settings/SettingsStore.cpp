#include "SettingsStore.h"

#include "DamagedCopies.h"
#include "SettingsFormat.h"
#include "core/PictureTypes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>

#include <cstdio>
#include <optional>

namespace zelvo {

namespace {

// How long a commit waits for another copy of the program to finish writing.
constexpr int LockWaitMs = 3000;

QString fullKey(const settings::Key& key)
{
    return QLatin1String(key.section) + QLatin1Char('/') + QLatin1String(key.name);
}

const QString* find(const QList<std::pair<QString, QString>>& values, const QString& name)
{
    for (const auto& [key, value] : values) {
        if (key == name)
            return &value;
    }
    return nullptr;
}

// A hand-edited value may parse as something other than plain text; hand it back as text.
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

// The per-user settings folder, learnt from a store of another name, which is read (it does
// not exist) but never written.
QString settingsFileName()
{
#ifdef Q_OS_WIN
    constexpr QSettings::Format Located = QSettings::IniFormat;
#else
    constexpr QSettings::Format Located = QSettings::NativeFormat;
#endif
    const QString folder =
        QFileInfo(QSettings(Located, QSettings::UserScope,
                            QLatin1String(settings::Application) + QLatin1String("-unused"))
                      .fileName())
            .path();
    return folder + QLatin1Char('/') + QLatin1String(settings::Application) +
           QLatin1String(".conf");
}

// A pipe or a device in the settings file's place would block the program at its first read,
// for ever: it is moved aside, like a damaged file, before the store opens.
void moveAsideWhatIsNotAFile(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists() || info.isFile() || info.isDir())
        return;
    const QString kept = settings::freeDamagedCopyName(name);
    if (kept.isEmpty())
        return;
    // A plain rename: QFile::rename would fall back to copying, which reads the pipe.
    std::rename(QFile::encodeName(name).constData(), QFile::encodeName(kept).constData());
}

std::unique_ptr<QSettings> openStore()
{
    const QString name = settingsFileName();
    moveAsideWhatIsNotAFile(name);
    return std::make_unique<QSettings>(name, settings::settingsFormat());
}

// What the file holds now: nothing when there is no file, no value when it cannot be read.
// A file that does not parse is kept aside first, since the rewrite drops what did not parse.
std::optional<QSettings::SettingsMap> readForRewrite(const QString& name)
{
    const QFileInfo info(name);
    if (!info.exists())
        return QSettings::SettingsMap();
    QFile file(name);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    QSettings::SettingsMap map;
    if (!settings::parseSettings(bytes, map) && !settings::keepDamagedCopy(name, bytes))
        return std::nullopt;
    return map;
}

[[nodiscard]] bool parses(const QString& name)
{
    QFile file(name);
    QSettings::SettingsMap map;
    return !file.open(QIODevice::ReadOnly) || settings::parseSettings(file.readAll(), map);
}

bool writeFile(const QString& name, const QSettings::SettingsMap& map, const QDateTime& before)
{
    QSaveFile file(name);
    const QByteArray bytes = settings::formatSettings(map);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return false;
    // Readers in this process tell a changed file by its size and time; a rewrite within the
    // clock's resolution must not look unchanged.
    if (before.isValid() && file.fileTime(QFileDevice::FileModificationTime) <= before)
        file.setFileTime(before.addMSecs(1), QFileDevice::FileModificationTime);
    return file.commit();
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
    if (const QString* value = find(m_pending, name))
        return *value;
    if (const QString* value = find(m_unwritten, name))
        return *value;
    return asText(m_settings->value(name));
}

void SettingsStore::write(const settings::Key& key, const QString& value)
{
    const QString name = fullKey(key);
    m_pending.removeIf([&name](const auto& entry) { return entry.first == name; });
    m_pending.append({name, value});
}

bool SettingsStore::commit()
{
    if (m_pending.isEmpty() && m_unwritten.isEmpty())
        return true;
    const bool stored = store(std::exchange(m_pending, {}));
    if (stored)
        m_unwritten.clear();
    m_settings->sync();
    return stored;
}

// Under the lock file QSettings uses too, so that copies of the program write one at a time
// and each keeps what the others wrote; a lock that cannot be had within a few seconds (held
// by a copy that hangs, or one that cannot be removed) fails the commit instead of waiting.
bool SettingsStore::store(const Values& values)
{
    const QString name = m_settings->fileName();
    if (!QDir().mkpath(QFileInfo(name).path()))
        return false;
    QLockFile lock(name + QLatin1String(".lock"));
    if (!lock.tryLock(LockWaitMs))
        return false;
    std::optional<QSettings::SettingsMap> map = readForRewrite(name);
    if (!map)
        return false;
    for (const auto& [key, value] : m_unwritten) {
        if (!map->contains(key))
            map->insert(key, value);
    }
    for (const auto& [key, value] : values)
        map->insert(key, value);
    return writeFile(name, *map, QFileInfo(name).lastModified());
}

void SettingsStore::seedInitialTypes()
{
    for (const PictureType& type : PictureTypes) {
        if (m_settings->contains(fullKey(type.key)))
            return;
    }
    // A file that could not be read, or parsed, is left alone.
    if (m_settings->status() != QSettings::NoError || !parses(m_settings->fileName()))
        return;
    for (const PictureType& type : PictureTypes) {
        const QLatin1String value(type.initiallyEnabled ? type.pattern : settings::Disabled);
        m_unwritten.append({fullKey(type.key), value});
    }
    if (QFileInfo::exists(m_settings->fileName()))
        (void)commit();
}

} // namespace zelvo
