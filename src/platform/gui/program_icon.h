#pragma once

#include "status/program_name.h"

#include <QIcon>

#include <array>

namespace voltwise {

// The program's own icon is the traffic light showing green, the picture of
// a normal grid. The build writes it into the icon theme under kProgramIconName
// at these sizes, and as a scalable picture.
inline constexpr int kProgramImageIndex = 2;
inline constexpr std::array kProgramIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};

// The theme's pictures installed with the program; drawn when none is found.
QIcon ProgramIcon();

} // namespace voltwise
