#pragma once

#include "SettingKeys.h"

#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace zelvo {

// The check box value a stored type value asks for: 1 for the type's own pattern, 0 for the
// disabled marker, nothing for any other text (the box is left as it is).
[[nodiscard]] std::optional<int> boxValueFor(const settings::type::TypeKey& type,
                                             QStringView stored);

// True when none of the four stored values is recognised, as for a store without type keys.
[[nodiscard]] bool noTypeRecognised(const std::array<QString, 4>& stored);

// The value an apply writes for a box: its pattern when checked, the marker when unchecked,
// nothing when grayed.
[[nodiscard]] std::optional<QString> storedValueFor(const settings::type::TypeKey& type,
                                                    int boxValue);

} // namespace zelvo
