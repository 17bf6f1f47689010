// Division that rounds toward minus infinity, so that day and month counts
// before an epoch fall into the right cycle (C++ division rounds toward zero).
#pragma once

#include <cstdint>

// b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b < 0 ? 1 : 0);
}

// b > 0; the result lies in 0..b-1.
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b)
{
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}
