#pragma once

namespace voltwise::gridsim {

// A hot summer weekday in California: about 22,000 MW before dawn and
// 45,000 MW in the late afternoon.

// The load at a clock time of the day, in hours (0 to 24, fractions allowed).
double BaseLoadAt(double hourOfDay);

// The load of the hour ending at hourEnding (1 to 24).
double BaseLoadForHourEnding(int hourEnding);

// A repeatable value between -1 and 1 for a seed, so the figures look
// noisy but tests and demo runs see the same numbers.
double Wobble(int seed);

} // namespace voltwise::gridsim
