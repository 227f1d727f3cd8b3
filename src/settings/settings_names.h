#pragma once

#include <QLatin1String>

namespace voltwise {

// The application title, which is also the application name of the settings.
inline constexpr QLatin1String kApplicationTitle("Voltwise");

inline constexpr QLatin1String kSettingsSection("Settings");
inline constexpr QLatin1String kWindowSettingsSection("WindowSettings");
inline constexpr QLatin1String kServersSection("Servers");

// Where an older release kept the settings, followed by "\" and the application name.
inline constexpr QLatin1String kLegacySettingsRoot("Software\\VB and VBA Program Settings");

} // namespace voltwise
