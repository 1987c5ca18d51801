#include "qfunin/RestartQueue.h"

#include <windows.h>

#include "qfunin/WininitText.h"
#include "toolkit/Handle.h"
#include "toolkit/NextBoot.h"
#include "toolkit/PathText.h"

namespace qfunin {

namespace {

// False when the file exists but cannot be read whole: writing it anew would
// lose the renames already queued in it.
bool ReadAll(const std::string& path, std::string& text) {
  kw::FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f.ok()) return GetLastError() == ERROR_FILE_NOT_FOUND;
  char buf[4096];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(f.get(), buf, sizeof buf, &got, nullptr)) return false;
    if (got == 0) return true;
    text.append(buf, got);
  }
}

bool WriteAll(const std::string& path, const std::string& text) {
  kw::FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                     nullptr));
  DWORD put = 0;
  return f.ok() && WriteFile(f.get(), text.data(), DWORD(text.size()), &put, nullptr) &&
         put == text.size();
}

bool WininitDelete(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return false;
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n == 0 || n >= sizeof shortPath) return false;
  char windows[MAX_PATH];
  UINT w = GetWindowsDirectoryA(windows, sizeof windows);
  if (w == 0 || w >= sizeof windows) return false;
  std::string ini = std::string(windows) + (kw::EndsWithChar(windows, '\\') ? "" : "\\") + "WININIT.INI";
  std::string text;
  return ReadAll(ini, text) && WriteAll(ini, AddWininitDelete(text, shortPath));
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  return kw::IsNtFamily() ? kw::DelayedMove(path, "", 0) : WininitDelete(path);
}

}  // namespace qfunin
