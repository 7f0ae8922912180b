#pragma once

#include <QByteArray>
#include <QSettings>

namespace zelvo::settings {

// The settings file: "[Section]" lines and "key=value" lines. A value is read to the end of its
// line exactly as it stands, spaces, ";" and "," included, so that a hand edit means what it
// says. A value that begins with a double quote is read as Qt's INI files write it (escapes,
// and a "@" doubled at the start), which reads every file earlier versions wrote. Lines starting
// with ";" are comments. False, with every readable key in the map, when a section line lacks
// its "]" or a line is neither blank, a comment, a section nor a "key=value".
[[nodiscard]] bool parseSettings(const QByteArray& bytes, QSettings::SettingsMap& map);

// Every value is quoted and escaped the way Qt's INI format writes quoted values, so that both
// this reader and Qt's read it back unchanged. Keys are "Section/name".
[[nodiscard]] QByteArray formatSettings(const QSettings::SettingsMap& map);

// The format above, registered with QSettings once per process. A file that does not parse
// reads as far as it parses.
[[nodiscard]] QSettings::Format settingsFormat();

} // namespace zelvo::settings
