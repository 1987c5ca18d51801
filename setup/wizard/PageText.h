// Texts and look-ups of the wizard pages that need no window: the running-
// program check's window names and its warning.
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

}  // namespace setup
