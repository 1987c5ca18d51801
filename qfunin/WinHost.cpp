#include "qfunin/WinHost.h"

#include <windows.h>

#include "qfunin/PathRules.h"
#include "qfunin/RestartQueue.h"
#include "setup/engine/RegText.h"
#include "setup/engine/Registry.h"
#include "setup/engine/UninstallText.h"
#include "setup/engine/Folders.h"
#include "toolkit/Handle.h"
#include "toolkit/NextBoot.h"
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

}  // namespace

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
  p.programFiles =
      NormalPath(ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"));
  return p;
}

void WinHost::Progress(int percent, const std::string& item) { progress_.ShowItem(percent, item); }

// Unattended, a file other programs may need stays: the safe answer.
SharedAnswer WinHost::AskShared(const std::string& path) {
  return kw::Silent() ? SharedAnswer::kNoToAll : shared_.Ask(path);
}

bool WinHost::FileExists(const std::string& path) {
  DWORD a = Attributes(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

Deleted WinHost::RemoveFile(const std::string& path) {
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

bool WinHost::DeleteAtRestart(const std::string& path) { return qfunin::DeleteAtRestart(path); }

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

bool WinHost::RemoveFolder(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

bool WinHost::DeleteRegValue(const std::string& root, const std::string& key,
                             const std::string& name) {
  kw::RegKey k;
  LONG r = RegOpenKeyExA(Root(root), KeyPath(key).c_str(), 0, KEY_SET_VALUE, k.Out());
  if (r == ERROR_FILE_NOT_FOUND) return true;
  if (r != ERROR_SUCCESS) return false;
  r = RegDeleteValueA(k, name.c_str());
  return r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND;
}

bool WinHost::DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) {
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
  return RegDeleteKeyA(r, path.c_str()) == ERROR_SUCCESS;
}

void WinHost::DeleteUninstallEntry(const std::string& listPath) {
  std::string base = std::string(setup::kUninstallKey);
  base.pop_back();
  std::vector<std::string> ours;
  {
    kw::RegKey k;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, base.c_str(), 0, KEY_READ, k.Out()) != ERROR_SUCCESS)
      return;
    char name[MAX_PATH + 1];
    for (DWORD i = 0; RegEnumKeyA(k, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
      std::string command = ReadMachineString(base + "\\" + name, "UninstallString");
      std::string named = CommandListPath(command);
      if (!named.empty() && SameFile(named, listPath)) ours.emplace_back(name);
    }
  }
  for (const std::string& name : ours) {
    std::string key = base + "\\" + name;
    DeleteRegValue("HKEY_LOCAL_MACHINE", key, "UninstallString");
    DeleteRegValue("HKEY_LOCAL_MACHINE", key, "DisplayName");
    DeleteRegKeyIfEmpty("HKEY_LOCAL_MACHINE", key);
  }
}

}  // namespace qfunin
