#include "qfunin/Removal.h"

#include <algorithm>
#include <optional>

#include "qfunin/PathRules.h"
#include "setup/engine/RegText.h"
#include "toolkit/PathText.h"

namespace qfunin {

namespace {

// Keys the system relies on: never deleted, nor any of their parents.
constexpr std::string_view kSystemKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunServicesOnce",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon",
    "Software\\Classes\\CLSID",
    "System\\CurrentControlSet\\Services\\VxD",
    "System\\CurrentControlSet\\Control\\Session Manager\\Environment",
    "Network\\Logon",
    "CLSID",
    "*\\shellex\\ContextMenuHandlers",
    "Directory\\shellex\\ContextMenuHandlers",
    "Folder\\shellex\\ContextMenuHandlers",
};

std::string KeyName(std::string_view root, std::string_view key) {
  return std::string(root) + "\\" + std::string(setup::RelativeKeyPath(key));
}

bool IsClassesKey(std::string_view key) {
  // HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER's "Software\Classes", or one
  // user's below HKEY_USERS.
  std::string k = kw::LowerAscii(NormalPath(key)) + "\\";
  return k.rfind("software\\classes\\", 0) == 0 ||
         k.find("\\software\\classes\\") != std::string::npos;
}

}  // namespace

bool IsSharedKey(std::string_view root, std::string_view key) {
  std::string_view k = setup::RelativeKeyPath(key);
  return setup::RootKeyIndex(root) == 0 || IsClassesKey(k) || !MayDeleteKey(root, k);
}

bool StillRecorded(const RegValue& value, const RegData& now) {
  if (!value.data.empty() && value.data[0] == '#') {
    std::optional<int32_t> n = setup::StrToInt(setup::NumberText(value.data));
    return n && now.kind == RegData::kNumber && now.number == uint32_t(*n);
  }
  return now.kind == RegData::kText && now.text == value.data;
}

bool MayDeleteKey(std::string_view root, std::string_view key) {
  int r = setup::RootKeyIndex(root);
  // The registry takes "/" as part of a key's name, not as a separator.
  std::string raw(setup::RelativeKeyPath(key));
  for (char& c : raw)
    if (c == '/') c = '*';
  std::string k = NormalPath(raw);
  // "\\Software" is "Software" to the registry too.
  if (!k.empty() && k[0] == '\\') k.erase(0, 1);
  if (r < 0 || k.empty()) return false;
  if (r != 0 && k.find('\\') == std::string::npos) return false;  // 0: HKEY_CLASSES_ROOT
  for (std::string_view s : kSystemKeys)
    if (SamePath(k, s) || IsInside(s, k)) return false;
  return true;
}

Removal::Removal(const UninList& list, const Places& places, std::string listPath,
                 RemovalHost& host)
    : list_(list), places_(places), listPath_(std::move(listPath)), host_(host) {}

Outcome Removal::Run() {
  total_ = int(list_.files.size() + list_.shortcuts.size() + list_.values.size()) + 4;
  RemoveFiles();
  RemoveShortcuts();
  RemoveMenuFolder();
  RemoveRegistry();
  RemoveEntry();
  RemoveListFile();
  Step(list_.destDir);
  RemoveFolders();
  host_.Progress(100, "");
  return outcome_;
}

void Removal::RemoveFiles() {
  for (const std::string& f : list_.files) {
    Step(f);
    // The uninstall entries of other programs start this same program.
    if (host_.IsSelf(f)) continue;
    if (Shared(f) && (!host_.FileExists(f) || !WantShared(f))) continue;
    DeleteOne(f);
  }
}

void Removal::RemoveShortcuts() {
  for (const std::string& s : list_.shortcuts) {
    Step(s);
    for (const char* ext : {"", ".lnk", ".pif"})
      if (host_.FileExists(s + ext)) DeleteOne(s + ext);
  }
}

// A folder that still holds something is not ours alone: it stays unreported.
void Removal::RemoveMenuFolder() {
  Step(list_.menuFolder);
  if (list_.menuFolder.empty() || IsProtectedFolder(list_.menuFolder, places_)) return;
  // Shortcut names may hold folders of their own below it.
  for (const std::string& s : list_.shortcuts)
    for (std::string f = ParentFolder(s); IsInside(f, list_.menuFolder); f = ParentFolder(f))
      if (!host_.FolderExists(f) || !host_.RemoveFolder(f)) break;
  if (host_.FolderExists(list_.menuFolder)) host_.RemoveFolder(list_.menuFolder);
}

void Removal::RemoveRegistry() {
  for (const RegValue& v : list_.values) {
    Step(KeyName(v.root, v.key) + "\\" + v.name);
    if (setup::RootKeyIndex(v.root) < 0) continue;  // the installer wrote nothing there
    RemoveValue(v);
  }
}

