#pragma once

#include "PictureTypes.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <span>

namespace zelvo {

// The check box value a stored type value asks for: 1 for the type's own pattern, 0 for the
// disabled marker, nothing for any other text (the box is left as it is).
[[nodiscard]] std::optional<int> boxValueFor(const PictureType& type, QStringView stored);

// True when none of the stored values (one per picture type, in table order) is recognised, as
// for a store without type keys.
[[nodiscard]] bool noTypeRecognised(std::span<const QString, PictureTypes.size()> stored);

// The value an apply writes for a box: its pattern when checked, the marker when unchecked,
// nothing when grayed.
[[nodiscard]] std::optional<QString> storedValueFor(const PictureType& type, int boxValue);

} // namespace zelvo
