#pragma once

#include "settings/registry_backend.h"

namespace voltwise {

// The start-up step, run before anything reads settings: when the current
// settings key "Software\Ternwood\Voltwise" does not exist, the values of the
// legacy location are copied into it; when it exists nothing is copied.
void ImportLegacySettingsAtStartup(RegistryBackend &store);

} // namespace voltwise
