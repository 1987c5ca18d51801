// Reads arbitrary bytes as an uninstall list; a list that passes the checks is
// removed from a model system that traps on what an uninstaller must never do,
// however the list spells its paths: remove a file or folder outside the
// program's folders, a file in the Windows tree without a Yes, a protected
// folder, a registry value or key the list does not name, a system key. The
// bytes also serve as a WININIT.INI to add a deletion to.
#include <cstdint>
#include <set>
#include <tuple>

#include "fuzz/WinSpelling.h"
#include "qfunin/Removal.h"
#include "qfunin/UninList.h"
#include "qfunin/WininitText.h"

namespace {

using namespace qfunin;
using fuzzmodel::Canon;
using fuzzmodel::Lower;
using fuzzmodel::Within;


const Places kPlaces{"C:\\WINDOWS", "C:\\WINDOWS\\System", "C:\\WINDOWS\\SYSTEM32",
                     "C:\\WINDOWS\\Start Menu\\Programs", "C:\\Program Files", "",
                     {"C:\\WINDOWS\\Profiles\\Ann\\Start Menu\\Programs"}};

// Keys the system relies on (a few of them, in lower case): never deleted, nor
// their parents, under any root.
constexpr std::string_view kSystemKeys[] = {
    "software\\microsoft\\windows\\currentversion\\run",
    "software\\microsoft\\windows\\currentversion\\runonce",
    "software\\microsoft\\windows\\currentversion\\uninstall",
    "software\\microsoft\\windows\\currentversion\\app paths",
    "software\\microsoft\\windows\\currentversion\\explorer\\shell folders",
    "software\\classes\\clsid",
    "clsid",
    "*\\shellex\\contextmenuhandlers"};

int RootId(std::string_view root) {
  constexpr std::string_view kRoots[] = {"hkey_classes_root",     "hkey_current_user",  "hkey_local_machine",
                                         "hkey_users",            "hkey_performance_data",
                                         "hkey_current_config", "hkey_dyn_data"};
  for (int i = 0; i < 7; ++i)
    if (Lower(root) == kRoots[i]) return i;
  return -1;
}

// A key as the registry resolves it: no leading, trailing or doubled
// backslashes, any letter case.
std::string KeyCanon(std::string_view key) {
  std::string out;
  for (char c : Lower(key))
    if (c != '\\' || (!out.empty() && out.back() != '\\')) out += c;
  if (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

bool IsSystemKey(int root, const std::string& key) {
  if (key.empty() || (root != 0 && key.find('\\') == std::string::npos)) return true;
  for (std::string_view s : kSystemKeys)
    if (Within(std::string(s), key)) return true;
  return false;
}

class Host : public RemovalHost {
 public:
  Host(const UninList& list, const uint8_t* data, size_t size) : depth_(0) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 16777619u;
    rnd_ = h | 1;
    depth_ = size == 0 ? 0 : data[0] >= 0xC0 ? 40 : data[0] % 4;
    dest_ = Canon(list.destDir);
    menu_ = Canon(list.menuFolder);
    listFile_ = Canon(list.destDir + "\\unin.ini");
    windows_ = Canon(kPlaces.windows);
    for (const std::string* p : {&kPlaces.windows, &kPlaces.system, &kPlaces.systemDir, &kPlaces.programs,
                                 &kPlaces.programFiles, &kPlaces.otherPrograms[0]})
      places_.push_back(Canon(*p));
    for (const RegValue& v : list.values) {
      values_.insert({RootId(v.root), KeyCanon(v.key), Lower(v.name)});
      keys_.insert({RootId(v.root), KeyCanon(v.key)});
    }
  }

  void Progress(int percent, const std::string&) override {
    if (percent < last_ || percent > 100) __builtin_trap();
    last_ = percent;
  }
  SharedAnswer AskShared(const std::string& path) override {
    auto a = SharedAnswer(Next() % 4);
    if (a == SharedAnswer::kYes) yes_.insert(Canon(path));
    if (a == SharedAnswer::kYesToAll) yesToAll_ = true;
    return a;
  }
  bool FileExists(const std::string&) override { return true; }
  // The list the removal was started with goes last, wherever it lies.
  Deleted RemoveFile(const std::string& path) override {
    const std::string c = Canon(path);
    if (c != listFile_ && !FileMayGo(c)) __builtin_trap();
    return Deleted(Next() % 4);
  }
  bool DeleteAtRestart(const std::string& path) override {
    const std::string c = Canon(path);
    if (c != listFile_ && !FileMayGo(c) && !FolderMayGo(c)) __builtin_trap();
    return Next() % 2;
  }
  bool IsSelf(const std::string& path) override { return Canon(path) == "c:\\windows\\qfunin.exe"; }
  bool FolderExists(const std::string&) override { return true; }
  std::vector<FolderEntry> ListFolder(const std::string& path) override {
    int level = 0;
    for (size_t at = path.find("\\sub"); at != std::string::npos; at = path.find("\\sub", at + 1)) ++level;
    if (level >= depth_) return {};
    if (Next() % 2) return {{"sub", true}, {"f", false}};
    return {{"sub", true}};
  }
  bool RemoveFolder(const std::string& path) override {
    if (!FolderMayGo(Canon(path))) __builtin_trap();
    return Next() % 2;
  }
  bool DeleteRegValue(const std::string& root, const std::string& key, const std::string& name) override {
    if (!values_.count({RootId(root), KeyCanon(key), Lower(name)})) __builtin_trap();
    return Next() % 4 != 0;
  }
  bool DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) override {
    const int r = RootId(root);
    const std::string k = KeyCanon(key);
    if (!keys_.count({r, k}) || IsSystemKey(r, k)) __builtin_trap();
    return true;
  }
  void DeleteUninstallEntry(const std::string&) override {}

 private:
  uint32_t Next() {
    rnd_ ^= rnd_ << 13;
    rnd_ ^= rnd_ >> 17;
    rnd_ ^= rnd_ << 5;
    return rnd_;
  }
  // A drive root, "Program Files" on any drive, one of the places or a folder
  // that holds one.
  bool Protected(const std::string& c) const {
    if (c.size() <= 3 || c.substr(1) == ":\\program files") return true;
    for (const std::string& p : places_)
      if (Within(p, c)) return true;
    return false;
  }
  bool MenuUsable() const { return !menu_.empty() && (Within(menu_, places_[3]) || Within(menu_, places_[5])); }
  bool FileMayGo(const std::string& c) const {
    if (c.empty()) return false;
    const bool inDest = Within(c, dest_) && c != dest_;
    const bool inMenu = MenuUsable() && Within(c, menu_) && c != menu_;
    // The Windows tree is shared, unless the program has a folder of its own there.
    if (Within(c, windows_) && !inMenu && !(inDest && !Protected(dest_))) return yesToAll_ || yes_.count(c);
    return inDest || inMenu;
  }
  bool FolderMayGo(const std::string& c) const {
    if (c.empty() || Protected(c)) return false;
    return Within(c, dest_) || (MenuUsable() && Within(c, menu_));
  }

  int depth_;
  uint32_t rnd_;
  int last_ = 0;
  std::string dest_, menu_, listFile_, windows_;
  std::vector<std::string> places_;
  std::set<std::string> yes_;
  bool yesToAll_ = false;
  std::set<std::tuple<int, std::string, std::string>> values_;
  std::set<std::pair<int, std::string>> keys_;
};

// The model system's long names, as the uninstaller gets them from the system.
std::string LongPath(const std::string& path) {
  std::string out;
  for (size_t at = 0; at <= path.size();) {
    size_t cut = path.find('\\', at);
    if (cut == std::string::npos) cut = path.size();
    std::string name = path.substr(at, cut - at);
    for (const auto& [shortName, longName] : fuzzmodel::kShortNames)
      if (Lower(name) == shortName) name = std::string(longName);
    out += name;
    if (cut < path.size()) out += '\\';
    at = cut + 1;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  AddWininitDelete(bytes, "C:\\PROGRA~1\\X.EXE");
  ListPathArgument(bytes);
  UninList list;
  if (!ParseUninList(bytes, list).empty()) return 0;
  Places places = kPlaces;
  UseLongForms(list, places, LongPath);
  if (!CheckUninList(list, places).empty()) return 0;
  Host host(list, data, size);
  Outcome o = Removal(list, places, list.destDir + "\\unin.ini", host).Run();
  ClosingText(list.programName, o);
  return 0;
}
