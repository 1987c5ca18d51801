#include "qfunin/RestartQueue.h"

#include <windows.h>

#include "qfunin/WininitText.h"
#include "toolkit/Handle.h"
#include "toolkit/NextBoot.h"
#include "toolkit/PathText.h"

namespace qfunin {

namespace {

class Win32IniFiles : public IniFiles {
 public:
  bool Read(const std::string& path, std::string& text) override {
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
  bool Write(const std::string& path, const std::string& text) override {
    kw::FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                 nullptr));
    DWORD put = 0;
    return f.ok() && WriteFile(f.get(), text.data(), DWORD(text.size()), &put, nullptr) &&
           put == text.size() && FlushFileBuffers(f.get());
  }
  // One replacing move where the kernel has it (NT family); Windows 95/98 have
  // only the stub, so the old file steps aside first and comes back on failure.
  bool Swap(const std::string& from, const std::string& to) override {
    using MoveEx = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto moveEx = reinterpret_cast<MoveEx>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "MoveFileExA")));
    if (moveEx && moveEx(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return true;
    if (GetFileAttributesA(to.c_str()) == INVALID_FILE_ATTRIBUTES) return MoveFileA(from.c_str(), to.c_str());
    std::string aside = from.substr(0, from.size() - 1) + "O";
    DeleteFileA(aside.c_str());
    if (!MoveFileA(to.c_str(), aside.c_str())) return false;
    if (!MoveFileA(from.c_str(), to.c_str())) {
      MoveFileA(aside.c_str(), to.c_str());
      return false;
    }
    DeleteFileA(aside.c_str());
    return true;
  }
  void Remove(const std::string& path) override { DeleteFileA(path.c_str()); }
};

bool WininitDelete(const std::string& path) {
  DWORD attr = GetFileAttributesA(path.c_str());
  if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) return false;
  char shortPath[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), shortPath, sizeof shortPath);
  if (n == 0 || n >= sizeof shortPath) return false;
  char windows[MAX_PATH];
  UINT w = GetWindowsDirectoryA(windows, sizeof windows);
  if (w == 0 || w >= sizeof windows) return false;
  Win32IniFiles files;
  return QueueWininitDelete(files, windows, shortPath);
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  return kw::IsNtFamily() ? kw::DelayedMove(path, "", 0) : WininitDelete(path);
}

}  // namespace qfunin
