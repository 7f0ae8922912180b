#include "Wildcard.h"

#include <QRegularExpression>

#include <algorithm>
#include <utility>
#include <vector>

namespace zelvo {

namespace {

[[nodiscard]] bool isWild(QChar c)
{
    return c == QLatin1Char('*') || c == QLatin1Char('?');
}

[[nodiscard]] QString withSingleStars(QString wildcard)
{
    static const QRegularExpression stars(QStringLiteral("\\*{2,}"));
    if (wildcard.contains(QLatin1String("**")))
        wildcard.replace(stars, QStringLiteral("*"));
    return wildcard;
}

} // namespace

FilePattern::FilePattern(const QString& pattern)
{
    QSet<QString> seen;
    QSet<qsizetype> endingLengths;
    for (const QStringView part :
         QStringView(pattern).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString wildcard = withSingleStars(part.toString().toCaseFolded());
        if (seen.contains(wildcard))
            continue;
        seen.insert(wildcard);
        const QStringView tail = QStringView(wildcard).sliced(1);
        if (std::none_of(wildcard.cbegin(), wildcard.cend(), isWild)) {
            m_names.insert(wildcard);
        } else if (wildcard.front() == QLatin1Char('*') &&
                   std::none_of(tail.cbegin(), tail.cend(), isWild)) {
            m_endings.insert(tail.toString());
            endingLengths.insert(tail.size());
        } else {
            const qsizetype fixed = wildcard.size() - wildcard.count(QLatin1Char('*'));
            m_others.append({fixed, m_wildcards.size()});
        }
        m_wildcards.append(std::move(wildcard));
    }
    m_endingLengths = endingLengths.values();
    std::sort(m_endingLengths.begin(), m_endingLengths.end());
}

bool FilePattern::matchesFolded(QStringView foldedName) const
{
    if (m_names.contains(foldedName.toString()))
        return true;
    for (const qsizetype length : m_endingLengths) {
        if (length > foldedName.size())
            break;
        if (m_endings.contains(foldedName.last(length).toString()))
            return true;
    }
    for (const auto& [fixed, index] : m_others) {
        if (fixed <= foldedName.size() && wildcardMatch(m_wildcards.at(index), foldedName))
            return true;
    }
    return false;
}

// Iterative matcher with one backtrack point: linear in practice, never exponential.
bool wildcardMatch(QStringView wildcard, QStringView name)
{
    qsizetype w = 0;
    qsizetype n = 0;
    qsizetype starW = -1;
    qsizetype starN = 0;
    while (n < name.size()) {
        // A star is a star even where the name holds a "*" of its own.
        if (w < wildcard.size() && wildcard[w] == QLatin1Char('*')) {
            starW = w++;
            starN = n;
        } else if (w < wildcard.size() &&
                   (wildcard[w] == QLatin1Char('?') || wildcard[w] == name[n])) {
            ++w;
            ++n;
        } else if (starW >= 0) {
            w = starW + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (w < wildcard.size() && wildcard[w] == QLatin1Char('*'))
        ++w;
    return w == wildcard.size();
}

QStringList filterAndSort(const QStringList& names, const QString& pattern)
{
    const FilePattern filePattern(pattern);
    std::vector<std::pair<QString, qsizetype>> keyed;
    for (qsizetype i = 0; i < names.size(); ++i) {
        QString folded = names.at(i).toCaseFolded();
        if (filePattern.matchesFolded(folded))
            keyed.emplace_back(std::move(folded), i);
    }
    std::sort(keyed.begin(), keyed.end(), [&names](const auto& a, const auto& b) {
        if (const int c = a.first.compare(b.first); c != 0)
            return c < 0;
        return names.at(a.second) < names.at(b.second);
    });
    QStringList sorted;
    sorted.reserve(qsizetype(keyed.size()));
    for (const auto& entry : keyed)
        sorted.append(names.at(entry.second));
    return sorted;
}

} // namespace zelvo
