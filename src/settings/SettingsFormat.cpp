#include "SettingsFormat.h"

#include <QHash>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>

namespace zelvo::settings {

namespace {

constexpr char General[] = "General";

[[nodiscard]] QByteArrayView trimmed(QByteArrayView text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The digit's value in the base (at most 16), or -1 for a character that is not one.
[[nodiscard]] int digitValue(QChar c, int base)
{
    return int(QLatin1String("0123456789abcdef").first(base).indexOf(c, 0, Qt::CaseInsensitive));
}

// Reads the digits of the base from text[i] on into the value, which stops growing past the
// last code point however many digits follow; i ends after the last digit.
[[nodiscard]] char32_t number(const QString& text, qsizetype& i, int base, char32_t value)
{
    for (int digit; i < text.size() && (digit = digitValue(text.at(i), base)) >= 0; ++i)
        value = std::min<char32_t>(value * char32_t(base) + char32_t(digit), 0x110000);
    return value;
}

[[nodiscard]] QChar codeUnit(char32_t value)
{
    return value <= 0xffff ? QChar(char16_t(value)) : QChar(QChar::ReplacementCharacter);
}

// Reads the escape that starts after the backslash at text[i]; returns the index after it.
qsizetype unescape(const QString& text, qsizetype i, QString& out)
{
    // The letters that stand for a control character, and the characters they stand for.
    constexpr char ControlLetters[] = "abfnrtv";
    constexpr char Controls[] = "\a\b\f\n\r\t\v";
    const QChar c = text.at(i++);
    if (const qsizetype control = QLatin1String(ControlLetters).indexOf(c); control >= 0)
        out += QLatin1Char(Controls[control]);
    else if (c == QLatin1Char('x'))
        out += codeUnit(number(text, i, 16, 0));
    else if (const int octal = digitValue(c, 8); octal >= 0)
        out += codeUnit(number(text, i, 8, char32_t(octal)));
    else
        out += c;
    return i;
}

// A value as Qt writes a quoted one: quoted runs with escapes, blanks outside quotes dropped at
// the end, an unquoted ";" starting a comment, and a leading "@@" standing for "@".
[[nodiscard]] QString quotedValue(const QString& text)
{
    QString out;
    qsizetype kept = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i++);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            kept = out.size();
        } else if (quoted && c == QLatin1Char('\\') && i < text.size()) {
            i = unescape(text, i, out);
            kept = out.size();
        } else if (!quoted && c == QLatin1Char(';')) {
            break;
        } else {
            out += c;
            if (quoted || (c != QLatin1Char(' ') && c != QLatin1Char('\t')))
                kept = out.size();
        }
    }
    out.truncate(kept);
    if (out.startsWith(QLatin1String("@@")))
        out.remove(0, 1);
    return out;
}

[[nodiscard]] QString valueOf(QByteArrayView raw)
{
    const QString value = QString::fromUtf8(trimmed(raw));
    return value.startsWith(QLatin1Char('"')) ? quotedValue(value) : value;
}

// The value quoted and escaped the way Qt's INI format writes quoted values.
[[nodiscard]] QByteArray quoted(const QString& value)
{
    QString out = value.startsWith(QLatin1Char('@')) ? QStringLiteral("\"@") : QStringLiteral("\"");
    // A hex escape goes on for as long as hex digits follow, so a digit after one is escaped too.
    bool afterHexEscape = false;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        const bool hexDigitAfterEscape = afterHexEscape && digitValue(c, 16) >= 0;
        afterHexEscape = false;
        if (u == '"' || u == '\\') {
            out += QLatin1Char('\\');
            out += c;
        } else if (u == '\n') {
            out += QLatin1String("\\n");
        } else if (u == '\t') {
            out += QLatin1String("\\t");
        } else if (u < 0x20 || u == 0x7f || hexDigitAfterEscape) {
            out += QLatin1String("\\x") + QString::number(u, 16);
            afterHexEscape = true;
        } else {
            out += c;
        }
    }
    return (out + QLatin1Char('"')).toUtf8();
}

