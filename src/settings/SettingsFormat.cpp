#include "SettingsFormat.h"

#include "core/SettingKeys.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <utility>

namespace zelvo::settings {

namespace {

constexpr char General[] = "General";

[[nodiscard]] bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

[[nodiscard]] QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The digit's value in the base (at most 16), or -1 for a character that is not one.
[[nodiscard]] int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = base;
    if (u >= '0' && u <= '9')
        value = u - '0';
    else if (u >= 'a' && u <= 'f')
        value = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        value = u - 'A' + 10;
    return value < base ? value : -1;
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

// The escapes that stand for a control character.
constexpr std::array<std::pair<char, char>, 7> ControlEscapes{{
    {'a', '\a'},
    {'b', '\b'},
    {'f', '\f'},
    {'n', '\n'},
    {'r', '\r'},
    {'t', '\t'},
    {'v', '\v'},
}};

// Reads the escape that starts after the backslash at text[i]; returns the index after it.
qsizetype unescape(const QString& text, qsizetype i, QString& out)
{
    const QChar c = text.at(i++);
    const auto control =
        std::find_if(ControlEscapes.begin(), ControlEscapes.end(),
                     [c](const auto& escape) { return c == QLatin1Char(escape.first); });
    if (control != ControlEscapes.end())
        out += QLatin1Char(control->second);
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
    const QByteArrayView value = trimmed(raw);
    if (value.startsWith('"'))
        return quotedValue(QString::fromUtf8(value));
    return QString::fromUtf8(value);
}

void escapeInto(const QString& value, QByteArray& out)
{
    QString text = value;
    if (text.startsWith(QLatin1Char('@')))
        text.prepend(QLatin1Char('@'));
    out += '"';
    qsizetype plainFrom = 0;
    const auto plainUpTo = [&](qsizetype end) {
        out += QStringView(text).sliced(plainFrom, end - plainFrom).toUtf8();
        plainFrom = end + 1;
    };
    // A hex escape goes on for as long as hex digits follow, so a digit after one is escaped too.
    bool afterHexEscape = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        const bool control = u < 0x20 || u == 0x7f;
        const bool escaped =
            u == '"' || u == '\\' || control || (afterHexEscape && digitValue(text.at(i), 16) >= 0);
        afterHexEscape = false;
        if (!escaped)
            continue;
        plainUpTo(i);
        if (u == '"' || u == '\\') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\n";
        } else if (u == '\t') {
            out += "\\t";
        } else {
            out += "\\x" + QByteArray::number(u, 16);
            afterHexEscape = true;
        }
    }
    plainUpTo(text.size());
    out += '"';
}

[[nodiscard]] QByteArray quoted(const QString& value)
{
    QByteArray out;
    escapeInto(value, out);
    return out;
}

[[nodiscard]] QString textOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
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
    // Neither blank, a comment, a whole section line nor a "key=value".
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
            const qsizetype equals = line.text.indexOf('=');
            line.damaged = equals < 0;
            if (equals >= 0) {
                line.key = trimmed(line.text.first(equals));
                line.value = line.text.sliced(equals + 1);
                line.kind = line.key.isEmpty() ? LineKind::Other : LineKind::Entry;
            }
        }
        onLine(line, section);
    }
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

} // namespace

QByteArray editSettings(const QByteArray& bytes, const Changes& changes)
{
    // The last value of each key, in the order the keys first come.
    Changes wanted;
    QHash<QString, qsizetype> indexOfKey;
    for (const auto& [key, value] : changes) {
        if (const auto it = indexOfKey.constFind(key); it != indexOfKey.cend()) {
            wanted[*it].second = value;
        } else {
            indexOfKey.insert(key, wanted.size());
            wanted.append({key, value});
        }
    }
    const auto sectionOf = [](const QString& key) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        return slash < 0 ? QString() : key.first(slash);
    };
    QSet<QString> sections;
    for (const auto& [key, value] : wanted)
        sections.insert(sectionOf(key));

    struct Edit
    {
        qsizetype from = -1;
        qsizetype to = -1;
        QByteArray text;
    };
    // By key: the new value in place of the one read for it now, unless they are the same.
    QList<Edit> replaced(wanted.size());
    QList<bool> present(wanted.size(), false);
    // By section: where a key of it goes, and whether a line break must come first.
    QHash<QString, std::pair<qsizetype, bool>> sectionEnds;
    QByteArray lineBreak;
    const QByteArrayView view(bytes);
    const auto offset = [&view](QByteArrayView part) {
        return qsizetype(part.data() - view.data());
    };
    forEachLine(view, [&](const Line& line, const QString& section) {
        if (lineBreak.isEmpty())
            lineBreak = line.lineBreak.toByteArray();
        if (line.kind == LineKind::Other || !sections.contains(section))
            return;
        sectionEnds[section] = {offset(line.lineBreak) + line.lineBreak.size(),
                                line.lineBreak.isEmpty()};
        if (line.kind != LineKind::Entry)
            return;
        const auto found = indexOfKey.constFind(fullKey(section, line.key));
        if (found == indexOfKey.cend())
            return;
        const QString& value = wanted.at(*found).second;
        present[*found] = true;
        replaced[*found] = {};
        if (valueOf(line.value) != value) {
            const QByteArrayView text = trimmed(line.value);
            replaced[*found] = {offset(text), offset(line.text) + line.text.size(), quoted(value)};
        }
    });
    if (lineBreak.isEmpty())
        lineBreak = "\n";

    // New keys, by section, in the order the sections first come.
    QList<std::pair<QString, QByteArray>> added;
    for (qsizetype i = 0; i < wanted.size(); ++i) {
        const QString& key = wanted.at(i).first;
        const QString section = sectionOf(key);
        const QString name = key.sliced(section.isEmpty() ? 0 : section.size() + 1);
        if (present.at(i) || !readsBack(section, name, key))
            continue;
        auto it = std::find_if(added.begin(), added.end(),
                               [&section](const auto& entry) { return entry.first == section; });
        if (it == added.end())
            it = added.insert(added.end(), {section, QByteArray()});
        it->second += name.toUtf8() + '=' + quoted(wanted.at(i).second) + lineBreak;
    }
    QList<Edit> edits;
    for (const Edit& edit : replaced) {
        if (edit.from >= 0)
            edits.append(edit);
    }
    QByteArray atEnd;
    for (const auto& [section, lines] : added) {
        if (const auto end = sectionEnds.constFind(section); end != sectionEnds.cend()) {
            edits.append(
                {end->first, end->first, (end->second ? lineBreak : QByteArray()) + lines});
            continue;
        }
        atEnd += lineBreak + sectionLine(section) + lineBreak + lines;
    }
    std::sort(edits.begin(), edits.end(),
              [](const Edit& a, const Edit& b) { return a.from < b.from; });

    QByteArray out;
    qsizetype copied = 0;
    for (const Edit& edit : edits) {
        out += view.sliced(copied, edit.from - copied);
        out += edit.text;
        copied = edit.to;
    }
    out += view.sliced(copied);
    if (atEnd.isEmpty())
        return out;
    // A blank line before each new section, but at the start of the file.
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += lineBreak;
    return out.isEmpty() ? atEnd.sliced(lineBreak.size()) : out + atEnd;
}

QByteArray formatSettings(const QSettings::SettingsMap& map)
{
    Changes values;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        values.append({it.key(), textOf(it.value())});
    return editSettings(QByteArray(), values);
}

} // namespace zelvo::settings
