#pragma once
#include <cstddef>

// Whether the positions of an entry-point list, in the list's order, run 1,
// 2, ... without a gap: what is expanded from the list (slots, members,
// exports) follows them.
template <std::size_t N>
constexpr bool PositionsRunFromOne(const int (&positions)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        if (positions[i] != static_cast<int>(i) + 1)
            return false;
    }
    return true;
}