[[nodiscard]] QString fullKey(const QString& section, QByteArrayView key)
{
    const QString name = QString::fromUtf8(key);
    return section.isEmpty() ? name : section + QLatin1Char('/') + name;
}

[[nodiscard]] QByteArray sectionLine(const QString& section)
{
    return '[' + (section.isEmpty() ? QByteArray(General) : section.toUtf8()) + ']';
}

enum class LineKind { Other, Section, Entry };

// One line of the file; the views point into the file's bytes.
struct Line
{
    LineKind kind = LineKind::Other;
    // A section line without its "]": the lines after it may belong to another section.
    bool damaged = false;
    QByteArrayView text;
    // "\n", "\r\n", "\r", or empty on a last line that has none.
    QByteArrayView lineBreak;
    // Of an entry: the key without its blanks, and everything after the "=".
    QByteArrayView key;
    QByteArrayView value;
};

// Calls onLine(line, section) for each line of the file, with the section the line lies in: ""
// at the top and under "[General]", and a section line's own.
template <class OnLine> void forEachLine(QByteArrayView bytes, OnLine&& onLine)
{
    QString section;
    QByteArrayView rest = bytes;
    if (rest.startsWith("\xef\xbb\xbf"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        qsizetype breakLength = end < rest.size() ? 1 : 0;
        if (end + 1 < rest.size() && rest[end] == '\r' && rest[end + 1] == '\n')
            breakLength = 2;
        Line line;
        line.text = rest.first(end);
        line.lineBreak = rest.sliced(end, breakLength);
        rest = rest.sliced(end + breakLength);

        const QByteArrayView text = trimmed(line.text);
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            const QByteArrayView name =
                trimmed(text.sliced(1, (close > 0 ? close : text.size()) - 1));
            section = name.compare(General, Qt::CaseInsensitive) == 0 ? QString()
                                                                      : QString::fromUtf8(name);
            line.kind = LineKind::Section;
            line.damaged = close < 0;
        } else if (!text.isEmpty() && !text.startsWith(';')) {
            // A line without "=" (a "#" note, say) is no key, and is kept as it stands.
            if (const qsizetype equals = line.text.indexOf('='); equals >= 0) {
                line.key = trimmed(line.text.first(equals));
                line.value = line.text.sliced(equals + 1);
                line.kind = line.key.isEmpty() ? LineKind::Other : LineKind::Entry;
            }
        }
        onLine(line, section);
    }
}

// A full key's section and name: "Type/Gif" is "Gif" in "Type"; a key without a section before
// its first "/" lies at the top.
[[nodiscard]] std::pair<QString, QString> splitKey(const QString& key)
{
    const QString section = key.first(std::max<qsizetype>(key.indexOf(QLatin1Char('/')), 0));
    return {section, section.isEmpty() ? key : key.sliced(section.size() + 1)};
}

// Text at the end of the file, after a blank line unless the file is empty.
void appendAfterBlankLine(QByteArray& file, const QByteArray& text, const QByteArray& lineBreak)
{
    if (!file.isEmpty()) {
        if (!file.endsWith('\n') && !file.endsWith('\r'))
            file += lineBreak;
        file += lineBreak;
    }
    file += text;
}

} // namespace

bool parseSettings(const QByteArray& bytes, QSettings::SettingsMap& map)
{
    bool ok = true;
    forEachLine(bytes, [&](const Line& line, const QString& section) {
        ok = ok && !line.damaged;
        if (line.kind == LineKind::Entry)
            map.insert(fullKey(section, line.key), valueOf(line.value));
    });
    return ok;
}

