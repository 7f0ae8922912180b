#pragma once

#include <algorithm>

namespace zelvo {

// A step through the listed files.
enum class Step { Next, Previous, First, Last };

// The row a step moves to in a list of count names from the current row (-1 for none), or -1
// when there is nothing to move to. The ends do not wrap.
[[nodiscard]] constexpr int steppedRow(Step step, int current, int count)
{
    if (count <= 0)
        return -1;
    switch (step) {
    case Step::Next:
        return current < 0 ? 0 : std::min(current + 1, count - 1);
    case Step::Previous:
        return current < 0 ? 0 : std::max(current - 1, 0);
    case Step::First:
        return 0;
    case Step::Last:
        return count - 1;
    }
    return -1;
}

} // namespace zelvo
