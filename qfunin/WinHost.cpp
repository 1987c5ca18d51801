#include "qfunin/WinHost.h"

#include <windows.h>

#include <algorithm>

#include "qfunin/PathRules.h"
#include "qfunin/RestartQueue.h"
#include "setup/engine/RegText.h"
#include "setup/engine/Registry.h"
#include "setup/engine/UninstallText.h"
#include "setup/engine/Folders.h"
#include "toolkit/Handle.h"
#include "toolkit/Log.h"
#include "toolkit/NextBoot.h"
#include "toolkit/PathText.h"
#include "toolkit/RegKey.h"
#include "toolkit/Silent.h"

namespace qfunin {

namespace {

const HKEY kRoots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE,
                       HKEY_USERS,            HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                       HKEY_DYN_DATA};

HKEY Root(const std::string& name) {
  int i = setup::RootKeyIndex(name);
  return i < 0 ? nullptr : kRoots[i];
}

std::string KeyPath(const std::string& key) { return std::string(setup::RelativeKeyPath(key)); }

DWORD Attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

// Empty on any failure: a read that fails leaves that place unguarded, never
// more guarded than the defaults.
std::string ReadMachineString(const std::string& key, const char* name) {
  try {
    return setup::ReadRegString("HKEY_LOCAL_MACHINE", key, name);
  } catch (const std::exception&) {
    return {};
  }
}

bool SameFile(const std::string& a, const std::string& b) {
  return SamePath(a, b) || SamePath(kw::ShortPath(a), kw::ShortPath(b));
}

// The list path of an uninstall command: the quoted part, else what follows
// the program.
std::string CommandListPath(const std::string& command) {
  size_t q = command.find('"');
  if (q != std::string::npos) return ListPathArgument(std::string_view(command).substr(q));
  size_t blank = command.find(' ');
  return blank == std::string::npos ? std::string() : ListPathArgument(command.substr(blank));
}

bool DeleteValue(const std::string& root, const std::string& key,
                 const std::string& name) {
  kw::RegKey k;
  LONG r = RegOpenKeyExA(Root(root), KeyPath(key).c_str(), 0, KEY_SET_VALUE, k.Out());
  if (r == ERROR_FILE_NOT_FOUND) return true;
  if (r != ERROR_SUCCESS) return false;
  r = RegDeleteValueA(k, name.c_str());
  if (r == ERROR_SUCCESS) kw::Log({"Removed registry value ", root, "\\", key, "\\", name});
  if (r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND) return true;
  kw::Log({"Failed to remove registry value ", root, "\\", key, "\\", name});
  return false;
}

bool DeleteKeyIfEmpty(const std::string& root, const std::string& key) {
  HKEY r = Root(root);
  std::string path = KeyPath(key);
  {
    kw::RegKey k;
    LONG e = RegOpenKeyExA(r, path.c_str(), 0, KEY_READ, k.Out());
    if (e == ERROR_FILE_NOT_FOUND) return true;
    if (e != ERROR_SUCCESS) return false;
    DWORD subkeys = 0, values = 0;
    if (RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return false;
    if (subkeys || values) return true;
  }
  // Checked empty first: RegDeleteKey on Windows 95 takes the subkeys with it.
  if (RegDeleteKeyA(r, path.c_str()) != ERROR_SUCCESS) return false;
  kw::Log({"Removed registry key ", root, "\\", key});
  return true;
}

// The uninstall entries (their key names and display names) whose command
// names this list.
std::vector<std::pair<std::string, std::string>> EntriesFor(const std::string& listPath) {
  std::string base = std::string(setup::kUninstallKey);
  base.pop_back();
  std::vector<std::pair<std::string, std::string>> ours;
  kw::RegKey k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, base.c_str(), 0, KEY_READ, k.Out()) != ERROR_SUCCESS) return ours;
  char name[MAX_PATH + 1];
  for (DWORD i = 0; RegEnumKeyA(k, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
    std::string key = base + "\\" + name;
    std::string named = CommandListPath(ReadMachineString(key, "UninstallString"));
    if (!named.empty() && SameFile(named, listPath))
      ours.emplace_back(key, ReadMachineString(key, "DisplayName"));
  }
  return ours;
}

}  // namespace

