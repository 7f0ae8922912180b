#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zelvo {

// A file list's pattern: wildcards separated by ";", matched against whole file names with
// "*" for any run of characters and "?" for any one character, ignoring letter case.
// Building it and matching a name take time about linear in the pattern's length, however
// many wildcards it holds.
class FilePattern
{
public:
    explicit FilePattern(const QString& pattern);

    [[nodiscard]] bool matches(QStringView fileName) const
    {
        return matchesFolded(fileName.toString().toCaseFolded());
    }
    // For a name already case-folded with QString::toCaseFolded.
    [[nodiscard]] bool matchesFolded(QStringView foldedName) const;
    // Case-folded, each once, in the order of their first appearance, runs of "*" as one.
    [[nodiscard]] const QStringList& wildcards() const { return m_wildcards; }

private:
    QStringList m_wildcards;
    // Wildcards without "*" or "?", which name one file each.
    QSet<QString> m_names;
    // Wildcards of the form "*" and a fixed ending ("*.bmp"), by the ending, and the ending
    // lengths that occur, shortest first.
    QSet<QString> m_endings;
    QList<qsizetype> m_endingLengths;
    // The other wildcards, each with the number of characters a name needs at least.
    QList<std::pair<qsizetype, qsizetype>> m_others;
};

[[nodiscard]] bool wildcardMatch(QStringView foldedWildcard, QStringView foldedName);

// Sorted, filtered names of a folder listing: letter case ignored, ties in name order.
[[nodiscard]] QStringList filterAndSort(const QStringList& names, const QString& pattern);

} // namespace zelvo
