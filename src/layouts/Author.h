#pragma once

// The project's own words that the windows show about its author.
namespace zelvo::author {

inline constexpr char ContactAddress[] = "zelvo@zelvo.org";
inline constexpr char CopyrightNotice[] = "Copyright (C) 2026 The Zelvo authors";

} // namespace zelvo::author
