#pragma once

// The per-user store's fixed names and values; the keys of the picture types and the tile
// sizes stand in their tables.
namespace zelvo::settings {

inline constexpr char Application[] = "Zelvo";

struct Key
{
    const char* section;
    const char* name;
};

// The values of a size flag.
inline constexpr char On[] = "1";
inline constexpr char Off[] = "0";

// The value that takes a disabled picture type's place in the store and in the pattern.
inline constexpr char Disabled[] = "&;";

// The folder the user last chose, where the next start lists.
inline constexpr Key LastFolder{"Folder", "Last"};

// Always the last element of the file list's pattern.
inline constexpr char ClosingPattern[] = "*.vuq";

} // namespace zelvo::settings
