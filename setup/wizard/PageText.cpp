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

std::string DestinationProblem(std::string& folder) {
  for (char& c : folder)
    if (c == '/') c = '\\';
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  const std::string example = " Type a folder with its drive, such as C:\\Program Files\\My Program.";
  if (folder.empty()) return "Please type the folder to install to." + example;
  const std::string quoted = "\"" + folder + "\" ";
  bool drive = folder.size() >= 3 && ((folder[0] | 0x20) >= 'a' && (folder[0] | 0x20) <= 'z') &&
               folder[1] == ':' && folder[2] == '\\';
  if (!drive) return quoted + "is not a full path." + example;
  if (folder.size() == 3) return quoted + "is the root of a drive." + example;
  // Each name between backslashes: not empty, not ending in a dot or blank
  // (the system drops those, so the name would not be the one listed), and
  // free of the characters no file name may hold.
  size_t start = 3;
  while (start <= folder.size()) {
    size_t end = folder.find('\\', start);
    if (end == std::string::npos) end = folder.size();
    std::string_view name(folder.data() + start, end - start);
    if (name.empty() || name.back() == '.' || name.back() == ' ')
      return quoted + "has a folder name that is empty or ends in a dot or blank." + example;
    for (char c : name)
      if (static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos)
        return quoted + "holds a character no folder name may hold (< > : \" | ? *)." + example;
    start = end + 1;
  }
  return {};
}

}  // namespace setup
