#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace zelvo {

// A file list's pattern: wildcards separated by ";", matched against whole file names with
// "*" for any run of characters and "?" for any one character, ignoring letter case.
class FilePattern
{
public:
    explicit FilePattern(const QString& pattern);

    [[nodiscard]] bool matches(QStringView fileName) const;
    // For a name already case-folded with QString::toCaseFolded.
    [[nodiscard]] bool matchesFolded(QStringView foldedName) const;
    [[nodiscard]] const QStringList& wildcards() const { return m_wildcards; }

private:
    QStringList m_wildcards; // case-folded
};

[[nodiscard]] bool wildcardMatch(QStringView foldedWildcard, QStringView foldedName);

} // namespace zelvo
