#include "InstallFixture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <objbase.h>

#include "setup/engine/Folders.h"
#include "setup/engine/Install.h"

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

namespace {
const char* kShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
}

void InstallTest::SetUp() {
  CoInitialize(nullptr);
  RebootNeeded = false;
  RunAtEnd = true;
  win = GetWindowsFolder();
  root = TempRoot(("kwinst" + std::to_string(GetCurrentProcessId())).c_str());
  pkg = root + "\\pkg";
  ForceFolders(pkg);
  programsBefore = RegString(HKEY_CURRENT_USER, kShellFolders, "Programs");
  RegSetString(HKEY_CURRENT_USER, kShellFolders, "Programs", root + "\\Programs");
  state.PackageDir = pkg;
  state.ProgramName = "KwApp";
  state.StartMenuFolder = "KwApp Menu";
  exec.Wait = true;
}

void InstallTest::TearDown() {
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  for (const std::string& f : shared) Remove(f);
  if (madeSystem) RemoveDirectoryA((win + "\\System").c_str());
  for (const auto& [rootKey, key] : sharedKeys) RegDeleteTree(rootKey, key);
  if (programsBefore.front() != '<')
    RegSetString(HKEY_CURRENT_USER, kShellFolders, "Programs", programsBefore);
  RemoveFolderTree(root);
  CoUninitialize();
}

void InstallTest::Package(const std::string& name, const std::string& text) {
  WriteText(pkg + "\\" + name, text);
}

void InstallTest::NeedSystemFolder() {
  madeSystem = !FolderExists(win + "\\System");
  ForceFolders(win + "\\System");
}

void InstallTest::Run() { RunInstall(state, host, exec, link); }

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

namespace {
const char* kSessionManager = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
}

std::vector<std::string> PendingMoves() {
  std::vector<std::string> out;
  HKEY h;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &h) != ERROR_SUCCESS)
    return out;
  std::vector<char> buf(65536);
  DWORD size = DWORD(buf.size() - 2), type = 0;
  LONG r = RegQueryValueExA(h, "PendingFileRenameOperations", nullptr, &type,
                            reinterpret_cast<BYTE*>(buf.data()), &size);
  RegCloseKey(h);
  if (r != ERROR_SUCCESS) return out;
  // Each string ends in a NUL, the list in one more; an empty destination
  // (a delete) is an empty string, so the pairs are counted, not split at "".
  for (size_t i = 0; i + 1 < size;) {
    std::string s(buf.data() + i);
    out.push_back(s);
    i += s.size() + 1;
  }
  return out;
}

void ClearPendingMoves() {
  HKEY h;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS)
    return;
  RegDeleteValueA(h, "PendingFileRenameOperations");
  RegCloseKey(h);
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
