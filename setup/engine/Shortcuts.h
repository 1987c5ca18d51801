// Start Menu shortcuts from the :SHORTCUTS section (Windows only; library
// setup_shortcuts). Needs COM initialised on the calling thread.
#pragma once
#include <string>

#include "setup/components/SheLink.h"
#include "setup/engine/EngineState.h"
#include "setup/engine/SetupState.h"

namespace setup {

// Engine step 2 for the folder name: FullStartMenuFolder under
// StartMenuProgramsFolder.
std::string StartMenuPath(const std::string& name);

// One Start Menu entry S (a path without extension) for the target T: deletes
// S.pif and S.lnk, then makes S.lnk (or S.pif), or copies T to S when both
// have the same file name. Nothing when T is missing; never throws.
void MakeShortcut(TShellLink& link, const std::string& shortcut, const std::string& target);

// Engine step 12, when :SHORTCUTS is present. state.StartMenuFolder must already
// be the full path. Sets MainProgram from the first pair and records each
// shortcut path and the closing "+" line in UninstallList. ListIndexError when
// the section has no ":" line.
void CreateShortcuts(const SetupState& state, EngineState& engine, TShellLink& link);

}  // namespace setup
