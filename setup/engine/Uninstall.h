// The uninstall record: the Windows uninstall entry and the uninstall list file
// (Windows only; library setup_uninstall).
#pragma once
#include <string>

#include "setup/engine/EngineState.h"
#include "setup/engine/SetupState.h"

namespace setup {

// Engine step 1: a fresh UninstallList holding ProgramName, then DestDir.
void BeginUninstallList(const SetupState& state, EngineState& engine);

// Writes "DisplayName" and "UninstallString" under HKEY_LOCAL_MACHINE's
// ...\CurrentVersion\Uninstall\<key>, each through its own open of the key.
// Throws "Failed to set data for '%s'" when a value cannot be stored.
void WriteUninstallEntry(const std::string& key, const std::string& displayName,
                         const std::string& command);

// Engine step 6, when :UNINSTALL is present: sets UninstallListPath, saves the
// list ahead (an entry never names a list that is not there) and writes the
// uninstall entry. ListIndexError when the section is cut short.
void WriteUninstallSection(const SetupState& state, EngineState& engine);

// Engine step 17: saves UninstallList (CR LF lines) when UninstallListPath is
// set. Throws "Cannot create file %s".
void SaveUninstallList(const SetupState& state, EngineState& engine);

// Writes the list beside the file and swaps it in: a cut-off write never leaves
// the uninstaller a list cut short. Throws "Cannot
// create file %s" (the list's path).
void WriteListFileSafely(const std::string& path, const std::vector<std::string>& lines);

}  // namespace setup
