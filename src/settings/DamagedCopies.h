#pragma once

#include <QByteArray>
#include <QString>

namespace zelvo::settings {

// How many damaged settings files are kept beside the store's file at most.
inline constexpr int MaxDamagedCopies = 100;

// "Zelvo.conf.damaged" for the first copy, then "Zelvo.conf.damaged.1" and on.
[[nodiscard]] QString damagedCopyName(const QString& fileName, int index);

// The first copy name that nothing holds yet, or "" when all are taken.
[[nodiscard]] QString freeDamagedCopyName(const QString& fileName);

// Keeps the bytes of a damaged file under the first copy name that is free, unless a copy with
// the same bytes is kept already. An existing copy is never written over. False when no copy
// could be made.
[[nodiscard]] bool keepDamagedCopy(const QString& fileName, const QByteArray& bytes);

} // namespace zelvo::settings
