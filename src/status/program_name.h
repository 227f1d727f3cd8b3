#pragma once

#include <QStringView>

namespace voltwise {

// The name the program is installed under: its icon in the theme and its
// launcher ("com.ternwood.Voltwise.desktop"), for code without the GUI.
inline constexpr QStringView kProgramIconName = u"com.ternwood.Voltwise";

} // namespace voltwise