namespace {

// The long name of `name` in the folder `out` (already long), appended to
// `out`. Only a name with "~" can be a short alias: the system makes every
// one of them so, and a list names thousands of files that need no lookup.
// FindFirstFile gives the long name on Windows 95 too (GetLongPathName came
// with 98). False when it does not exist: `name` is then appended as written.
bool AppendLong(std::string& out, const std::string& name) {
  if (name.find('~') == std::string::npos) {
    out += "\\" + name;
    return true;
  }
  WIN32_FIND_DATAA d;
  kw::FindHandle h(FindFirstFileA((out + "\\" + name).c_str(), &d));
  out += "\\";
  out += h.ok() ? d.cFileName : name;
  return h.ok();
}

// `p` ("X:\\..." normalised) resolved one name at a time; false when a part
// does not exist, the rest then as written.
bool WalkLong(const std::string& p, std::string& out) {
  out = p.substr(0, 2);
  for (size_t at = 3; at <= p.size();) {
    size_t cut = p.find('\\', at);
    if (cut == std::string::npos) cut = p.size();
    if (!AppendLong(out, p.substr(at, cut - at))) {
      out += p.substr(cut);
      return false;
    }
    at = cut + 1;
  }
  return true;
}

// A list names many files in one folder: the folder's long form is kept from
// the call before (no function-local statics: their guards need threads).
std::string lastFolder, lastLong;
bool lastWhole = false;

}  // namespace

std::string LongPath(const std::string& path) {
  std::string p = NormalPath(path);
  if (p.size() < 4 || p[1] != ':' || p[2] != '\\' || p.find_first_of("*?") != std::string::npos) return path;
  size_t cut = p.rfind('\\');
  std::string folder = p.substr(0, cut);
  if (cut < 3) {
    lastLong = folder;
    lastWhole = true;
  } else if (!kw::SameText(folder, lastFolder)) {
    lastWhole = WalkLong(folder, lastLong);
  }
  lastFolder = folder;
  if (!lastWhole) return lastLong + p.substr(cut);
  std::string out = lastLong;
  AppendLong(out, p.substr(cut + 1));
  return out;
}

std::string EntryNameFor(const std::string& listPath) {
  for (const auto& [key, shown] : EntriesFor(listPath))
    return shown.empty() ? key.substr(key.rfind('\\') + 1) : shown;
  return {};
}

void DeleteUninstallEntries(const std::string& listPath) {
  for (const auto& entry : EntriesFor(listPath)) {
    DeleteValue("HKEY_LOCAL_MACHINE", entry.first, "UninstallString");
    DeleteValue("HKEY_LOCAL_MACHINE", entry.first, "DisplayName");
    DeleteKeyIfEmpty("HKEY_LOCAL_MACHINE", entry.first);
  }
}

