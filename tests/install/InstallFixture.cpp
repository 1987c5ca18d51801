#include "InstallFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "setup/engine/Folders.h"

namespace setup::test {

int TestHost::ShowMessage(const std::string& text, const std::string& caption, unsigned flags) {
  log.push_back("message " + caption + ": " + text + " (" + std::to_string(flags) + ")");
  if (answers.empty()) return 0;
  int a = answers.front();
  answers.pop_front();
  return a;
}

std::vector<std::string> TestHost::Messages() const {
  std::vector<std::string> out;
  for (const std::string& line : log)
    if (line.rfind("message ", 0) == 0) out.push_back(line.substr(8));
  return out;
}

bool TestHost::Logged(const std::string& line) const {
  return std::find(log.begin(), log.end(), line) != log.end();
}

void WriteText(const std::string& path, const std::string& text, DWORD attrs) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  if (attrs) SetFileAttributesA(path.c_str(), attrs);
}

std::string ReadText(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "<missing>";
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

DWORD Attrs(const std::string& path) { return GetFileAttributesA(path.c_str()); }
bool Exists(const std::string& path) { return Attrs(path) != INVALID_FILE_ATTRIBUTES; }

void Remove(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
}

std::string TempRoot(const char* name) {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  std::string root = StripBackslash(buf) + "\\" + name;
  RemoveFolderTree(root);
  ForceFolders(root);
  return root;
}

std::string ProbeExe() {
  const char* bin = std::getenv("KW_BIN");
  return std::string(bin ? bin : "") + "\\tests\\execfile\\kw_probe.exe";
}

bool AwaitFile(const std::string& path, int ms) {
  for (int waited = 0; waited < ms; waited += 50) {
    if (Exists(path)) return true;
    Sleep(50);
  }
  return Exists(path);
}

std::string RegString(HKEY root, const std::string& key, const std::string& name) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "<no key>";
  char buf[1024] = {};
  DWORD size = sizeof buf - 1, type = 0;
  LONG r = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(h);
  return r == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : "<no value>";
}

DWORD RegNumber(HKEY root, const std::string& key, const std::string& name) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return 0xFFFFFFFF;
  DWORD v = 0xFFFFFFFF, size = sizeof v, type = 0;
  LONG r = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&v), &size);
  RegCloseKey(h);
  return r == ERROR_SUCCESS && type == REG_DWORD ? v : 0xFFFFFFFF;
}

bool RegKeyExists(HKEY root, const std::string& key) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void RegSetString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value) {
  HKEY h;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 DWORD(value.size() + 1));
  RegCloseKey(h);
}

void RegDeleteTree(HKEY root, const std::string& key) {
  HKEY h;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS, &h) == ERROR_SUCCESS) {
    char name[256];
    while (RegEnumKeyA(h, 0, name, sizeof name) == ERROR_SUCCESS) RegDeleteTree(h, name);
    RegCloseKey(h);
  }
  RegDeleteKeyA(root, key.c_str());
}

}  // namespace setup::test
