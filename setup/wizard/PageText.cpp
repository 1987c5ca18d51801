#include "setup/wizard/PageText.h"

namespace setup {

std::optional<WindowName> NotRunningWindow(const LineList& lbSetup) {
  int k = lbSetup.Find(section::kNotRunning);
  if (k < 0) return std::nullopt;
  const std::string& line = lbSetup.At(size_t(k) + 1);
  if (line.empty()) return std::nullopt;
  size_t comma = line.find(',');
  if (comma == std::string::npos) return WindowName{"", line};
  return WindowName{line.substr(0, comma), line.substr(comma + 1)};
}

std::string RunningWarning(const std::string& programName) {
  return "You must close " + programName + " before setup may continue.\r" +
         "Right-click its icon in the system tray, next to the clock,\r" +
         "and choose Exit (or Close) from the menu that appears.";
}

}  // namespace setup