// The users' profile folders the system lists (NT family; 95/98 with user
// profiles switched on).
std::vector<std::string> ProfileFolders() {
  std::vector<std::string> out;
  for (const char* list : {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList",
                           "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList"}) {
    kw::RegKey k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, list, 0, KEY_READ, k.Out()) != ERROR_SUCCESS) continue;
    char name[MAX_PATH + 1];
    for (DWORD i = 0; RegEnumKeyA(k, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
      kw::RegKey user;
      char path[MAX_PATH], expanded[MAX_PATH];
      DWORD size = sizeof path, type = 0;
      if (RegOpenKeyExA(k, name, 0, KEY_QUERY_VALUE, user.Out()) != ERROR_SUCCESS ||
          RegQueryValueExA(user, "ProfileImagePath", nullptr, &type, reinterpret_cast<BYTE*>(path), &size) !=
              ERROR_SUCCESS ||
          (type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        continue;
      path[std::min<DWORD>(size, sizeof path - 1)] = '\0';
      DWORD n = ExpandEnvironmentStringsA(path, expanded, sizeof expanded);
      if (n > 0 && n <= sizeof expanded) out.push_back(NormalPath(expanded));
    }
  }
  return out;
}

Places SystemPlaces() {
  Places p;
  p.windows = NormalPath(setup::GetWindowsFolder());
  p.system = p.windows + "\\System";
  char buf[MAX_PATH];
  UINT n = GetSystemDirectoryA(buf, sizeof buf);
  if (n > 0 && n < sizeof buf) p.systemDir = NormalPath(buf);
  try {
    p.programs = NormalPath(setup::StartMenuProgramsFolder());
  } catch (const std::exception&) {
  }
  if (kw::IsNtFamily())
    p.commonPrograms = NormalPath(
        ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          "Common Programs"));
  p.programFiles =
      NormalPath(ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
  p.otherPrograms = OtherProgramsFolders(p.programs, ProfileFolders());
  return p;
}

void WinHost::Progress(int percent, const std::string& item) { progress_.ShowItem(percent, item); }

// Unattended, a file other programs may need stays: the safe answer.
SharedAnswer WinHost::AskShared(const std::string& path) {
  const SharedAnswer a = kw::Silent() ? SharedAnswer::kNoToAll : shared_.Ask(path);
  if (a == SharedAnswer::kNo || a == SharedAnswer::kNoToAll) kw::Log({"Kept the shared file ", path});
  return a;
}

bool WinHost::FileExists(const std::string& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

static Deleted RemoveNow(const std::string& path) {
  DWORD a = Attributes(path);
  if (a == INVALID_FILE_ATTRIBUTES) return Deleted::kMissing;
  if (a & FILE_ATTRIBUTE_DIRECTORY) return Deleted::kFailed;
  if (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileA(path.c_str())) return Deleted::kGone;
  DWORD e = GetLastError();
  if (Attributes(path) == INVALID_FILE_ATTRIBUTES) return Deleted::kGone;
  // A running program on Windows 95/98 gives access denied.
  if (e == ERROR_SHARING_VIOLATION || e == ERROR_LOCK_VIOLATION || e == ERROR_ACCESS_DENIED)
    return Deleted::kInUse;
  return Deleted::kFailed;
}

Deleted WinHost::RemoveFile(const std::string& path) {
  const Deleted d = RemoveNow(path);
  if (d == Deleted::kGone) kw::Log({"Removed ", path});
  if (d == Deleted::kFailed) kw::Log({"Failed to remove ", path});
  return d;
}

bool WinHost::DeleteAtRestart(const std::string& path) {
  const bool queued = qfunin::DeleteAtRestart(path);
  kw::Log({queued ? "Queued for the restart " : "Failed to queue for the restart ", path});
  return queued;
}

bool WinHost::IsSelf(const std::string& path) {
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, sizeof self);
  return n > 0 && n < sizeof self && SameFile(path, self);
}

bool WinHost::FolderExists(const std::string& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<FolderEntry> WinHost::ListFolder(const std::string& path) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA d;
  kw::FindHandle h(FindFirstFileA((path + "\\*.*").c_str(), &d));
  if (!h.ok()) return entries;
  do {
    std::string name = d.cFileName;
    if (name == "." || name == "..") continue;
    // A link to a folder elsewhere is never walked into.
    constexpr DWORD kReparsePoint = 0x400;
    bool folder = (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                  !(d.dwFileAttributes & kReparsePoint);
    entries.push_back({name, folder});
  } while (FindNextFileA(h.get(), &d));
  return entries;
}

bool WinHost::RemoveFolder(const std::string& path) {
  if (!RemoveDirectoryA(path.c_str())) return false;
  kw::Log({"Removed the folder ", path});
  return true;
}

bool WinHost::DeleteRegValue(const std::string& root, const std::string& key,
                             const std::string& name) {
  return DeleteValue(root, key, name);
}

bool WinHost::DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) {
  return DeleteKeyIfEmpty(root, key);
}

RegData WinHost::ReadRegValue(const std::string& root, const std::string& key, const std::string& name) {
  RegData out;
  kw::RegKey k;
  if (RegOpenKeyExA(Root(root), KeyPath(key).c_str(), 0, KEY_QUERY_VALUE, k.Out()) != ERROR_SUCCESS) return out;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(k, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return out;
  std::string data(size, '\0');
  if (RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    out.kind = RegData::kOther;
    return out;
  }
  data.resize(size);
  if (type == REG_SZ) {
    out.kind = RegData::kText;
    out.text = data.substr(0, data.find('\0'));
  } else if (type == REG_DWORD && size == 4) {
    out.kind = RegData::kNumber;
    out.number = uint32_t(uint8_t(data[0])) | uint32_t(uint8_t(data[1])) << 8 |
                 uint32_t(uint8_t(data[2])) << 16 | uint32_t(uint8_t(data[3])) << 24;
  } else {
    out.kind = RegData::kOther;
  }
  return out;
}

bool WinHost::WriteRegText(const std::string& root, const std::string& key, const std::string& name,
                           const std::string& text) {
  kw::RegKey k;
  const bool written =
      RegOpenKeyExA(Root(root), KeyPath(key).c_str(), 0, KEY_SET_VALUE, k.Out()) == ERROR_SUCCESS &&
      RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     DWORD(text.size() + 1)) == ERROR_SUCCESS;
  kw::Log({written ? "Restored registry value " : "Failed to restore registry value ", root, "\\", key, "\\", name,
           " = ", text});
  return written;
}

void WinHost::DeleteUninstallEntry(const std::string& listPath) { DeleteUninstallEntries(listPath); }

}  // namespace qfunin
