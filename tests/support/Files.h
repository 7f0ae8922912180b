#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zelvo::test {

// Writes the bytes as the whole of the file at the path.
[[nodiscard]] inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// The whole of the file at the path; empty when it cannot be read.
[[nodiscard]] inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace zelvo::test
