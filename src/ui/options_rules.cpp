#include "ui/options_rules.h"

#include "platform/startup_entry.h"

#include <algorithm>

namespace voltwise {

OptionsChoices OptionsFromSettings(const AppSettings &settings, const StartupEntry *entry)
{
    return {settings.AutoCheck,
            std::clamp<int>(settings.UpdateInterval, kMinUpdateInterval, kMaxUpdateInterval),
            settings.PlaySound,
            settings.ShowAtStartup,
            entry && entry->isRegistered(),
            settings.AutoUpdate,
            settings.CAISOGraph};
}

void AcceptOptions(const OptionsChoices &choices, AppSettings &settings)
{
    settings.AutoCheck = choices.AutoCheck;
    settings.UpdateInterval =
        std::clamp(choices.UpdateInterval, kMinUpdateInterval, kMaxUpdateInterval);
    settings.PlaySound = choices.PlaySound;
    settings.ShowAtStartup = choices.ShowAtStartup;
    settings.AutoUpdate = choices.AutoUpdate;
    settings.CAISOGraph = choices.CAISOGraph;
}

void CloseOptions(const AppSettings &settings, bool addToStartupItems, RegistryBackend &store,
                  StartupEntry *entry)
{
    SaveOptionsSettings(store, settings);
    if (!entry)
        return;
    if (addToStartupItems)
        entry->registerProgram();
    else
        entry->unregister();
}

} // namespace voltwise
