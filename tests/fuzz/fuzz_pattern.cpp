// Feeds file-list patterns and file names to the wildcard matcher, the pattern splitter and the
// list's filter and sort, and checks the matcher against a plain dynamic-programming matcher.

#include "core/Wildcard.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// "*" any run, "?" any one character, everything else itself; both already case-folded.
[[nodiscard]] bool referenceMatch(QStringView wildcard, QStringView name)
{
    const qsizetype w = wildcard.size();
    const qsizetype n = name.size();
    // matched[j]: the wildcard's first i characters match the name's first j.
    std::vector<char> matched(std::size_t(n + 1), 0);
    matched[0] = 1;
    for (qsizetype i = 1; i <= w; ++i) {
        std::vector<char> next(std::size_t(n + 1), 0);
        const QChar c = wildcard[i - 1];
        next[0] = c == QLatin1Char('*') && matched[0];
        for (qsizetype j = 1; j <= n; ++j) {
            if (c == QLatin1Char('*'))
                next[std::size_t(j)] = matched[std::size_t(j)] || next[std::size_t(j - 1)];
            else
                next[std::size_t(j)] =
                    matched[std::size_t(j - 1)] && (c == QLatin1Char('?') || c == name[j - 1]);
        }
        matched.swap(next);
    }
    return matched[std::size_t(n)];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 4096)
        return 0;
    // The first line is the pattern, every further line a file name.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList lines = text.split(QLatin1Char('\n'));
    const QString pattern = lines.takeFirst();

    const zelvo::FilePattern filePattern(pattern);
    qsizetype matching = 0;
    for (const QString& name : lines) {
        const QString folded = name.toCaseFolded();
        bool any = false;
        for (const QString& wildcard : filePattern.wildcards()) {
            const bool fast = zelvo::wildcardMatch(wildcard, folded);
            if (fast != referenceMatch(wildcard, folded))
                __builtin_trap();
            any = any || fast;
        }
        if (filePattern.matches(name) != any)
            __builtin_trap();
        matching += any;
    }

    const QStringList sorted = zelvo::filterAndSort(lines, pattern);
    if (sorted.size() != matching)
        __builtin_trap();
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        if (!filePattern.matches(sorted.at(i)))
            __builtin_trap();
        if (i > 0 && sorted.at(i - 1).toCaseFolded().compare(sorted.at(i).toCaseFolded()) > 0)
            __builtin_trap();
    }
    return 0;
}
