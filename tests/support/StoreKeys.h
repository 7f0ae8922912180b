#pragma once

#include "core/SettingKeys.h"

#include <array>

// The store's keys and values as the settings file shows them, written out for the tests.
namespace zelvo::test::keys {

using namespace zelvo::settings;

namespace size {
inline constexpr Key Small{"Size", "Small"};
inline constexpr Key Mid{"Size", "Mid"};
inline constexpr Key Big{"Size", "Big"};
inline constexpr char On[] = "1";
inline constexpr char Off[] = "0";
inline constexpr std::array<Key, 3> Keys{Small, Mid, Big};
} // namespace size

namespace type {
struct TypeKey
{
    Key key;
    const char* pattern;
    bool initiallyEnabled;
};
inline constexpr TypeKey Bitmap{{"Type", "Bitmap"}, "*.bmp;", true};
inline constexpr TypeKey Jpg{{"Type", "Jpg"}, "*.jpeg;*.jpg;", true};
inline constexpr TypeKey Gif{{"Type", "Gif"}, "*.gif;", true};
inline constexpr TypeKey Ico{{"Type", "Ico"}, "*.ico;", false};
inline constexpr char Disabled[] = "&;";
inline constexpr std::array<TypeKey, 4> Keys{Bitmap, Jpg, Gif, Ico};
} // namespace type

} // namespace zelvo::test::keys