namespace {

// Whether the key, written as the name in the section, reads back as itself: a key read from a
// damaged file may hold a "]" or start with "[", say.
[[nodiscard]] bool readsBack(const QString& section, const QString& name, const QString& key)
{
    QSettings::SettingsMap map;
    return parseSettings(sectionLine(section) + '\n' + name.toUtf8() + "=\n", map) &&
           map.contains(key);
}

// Where one key of the file lies: the line read for it (the last, where it stands twice), and
// where a new key of its section goes, after the section's last line, which may lack its line
// break; and the line break new lines take, the one the file's first line ends with.
struct KeyPlace
{
    std::optional<Line> entry;
    qsizetype sectionEnd = -1;
    bool sectionEndUnended = false;
    QByteArray lineBreak;
};

[[nodiscard]] KeyPlace placeOf(QByteArrayView bytes, const QString& section, const QString& name)
{
    KeyPlace place;
    forEachLine(bytes, [&](const Line& line, const QString& lineSection) {
        if (place.lineBreak.isEmpty())
            place.lineBreak = line.lineBreak.toByteArray();
        if (line.kind == LineKind::Other || lineSection != section)
            return;
        place.sectionEnd = line.lineBreak.data() - bytes.data() + line.lineBreak.size();
        place.sectionEndUnended = line.lineBreak.isEmpty();
        if (line.kind == LineKind::Entry && QString::fromUtf8(line.key) == name)
            place.entry = line;
    });
    if (place.lineBreak.isEmpty())
        place.lineBreak = "\n";
    return place;
}

} // namespace

QByteArray editSettings(const QByteArray& bytes, const Changes& changes)
{
    // The last value of each key, in the order the keys first come.
    Changes wanted;
    std::unordered_map<QString, qsizetype> indexOfKey;
    for (const auto& [key, value] : changes) {
        const auto [at, isNew] = indexOfKey.try_emplace(key, wanted.size());
        if (isNew)
            wanted.append({key, value});
        else
            wanted[at->second].second = value;
    }
    QByteArray lineBreak;
    // The bytes from..to replaced by text; and the new keys by section, in the order the sections
    // first come, with where each section ends.
    struct Edit
    {
        qsizetype from;
        qsizetype to;
        QByteArray text;
    };
    QList<Edit> edits;
    QList<std::pair<QString, KeyPlace>> sections;
    QHash<QString, QByteArray> added;
    for (const auto& [key, value] : wanted) {
        const auto [section, name] = splitKey(key);
        const KeyPlace place = placeOf(bytes, section, name);
        lineBreak = place.lineBreak;
        if (const std::optional<Line>& entry = place.entry) {
            if (valueOf(entry->value) != value) {
                edits.append({trimmed(entry->value).data() - bytes.data(),
                              entry->text.data() + entry->text.size() - bytes.data(),
                              quoted(value)});
            }
        } else if (readsBack(section, name, key)) {
            if (!added.contains(section))
                sections.append({section, place});
            added[section] += name.toUtf8() + '=' + quoted(value) + lineBreak;
        }
    }
    QByteArray atEnd;
    for (const auto& [section, place] : sections) {
        if (place.sectionEnd < 0) {
            appendAfterBlankLine(atEnd, sectionLine(section) + lineBreak + added.value(section),
                                 lineBreak);
        } else {
            edits.append(
                {place.sectionEnd, place.sectionEnd,
                 (place.sectionEndUnended ? lineBreak : QByteArray()) + added.value(section)});
        }
    }
    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.from < b.from; });
    // From the last, so that the places found before stay where they were; where a value that
    // ends the file is replaced and a key added after it, the value first.
    QByteArray out = bytes;
    for (auto edit = edits.crbegin(); edit != edits.crend(); ++edit)
        out.replace(edit->from, edit->to - edit->from, edit->text);
    if (!atEnd.isEmpty())
        appendAfterBlankLine(out, atEnd, lineBreak);
    return out;
}

QByteArray formatSettings(const QSettings::SettingsMap& map)
{
    Changes values;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        values.append({it.key(), it.value().toString()});
    return editSettings(QByteArray(), values);
}

} // namespace zelvo::settings
