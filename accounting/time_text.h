// Counts of seconds shown as hours, minutes and seconds. Hours are whole hours
// and never taken modulo 24, so 100 hours print as "100".
#pragma once

#include <cstdint>

struct Hms {
    unsigned hours;
    unsigned minutes;
    unsigned seconds;
};

constexpr Hms SplitSeconds(std::uint32_t s)
{
    return Hms{s / 3600u, (s / 60u) % 60u, s % 60u};
}
