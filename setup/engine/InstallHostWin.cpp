#include "setup/engine/InstallHostWin.h"

#include <shellapi.h>

#include "toolkit/Silent.h"

namespace setup {

int SystemInstallHost::ShowMessage(const std::string& text, const std::string& caption,
                                   unsigned flags) {
  return kw::MsgBox(owner_, text, caption.c_str(), flags);
}

void SystemInstallHost::ProcessMessages() { PumpMessages(); }
bool SystemInstallHost::RequestRestart() { return RequestSystemRestart(); }

void SystemInstallHost::ShellOpen(const std::string& file, const std::string& folder) {
  ShellExecuteA(owner_, "OPEN", file.c_str(), nullptr, folder.c_str(), SW_SHOWNORMAL);
}

void SystemInstallHost::BringToFront() { SetForegroundWindow(app_); }

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

namespace {

// Windows NT refuses ExitWindowsEx without SE_SHUTDOWN_NAME enabled in the
// process token; Windows 95/98 need nothing, and may lack the calls.
void EnableShutdownPrivilege() {
  HMODULE advapi = GetModuleHandleA("advapi32.dll");
  if (!advapi) advapi = LoadLibraryA("advapi32.dll");
  if (!advapi) return;
  using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
  using LookupValue = BOOL(WINAPI*)(LPCSTR, LPCSTR, PLUID);
  using Adjust = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
  auto open = reinterpret_cast<OpenToken>(
      reinterpret_cast<void*>(GetProcAddress(advapi, "OpenProcessToken")));
  auto lookup = reinterpret_cast<LookupValue>(
      reinterpret_cast<void*>(GetProcAddress(advapi, "LookupPrivilegeValueA")));
  auto adjust = reinterpret_cast<Adjust>(
      reinterpret_cast<void*>(GetProcAddress(advapi, "AdjustTokenPrivileges")));
  if (!open || !lookup || !adjust) return;
  HANDLE token = nullptr;
  if (!open(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (lookup(nullptr, "SeShutdownPrivilege", &tp.Privileges[0].Luid))
    adjust(token, FALSE, &tp, 0, nullptr, nullptr);
  CloseHandle(token);
}

}  // namespace

bool RequestSystemRestart() {
  EnableShutdownPrivilege();
  return ExitWindowsEx(EWX_REBOOT, 0) != FALSE;
}

}  // namespace setup
