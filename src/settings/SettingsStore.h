#pragma once

#include "core/SettingKeys.h"

#include <QList>
#include <QSettings>
#include <QString>

#include <array>
#include <utility>

namespace zelvo {

// The per-user store of text values addressed by section and key. A key never written reads
// as "", and values come back exactly as they were written. The file is read whole, but never
// past a size cap, and never from anything but a plain file, so that no read can block or grow
// without bound; where it cannot be read, the values read last stay.
class SettingsStore
{
public:
    SettingsStore();
    // Writes seeded values that have not reached the disk yet.
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Picks up what another copy of the program wrote since the last reload.
    void reload();

    [[nodiscard]] QString read(const settings::Key& key) const;
    // The values of a table's keys, in the table's order.
    template <class Row, std::size_t N>
    [[nodiscard]] std::array<QString, N> readEach(const std::array<Row, N>& rows) const
    {
        std::array<QString, N> values;
        for (std::size_t i = 0; i < N; ++i)
            values[i] = read(rows[i].key);
        return values;
    }
    // Read back at once; stored by the next commit.
    void write(const settings::Key& key, const QString& value);
    // Writes pending values to disk, seeded ones included; false when they could not be stored.
    // Values that could not be stored are dropped, so that the store reads as before.
    [[nodiscard]] bool commit();

    // A user whose store holds none of the type keys starts with every type but icons listed;
    // one whose store holds keys of earlier types only gets the later ones listed besides, once:
    // PNG and WebP, then TIFF and SVG (each generation of types in PictureTypes). They read back
    // at once. Where there is no settings file yet they reach the disk with the next commit, or
    // when the store closes, so that creating the file need not hold up the first window; an
    // existing file gets them at once. A file too large to read counts as none, and is kept
    // aside like a damaged one when they are written.
    void seedInitialTypes();

    [[nodiscard]] QString fileName() const { return m_fileName; }

    // What was found where the file belongs, when it was last read.
    enum class FileState { Missing, Read, Damaged, TooLarge, Unreadable };

private:
    using Values = QList<std::pair<QString, QString>>;

    void load();
    [[nodiscard]] bool store(const Values& values);

    QString m_fileName;
    // As the file was last read, by full key.
    QSettings::SettingsMap m_values;
    FileState m_file = FileState::Missing;
    // Seeded values not on disk yet, by full key.
    Values m_unwritten;
    // Written since the last commit, by full key.
    Values m_pending;
};

} // namespace zelvo
