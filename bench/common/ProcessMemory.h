#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zelvo::bench {

// A line of /proc/self/status, in kB; -1 where it cannot be read.
inline long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// From here on the peak counts from the current size; false where the kernel does not allow it.
inline bool restartPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace zelvo::bench
