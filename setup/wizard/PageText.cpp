#include "setup/wizard/PageText.h"

#include "setup/engine/Switches.h"

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

std::string DestinationProblem(std::string& folder) {
  for (char& c : folder)
    if (c == '/') c = '\\';
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  const std::string example = " Type a folder with its drive, such as C:\\Program Files\\My Program.";
  if (folder.empty()) return "Please type the folder to install to." + example;
  const char* why;
  switch (CheckFolderPath(folder, true)) {
    case FolderFault::kNone:
      return {};
    case FolderFault::kNotFull:
      why = "is not a full path.";
      break;
    case FolderFault::kRoot:
      why = "is the root of a drive.";
      break;
    case FolderFault::kBadName:
      why = "has a folder name that is empty or ends in a dot or blank.";
      break;
    default:
      why = "holds a character no folder name may hold (< > : \" | ? *).";
  }
  return "\"" + folder + "\" " + why + example;
}

}  // namespace setup
