#pragma once

#include <optional>

namespace zelvo {

// Runs "zelvo --set-background FILE" or "zelvo --save-repeat OUT.png FILE" without a window when
// the arguments ask for one: prints what was done on standard output, or why not on standard
// error, and returns the program's exit status. Nothing when they ask for neither.
[[nodiscard]] std::optional<int> runBackgroundCommand(int argc, char* argv[]);

} // namespace zelvo
