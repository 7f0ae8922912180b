#include "Wildcard.h"

namespace zelvo {

FilePattern::FilePattern(const QString& pattern)
{
    const QStringList parts = pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const QString folded = part.toCaseFolded();
        if (!m_wildcards.contains(folded))
            m_wildcards.append(folded);
    }
}

bool FilePattern::matches(QStringView fileName) const
{
    return matchesFolded(fileName.toString().toCaseFolded());
}

bool FilePattern::matchesFolded(QStringView foldedName) const
{
    for (const QString& wildcard : m_wildcards) {
        if (wildcardMatch(wildcard, foldedName))
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

} // namespace zelvo
