#include "gridsim/load_curve.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace voltwise::gridsim {

namespace {

// Load at each clock hour 0 to 23, in MW.
constexpr std::array<double, 24> kLoadAtHour{
    28400, 25800, 24300, 23200, 22500, 22300, 23000, 25100, 27900, 30600, 33500, 36300,
    38800, 40900, 42600, 43900, 44800, 45000, 44300, 42400, 40100, 38600, 35700, 31900};

} // namespace

double BaseLoadAt(double hourOfDay)
{
    const double wrapped = std::fmod(std::fmod(hourOfDay, 24.0) + 24.0, 24.0);
    const auto hour = std::size_t(wrapped);
    const double fraction = wrapped - double(hour);
    const double from = kLoadAtHour[hour % 24];
    const double to = kLoadAtHour[(hour + 1) % 24];
    return from + (to - from) * fraction;
}

double BaseLoadForHourEnding(int hourEnding)
{
    // The mean over the hour, close enough as the load at its middle.
    return BaseLoadAt(double(hourEnding) - 0.5);
}

double Wobble(int seed)
{
    auto x = std::uint32_t(seed) * 2654435761u;
    x ^= x >> 15;
    x *= 2246822519u;
    x ^= x >> 13;
    return double(x % 20001u) / 10000.0 - 1.0;
}

} // namespace voltwise::gridsim
