#pragma once

#include <optional>

namespace voltwise {

// "--help" and "--version" of the desktop program, answered on standard
// output before Qt starts, so they work in a terminal without a display.
// The exit status when the arguments ask for one of them; every other
// argument is left to Qt (its standard options such as -platform).
std::optional<int> AnswerInformationOption(int argc, char **argv);

} // namespace voltwise
