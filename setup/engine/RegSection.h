// The :reg and :DINK sections of the installation list (Windows only; library
// setup_registry).
#pragma once
#include "setup/engine/EngineState.h"
#include "setup/engine/SetupState.h"

namespace setup {

// Engine step 16, when :reg is present: writes every group (with :DINK on the
// first) and records ":reg", four lines per group and ":" in UninstallList.
// Raises the registry errors of Registry.h and ListIndexError.
void WriteRegistrySection(const SetupState& state, EngineState& engine);

}  // namespace setup
