#pragma once

namespace voltwise {

// False on Wayland, where the compositor alone places windows and never
// tells a program where its windows are.
bool WindowsCanBePlaced();

} // namespace voltwise
