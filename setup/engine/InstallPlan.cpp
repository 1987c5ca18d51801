#include "setup/engine/InstallPlan.h"

#include "toolkit/PathText.h"

namespace setup {

int ProgressPercent(int done, int total) {
  if (total <= 0) return 0;
  // Divide first, then scale: the order decides how halves such as 12.5 fall.
  long double share = static_cast<long double>(done) / total;
  return static_cast<int>(share * 100);
}

int CountSteps(const LineList& list) {
  int total = 3;
  for (const char* keyword : {section::kInstall, section::kWin, section::kSystem}) {
    int k = list.Find(keyword);
    if (k >= 0) total += int(list.ListEntries(k).size()) + 1;
  }
  return total;
}

std::string BackupExtension(const LineList& list) {
  int k = list.Find(section::kSysBackup);
  if (k < 0 || size_t(k) + 1 >= list.Count()) return "QFS";
  const std::string& line = list.At(size_t(k) + 1);
  return line.find(':') == std::string::npos ? line : "QFS";
}

std::string CopyTargetPath(TargetFolder folder, std::string_view destDir,
                           std::string_view windowsFolder, std::string_view name) {
  switch (folder) {
    case TargetFolder::Dest:
      return std::string(destDir) + "\\" + std::string(name);
    case TargetFolder::Windows:
      return std::string(windowsFolder) + "\\" + std::string(name);
    case TargetFolder::System:
      break;
  }
  return std::string(windowsFolder) + "\\System\\" + std::string(name);
}

Replacement ReplacementNames(std::string_view target) {
  return {kw::ChangeFileExt(target, ".MQF"), kw::ChangeFileExt(target, ".BAK")};
}

std::string RunNowQuestion(std::string_view programName) {
  return "Installation is complete, would you like to run " + std::string(programName) + " now?";
}

}  // namespace setup
