#include "SettingsFormat.h"

#include <QIODevice>
#include <QList>

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
    const QByteArrayView start = trimmed(raw);
    if (start.startsWith('"'))
        return quotedValue(QString::fromUtf8(start));
    return QString::fromUtf8(raw);
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

[[nodiscard]] QString textOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

// What parses of a damaged file is read all the same; the store finds the damage itself.
bool readDevice(QIODevice& device, QSettings::SettingsMap& map)
{
    (void)parseSettings(device.readAll(), map);
    return true;
}

bool writeDevice(QIODevice& device, const QSettings::SettingsMap& map)
{
    const QByteArray bytes = formatSettings(map);
    return device.write(bytes) == bytes.size();
}

} // namespace

bool parseSettings(const QByteArray& bytes, QSettings::SettingsMap& map)
{
    bool ok = true;
    QString section;
    QByteArrayView rest(bytes);
    if (rest.startsWith("\xef\xbb\xbf"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        qsizetype end = 0;
        while (end < rest.size() && rest[end] != '\n' && rest[end] != '\r')
            ++end;
        const QByteArrayView line = rest.first(end);
        rest = rest.sliced(std::min(end + 1, rest.size()));

        const QByteArrayView text = trimmed(line);
        if (text.isEmpty() || text.startsWith(';'))
            continue;
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            ok = ok && close > 0;
            const QByteArrayView name =
                trimmed(text.sliced(1, (close > 0 ? close : text.size()) - 1));
            section = name.compare(General, Qt::CaseInsensitive) == 0 ? QString()
                                                                      : QString::fromUtf8(name);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            ok = false;
            continue;
        }
        const QByteArrayView key = trimmed(line.first(equals));
        if (key.isEmpty())
            continue;
        const QString name = QString::fromUtf8(key);
        map.insert(section.isEmpty() ? name : section + QLatin1Char('/') + name,
                   valueOf(line.sliced(equals + 1)));
    }
    return ok;
}

QByteArray formatSettings(const QSettings::SettingsMap& map)
{
    // Keys of one section lie together in the sorted map.
    QByteArray out;
    QString section;
    bool first = true;
    for (auto it = map.cbegin(); it != map.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString keySection = slash < 0 ? QLatin1String(General) : it.key().first(slash);
        if (first || keySection != section) {
            if (!first)
                out += '\n';
            out += '[' + keySection.toUtf8() + "]\n";
            section = keySection;
            first = false;
        }
        out += it.key().sliced(slash + 1).toUtf8() + '=';
        escapeInto(textOf(it.value()), out);
        out += '\n';
    }
    return out;
}

QSettings::Format settingsFormat()
{
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("conf"), readDevice, writeDevice);
    return format;
}

} // namespace zelvo::settings
