#include "SettingsStore.h"

#include "DamagedCopies.h"
#include "SettingsFormat.h"
#include "core/PictureTypes.h"
#include "desktop/SettingsFolder.h"
#include "pictures/PictureFile.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

#include <algorithm>
#include <optional>
#include <tuple>

namespace zelvo {

namespace {

// How long a commit waits for another copy of the program to finish writing.
constexpr int LockWaitMs = 3000;
constexpr int LockPollMs = 5;
// A lock file holds a process id, a program name and a host name.
constexpr qint64 MaxLockFileBytes = 4096;

QString fullKey(const settings::Key& key)
{
    return QLatin1String(key.section) + QLatin1Char('/') + QLatin1String(key.name);
}

// The file's bytes, read without waiting on a pipe or a device, which are refused as what
// cannot be read, and never more of them than the cap.
std::pair<SettingsStore::FileState, QByteArray> readFile(const QString& name)
{
    using State = SettingsStore::FileState;
    const std::optional<PictureFile> file = PictureFile::open(name);
    if (!file) {
        const QFileInfo info(name);
        return {info.exists() || info.isSymLink() ? State::Unreadable : State::Missing, {}};
    }
    if (file->size() > settings::MaxFileBytes)
        return {State::TooLarge, {}};
    QByteArray bytes;
    if (!file->readMore(bytes, settings::MaxFileBytes))
        return {State::Unreadable, {}};
    return {State::Read, bytes};
}

// QLockFile's own wait tries again after ever longer sleeps, only six times in three seconds:
// while other copies keep committing, it would nearly always find the lock held. Asking often
// takes it as soon as it is free. The lock reads a lock file left behind to learn whether its
// holder still runs: a pipe there would block it, a huge file fill the memory. Such a thing is
// waited out as a held lock is, since a lock file that another copy removes meanwhile looks like
// one for a moment.
bool takeLock(QLockFile& lock, const QString& lockName)
{
    const QDeadlineTimer deadline(LockWaitMs);
    for (;;) {
        const QFileInfo left(lockName);
        if (!left.exists() || (left.isFile() && left.size() <= MaxLockFileBytes)) {
            if (lock.tryLock(0))
                return true;
            if (lock.error() != QLockFile::LockFailedError)
                return false;
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(LockPollMs);
    }
}

// The bytes the commit edits, and whether they are the file's own; nothing when the file cannot
// be read. A file too large to read is moved aside unread and replaced by the values read last;
// a file that does not parse is kept aside and replaced by what could be read of it, since the
// edit would keep the damage.
std::optional<std::pair<QByteArray, bool>> bytesToEdit(const QString& name,
                                                       const QSettings::SettingsMap& readLast,
                                                       QSettings::SettingsMap& onDisk)
{
    using State = SettingsStore::FileState;
    const auto [state, bytes] = readFile(name);
    if (state == State::Unreadable ||
        (state == State::TooLarge && !settings::moveToDamagedCopy(name)))
        return std::nullopt;
    if (state == State::TooLarge) {
        onDisk = readLast;
        return std::pair{settings::formatSettings(readLast), false};
    }
    if (state != State::Read)
        return std::pair{QByteArray(), false};
    if (settings::parseSettings(bytes, onDisk))
        return std::pair{bytes, true};
    if (!settings::keepDamagedCopy(name, bytes))
        return std::nullopt;
    return std::pair{settings::formatSettings(onDisk), false};
}

} // namespace

SettingsStore::SettingsStore()
    : m_fileName(settingsFolder() + QLatin1Char('/') + QLatin1String(settings::Application) +
                 QLatin1String(".conf"))
{
    // A pipe or a device in the file's place when the program starts is moved aside, like a
    // damaged file, so that the program can store its values again.
    if (const QFileInfo info(m_fileName); info.exists() && !info.isFile() && !info.isDir())
        (void)settings::moveToDamagedCopy(m_fileName);
    load();
}

SettingsStore::~SettingsStore()
{
    if (!m_unwritten.isEmpty())
        (void)commit();
}

void SettingsStore::load()
{
    QByteArray bytes;
    std::tie(m_file, bytes) = readFile(m_fileName);
    if (m_file == FileState::Missing || m_file == FileState::Read) {
        m_values.clear();
        if (!settings::parseSettings(bytes, m_values))
            m_file = FileState::Damaged;
    }
}

void SettingsStore::reload()
{
    load();
    // Another copy of the program that has written a seeded key since decided its value.
    m_unwritten.removeIf([this](const auto& entry) { return m_values.contains(entry.first); });
}

QString SettingsStore::read(const settings::Key& key) const
{
    const QString name = fullKey(key);
    for (const Values* values : {&m_pending, &m_unwritten}) {
        for (const auto& [written, value] : *values) {
            if (written == name)
                return value;
        }
    }
    return m_values.value(name).toString();
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
    load();
    return stored;
}

// Under the lock file QSettings uses too, so that copies of the program write one at a time
// and each keeps what the others wrote; a lock that cannot be had within a few seconds (held
// by a copy that hangs, or one that cannot be removed) fails the commit instead of waiting.
// Only the program's own keys change: every other line, comment and byte stays as it was.
bool SettingsStore::store(const Values& values)
{
    if (!QDir().mkpath(QFileInfo(m_fileName).path()))
        return false;
    const QString lockName = m_fileName + QLatin1String(".lock");
    QLockFile lock(lockName);
    if (!takeLock(lock, lockName))
        return false;
    QSettings::SettingsMap onDisk;
    const std::optional<std::pair<QByteArray, bool>> before =
        bytesToEdit(m_fileName, m_values, onDisk);
    if (!before)
        return false;
    settings::Changes changes;
    for (const auto& [key, value] : m_unwritten) {
        if (!onDisk.contains(key))
            changes.append({key, value});
    }
    changes += values;
    const QByteArray after = settings::editSettings(before->first, changes);
    if (before->second && after == before->first)
        return true;
    QSaveFile file(m_fileName);
    return file.open(QIODevice::WriteOnly) && file.write(after) == after.size() && file.flush() &&
           file.commit();
}

void SettingsStore::seedInitialTypes()
{
    // A file that could not be read, or parsed, is left alone.
    if (m_file == FileState::Unreadable || m_file == FileState::Damaged)
        return;
    const auto held = [this](int generation) {
        return std::any_of(PictureTypes.begin(), PictureTypes.end(), [&](const PictureType& type) {
            return type.generation == generation && m_values.contains(fullKey(type.key));
        });
    };
    const qsizetype before = m_unwritten.size();
    for (const PictureType& type : PictureTypes) {
        if (held(type.generation))
            continue;
        const QLatin1String value(type.initiallyEnabled ? type.pattern : settings::Disabled);
        m_unwritten.append({fullKey(type.key), value});
    }
    if (m_unwritten.size() > before && m_file != FileState::Missing)
        (void)commit();
}

} // namespace zelvo
