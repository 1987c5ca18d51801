#include "toolkit/NextBoot.h"

#include <windows.h>

namespace kw {

bool IsNtFamily() { return (GetVersion() & 0x80000000u) == 0; }

bool MoveEx(const std::string& from, const std::string& to, unsigned long flags) {
  using MoveFileExFn = BOOL(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (!kernel) return false;
  auto move = reinterpret_cast<MoveFileExFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "MoveFileExA")));
  return move && move(from.c_str(), to.empty() ? nullptr : to.c_str(), flags);
}

bool DelayedMove(const std::string& from, const std::string& to, unsigned long flags) {
  return MoveEx(from, to, flags | MOVEFILE_DELAY_UNTIL_REBOOT);
}

std::string ShortPath(const std::string& path) {
  char buf[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : path;
}

}  // namespace kw
