// Texts and look-ups of the wizard pages that need no window: the running-
// program check's window names and its warning, the destination's check.
#pragma once
#include <optional>
#include <string>

#include "setup/engine/ListFormat.h"

namespace setup {

// The window named by the line after :NOTRUNNING, split at its first comma into
// class and title (either may be empty; no comma: all of it is the title).
// Nothing when the section is absent or its line is empty; ListIndexError when
// the keyword is the last line.
struct WindowName {
  std::string cls;
  std::string title;
};
std::optional<WindowName> NotRunningWindow(const LineList& lbSetup);

// The warning shown when that window exists.
std::string RunningWarning(const std::string& programName);

// The destination typed on the folders page must be a full path (drive letter,
// ":\", at least one folder name): anything else would install relative to the
// temporary folder, or into a drive's root. "/" becomes "\" and trailing
// backslashes go, as the system reads the path; returns why the folder cannot
// be used, empty when it can.
std::string DestinationProblem(std::string& folder);

}  // namespace setup
