// Registry routines: one fresh key handle per operation, closed on every path.
#include "setup/engine/Registry.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

#include "setup/engine/Folders.h"
#include "setup/engine/RegText.h"
#include "toolkit/RegKey.h"

namespace setup {

namespace {

const HKEY kRoots[] = {HKEY_CLASSES_ROOT,     HKEY_CURRENT_USER,   HKEY_LOCAL_MACHINE,
                       HKEY_USERS,            HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
                       HKEY_DYN_DATA};

using kw::RegKey;

HKEY Root(const std::string& name) {
  int i = RootKeyIndex(name);
  return i < 0 ? nullptr : kRoots[i];
}

// Opens (creating it and its parents) for writing; false when that fails.
bool OpenToWrite(const std::string& root, const std::string& key, RegKey& out) {
  HKEY r = Root(root);
  std::string rel(RelativeKeyPath(key));
  return r && RegCreateKeyExA(r, rel.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, nullptr, out.Out(), nullptr) == ERROR_SUCCESS;
}

bool OpenToRead(const std::string& root, const std::string& key, RegKey& out) {
  HKEY r = Root(root);
  std::string rel(RelativeKeyPath(key));
  return r && RegOpenKeyExA(r, rel.c_str(), 0, KEY_READ, out.Out()) == ERROR_SUCCESS;
}

std::string ReadString(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      size == 0)
    return {};
  std::vector<char> buf(size + 1);
  DWORD got = size;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                       &got) != ERROR_SUCCESS)
    throw kw::Error("Failed to get data for '" + name + "'");
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw kw::Error("Invalid data type for '" + name + "'");
  buf[got < size ? got : size] = '\0';
  return std::string(buf.data());
}

void SetValue(HKEY key, const std::string& name, DWORD type, const void* data, DWORD size) {
  if (RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size) !=
      ERROR_SUCCESS)
    throw kw::Error("Failed to set data for '" + name + "'");
}

void SetString(HKEY key, const std::string& name, const std::string& data) {
  SetValue(key, name, REG_SZ, data.c_str(), DWORD(data.size() + 1));
}

// RegDeleteKey leaves keys with subkeys in place on NT, so the subkeys go
// first; the names are collected before any deletion shifts the enumeration.
void DeleteTree(HKEY parent, const std::string& sub) {
  RegKey key;
  if (RegOpenKeyExA(parent, sub.c_str(), 0, KEY_READ | KEY_WRITE, key.Out()) == ERROR_SUCCESS) {
    std::vector<std::string> children;
    char name[MAX_PATH + 1];
    for (DWORD i = 0; RegEnumKeyA(key.get(), i, name, sizeof name) == ERROR_SUCCESS; ++i)
      children.emplace_back(name);
    for (const std::string& child : children) DeleteTree(key.get(), child);
  }
  RegDeleteKeyA(parent, sub.c_str());
}

}  // namespace

void WriteRegValue(const std::string& root, const std::string& key, const std::string& name,
                   const std::string& data) {
  RegKey k;
  if (!data.empty() && data.front() == '#') {
    std::string text = NumberText(data);
    if (!OpenToWrite(root, key, k)) return;
    std::optional<int32_t> n = StrToInt(text);
    if (!n) throw kw::Error("'" + text + "' is not a valid integer value");
    DWORD v = DWORD(*n);
    SetValue(k.get(), name, REG_DWORD, &v, sizeof v);
    return;
  }
  if (!OpenToWrite(root, key, k)) return;
  if (name == "PrimaryProvider") {
    // Keep the provider that was primary before, unless already kept or reinstalled.
    std::string old = ReadString(k.get(), "PrimaryProvider");
    std::string previous = ReadString(k.get(), "PreviousProvider");
    if (old != previous && old != data) SetString(k.get(), "PreviousProvider", old);
  }
  SetString(k.get(), name, data);
}

void WriteRegString(const std::string& root, const std::string& key, const std::string& name,
                    const std::string& data) {
  RegKey k;
  if (OpenToWrite(root, key, k)) SetString(k.get(), name, data);
}

std::string ReadRegString(const std::string& root, const std::string& key,
                          const std::string& name) {
  RegKey k;
  return OpenToRead(root, key, k) ? ReadString(k.get(), name) : std::string();
}

void DeleteRegKey(const std::string& root, const std::string& key) {
  HKEY r = Root(root);
  std::string rel(RelativeKeyPath(key));
  // An empty path would name the root itself and empty it: never.
  if (!r || rel.empty()) return;
  DeleteTree(r, rel);
}

std::string GetProgramsFolder() {
  return ReadRegString("HKEY_CURRENT_USER",
                       "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                       "Programs");
}

std::string StartMenuProgramsFolder() {
  std::string programs = GetProgramsFolder();
  // Without a recorded folder a path from the drive's root would result.
  return programs.empty() ? GetWindowsFolder() + "\\Start Menu\\Programs" : programs;
}

}  // namespace setup
