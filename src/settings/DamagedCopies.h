#pragma once

#include <QByteArray>
#include <QString>

namespace zelvo::settings {

// How many damaged settings files are kept beside the store's file at most.
inline constexpr int MaxDamagedCopies = 100;

// A settings file larger than this is kept aside like a damaged one, unread.
inline constexpr qint64 MaxFileBytes = qint64(1) << 20;

// "Zelvo.conf.damaged" for the first copy, then "Zelvo.conf.damaged.1" and on.
[[nodiscard]] QString damagedCopyName(const QString& fileName, int index);

// Moves whatever holds the file's name, unread, to the first copy name that nothing holds yet;
// false when it could not.
[[nodiscard]] bool moveToDamagedCopy(const QString& fileName);

// Keeps the bytes of a damaged file under the first copy name that is free, unless a copy with
// the same bytes is kept already. An existing copy is never written over. False when no copy
// could be made.
[[nodiscard]] bool keepDamagedCopy(const QString& fileName, const QByteArray& bytes);

} // namespace zelvo::settings
