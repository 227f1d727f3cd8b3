#pragma once

#include "settings/app_settings.h"
#include "settings/registry_backend.h"

namespace voltwise {

class StartupEntry;

// The refresh divides by the interval, so it is never below 1.
inline constexpr int kMinUpdateInterval = 1;
inline constexpr int kMaxUpdateInterval = 120;

// What the options dialog shows and the user may change.
struct OptionsChoices
{
    bool AutoCheck = false;
    int UpdateInterval = kMinUpdateInterval;
    bool PlaySound = false;
    bool ShowAtStartup = false;
    bool AddToStartupItems = false;
    bool AutoUpdate = false;
    bool CAISOGraph = false;
};

// What the dialog shows when it opens; no entry counts as not registered.
OptionsChoices OptionsFromSettings(const AppSettings &settings, const StartupEntry *entry);

// OK: the choices become the settings (the start-up entry is not a setting),
// the interval kept within its bounds.
void AcceptOptions(const OptionsChoices &choices, AppSettings &settings);

// Every way of closing: the five settings of the dialog are saved and the
// start-up entry follows the check box. Failures stay silent.
void CloseOptions(const AppSettings &settings, bool addToStartupItems, RegistryBackend &store,
                  StartupEntry *entry);

} // namespace voltwise