void Removal::RemoveValue(const RegValue& v) {
  if (IsSharedKey(v.root, v.key) || v.name == "PrimaryProvider") {
    // Another program that has since taken the value over keeps it; a key
    // whose value is gone already may still go when empty.
    RegData now = host_.ReadRegValue(v.root, v.key, v.name);
    if (!StillRecorded(v, now)) {
      if (now.kind == RegData::kMissing && MayDeleteKey(v.root, v.key))
        host_.DeleteRegKeyIfEmpty(v.root, v.key);
      return;
    }
    // The installer kept the provider it replaced beside it: that one comes back.
    if (v.name == "PrimaryProvider") {
      RegData before = host_.ReadRegValue(v.root, v.key, "PreviousProvider");
      if (before.kind == RegData::kText && !before.text.empty() && before.text != v.data) {
        if (!host_.WriteRegText(v.root, v.key, v.name, before.text)) Stay(KeyName(v.root, v.key));
        return;
      }
    }
  }
  if (!host_.DeleteRegValue(v.root, v.key, v.name)) {
    Stay(KeyName(v.root, v.key));
    return;
  }
  if (MayDeleteKey(v.root, v.key)) host_.DeleteRegKeyIfEmpty(v.root, v.key);
}

void Removal::RemoveEntry() {
  Step(list_.programName);
  host_.DeleteUninstallEntry(listPath_);
}

void Removal::RemoveListFile() {
  Step(listPath_);
  DeleteOne(listPath_);
}

std::vector<std::string> Removal::UsedFolders() const {
  std::string dest = NormalPath(list_.destDir);
  std::vector<std::string> used{dest};
  for (const std::string& f : list_.files)
    for (std::string d = ParentFolder(f); IsInside(d, dest); d = ParentFolder(d)) {
      bool known = false;
      for (const std::string& u : used) known = known || SamePath(u, d);
      if (known) break;  // its parents are in already
      used.push_back(d);
    }
  auto depth = [](const std::string& p) { return std::count(p.begin(), p.end(), '\\'); };
  std::stable_sort(used.begin(), used.end(),
                   [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
  return used;
}

// A folder the list does not name, even an empty one, may be another
// program's; a protected destination itself stays.
void Removal::RemoveFolders() {
  for (const std::string& dir : UsedFolders()) {
    if (IsProtectedFolder(dir, places_) || !host_.FolderExists(dir)) continue;
    if (host_.RemoveFolder(dir)) continue;
    // Only files that go at the next start are left: the folder can follow them.
    if (outcome_.restart && OnlyQueued(dir) && host_.DeleteAtRestart(dir)) {
      queued_.push_back(dir);
      continue;
    }
    Stay(dir);
  }
}

bool Removal::OnlyQueued(const std::string& dir) {
  for (const FolderEntry& e : host_.ListFolder(dir))
    if (!Queued(dir + "\\" + e.name)) return false;
  return true;
}

// A file the installation put in the Windows tree may be one other programs
// share, unless it lies in the program's own folder there.
bool Removal::Shared(const std::string& path) const {
  if (!IsInside(path, places_.windows)) return false;
  return !IsInside(path, list_.destDir) || IsProtectedFolder(list_.destDir, places_);
}

bool Removal::WantShared(const std::string& path) {
  if (answerAll_ != 0) return answerAll_ > 0;
  switch (host_.AskShared(path)) {
    case SharedAnswer::kYes:
      return true;
    case SharedAnswer::kYesToAll:
      answerAll_ = 1;
      return true;
    case SharedAnswer::kNoToAll:
      answerAll_ = -1;
      return false;
    case SharedAnswer::kNo:
      break;
  }
  return false;
}

void Removal::DeleteOne(const std::string& path) {
  switch (host_.RemoveFile(path)) {
    case Deleted::kGone:
    case Deleted::kMissing:
      return;
    case Deleted::kInUse:
      if (host_.DeleteAtRestart(path)) {
        queued_.push_back(NormalPath(path));
        outcome_.restart = true;
        return;
      }
      break;
    case Deleted::kFailed:
      break;
  }
  Stay(ParentFolder(path));
}

bool Removal::Queued(const std::string& path) const {
  for (const std::string& q : queued_)
    if (SamePath(q, path)) return true;
  return false;
}

void Removal::Step(const std::string& item) {
  host_.Progress(done_ * 100 / total_, item);
  ++done_;
}

void Removal::Stay(const std::string& place) {
  for (const std::string& s : outcome_.stayed)
    if (SamePath(s, place)) return;
  outcome_.stayed.push_back(place);
}

std::string ClosingText(std::string_view programName, const Outcome& outcome) {
  std::string text(programName);
  if (outcome.stayed.empty()) {
    text += " was removed from your computer.";
  } else {
    text += " was removed, but some items could not be removed. You can remove them yourself; look in:\r\n";
    for (const std::string& s : outcome.stayed) text += "\r\n" + s;
  }
  if (outcome.restart)
    text += "\r\n\r\nSome files were in use. Restart Windows to finish removing them.";
  return text;
}

}  // namespace qfunin
