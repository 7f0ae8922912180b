#pragma once

#include <array>

// Every key of the per-user store, declared once with its section and its values.
namespace zelvo::settings {

inline constexpr char Application[] = "Zelvo";

struct Key
{
    const char* section;
    const char* name;
};

// Section "Size": one flag per tile-window size.
namespace size {
inline constexpr Key Small{"Size", "Small"};
inline constexpr Key Mid{"Size", "Mid"};
inline constexpr Key Big{"Size", "Big"};
inline constexpr char On[] = "1";
inline constexpr char Off[] = "0";
inline constexpr std::array<Key, 3> Keys{Small, Mid, Big};
} // namespace size

// Section "Type": the file-list pattern piece of each picture type, or the disabled marker.
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

// Always the last element of the file list's pattern.
inline constexpr char ClosingPattern[] = "*.vuq";

} // namespace zelvo::settings
