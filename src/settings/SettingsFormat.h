#pragma once

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QString>

#include <utility>

namespace zelvo::settings {

// The settings file: "[Section]" lines and "key=value" lines. Blanks (spaces and tabs) around a
// key and around a value are dropped; the rest of the value is read to the end of its line
// exactly as it stands, ";" and "," included, so that a hand edit means what it says. A value
// that begins with a double quote is read as Qt's INI files write it (escapes, and a "@" doubled
// at the start), which reads every file earlier versions wrote. Lines starting with ";" are
// comments; any other line without "=" (a "#" note, a stray word) holds no key and is no damage.
// False, with every readable key in the map, when a section line lacks its "]".
[[nodiscard]] bool parseSettings(const QByteArray& bytes, QSettings::SettingsMap& map);

// Values by "Section/name", in the order they are set.
using Changes = QList<std::pair<QString, QString>>;

// The file with the values set and every other byte as it was. A key's value is replaced on the
// line that is read for it (the last, where a key stands twice) unless it reads as the new value
// already; a missing key goes after the last key of its section (of its last part, where a
// section stands twice), a missing section at the end of the file. New values are quoted and
// escaped the way Qt's INI format writes quoted values, so that both this reader and Qt's read
// them back unchanged; new lines end as the file's first line does. A new key that would not
// read back as itself (a "]" in its section, say) is left out.
[[nodiscard]] QByteArray editSettings(const QByteArray& bytes, const Changes& changes);

// A whole new file holding the values. Keys are "Section/name".
[[nodiscard]] QByteArray formatSettings(const QSettings::SettingsMap& map);

} // namespace zelvo::settings
