#include "settings/legacy_import.h"

#include "settings/registry_operations.h"
#include "settings/settings_names.h"

namespace voltwise {

void ImportLegacySettingsAtStartup(RegistryBackend &store)
{
    if (RegKeyExists(store, RegistryRoot::CurrentUser, SettingsKeyPath(kApplicationTitle, {})))
        return;
    QString appName = kApplicationTitle;
    ImportLegacySettings(store, appName, false);
}

} // namespace voltwise
