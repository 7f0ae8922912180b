#pragma once

#include <QStringView>

#include <optional>

namespace zelvo {

enum class SizeChoice { Small, Medium, Large };

// The size the three stored flags choose. Medium when none holds "1" or "0" (nothing stored
// yet); otherwise the last of "Small", "Mid", "Big" holding "1"; nothing when none does, and
// the window keeps the size of its layout. Values are compared exactly.
[[nodiscard]] std::optional<SizeChoice> chooseSize(QStringView small, QStringView mid,
                                                   QStringView big);

} // namespace zelvo
