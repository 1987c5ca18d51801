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

Replacement ReplacementNames(std::string_view target, int n) {
  std::string stem = kw::ChangeFileExt(target, "");
  // A target named like its own waiting copy or backup gets numbered names.
  const std::string_view ext = target.substr(stem.size());
  if (n == 0 && (kw::SameText(ext, ".MQF") || kw::SameText(ext, ".BAK"))) n = 1;
  if (n > 0) {
    std::string number = kw::Decimal(n);
    size_t name = kw::ExtractFilePath(stem).size();
    size_t length = stem.size() - name;
    if (length <= 8 && length + number.size() > 8) stem.resize(name + 8 - number.size());
    stem += number;
  }
  return {stem + ".MQF", stem + ".BAK"};
}

CopyFailure ClassifyCopyFailure(bool keep, unsigned long error, unsigned long attrs) {
  // The system's codes and attribute bits, spelt out to keep this file free of
  // the Windows headers.
  constexpr unsigned long kAccessDenied = 5, kSharingViolation = 32, kLockViolation = 33;
  constexpr unsigned long kReadOnly = 0x1, kDirectory = 0x10;
  bool file = attrs != kNoAttributes && !(attrs & kDirectory);
  if (!file) return CopyFailure::Failed;
  if (keep) return CopyFailure::Kept;
  if (error == kAccessDenied && (attrs & kReadOnly)) return CopyFailure::ReadOnly;
  if (error == kAccessDenied || error == kSharingViolation || error == kLockViolation)
    return CopyFailure::InUse;
  return CopyFailure::Failed;
}

std::string RunNowQuestion(std::string_view programName) {
  return "Installation is complete, would you like to run " + std::string(programName) + " now?";
}

std::string IncompleteText(const std::vector<std::string>& failed) {
  std::string text = "The installation is incomplete. These files could not be installed:\n";
  for (size_t i = 0; i < failed.size() && i < kIncompleteShown; ++i) text += "\n" + failed[i];
  if (failed.size() > kIncompleteShown)
    text += "\n... and " + kw::Decimal(failed.size() - kIncompleteShown) + " more";
  return text;
}

std::string Quote(std::string_view path) { return "\"" + std::string(path) + "\""; }

std::string QuoteIfBlank(std::string_view path) {
  return path.find(' ') == std::string_view::npos ? std::string(path) : Quote(path);
}

}  // namespace setup
