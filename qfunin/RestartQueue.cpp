#include "qfunin/RestartQueue.h"

#include <windows.h>

#include "qfunin/WininitText.h"
#include "toolkit/Handle.h"
#include "toolkit/NextBoot.h"
#include "toolkit/PathText.h"
#include "toolkit/SwapIn.h"

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
  // WININIT.QFN in, the old text stepping aside as WININIT.QFO on 95/98.
  bool Swap(const std::string& from, const std::string& to) override {
    return kw::SwapIn(from, to, kw::ExtractFilePath(from) + kw::kWininitAside);
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
  // A swap a power cut left half done is finished first, so that the text the
  // next start carries out holds what every program queued.
  kw::FinishWininitSwap(windows);
  Win32IniFiles files;
  return QueueWininitDelete(files, windows, shortPath);
}

}  // namespace

bool DeleteAtRestart(const std::string& path) {
  return kw::IsNtFamily() ? kw::DelayedMove(path, "", 0) : WininitDelete(path);
}

}  // namespace qfunin
