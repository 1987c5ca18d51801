// The entry of a Windows program. Entries are called with the stack only
// 4-byte aligned.
#include <windows.h>
#include <stdlib.h>

#include "toolkit/runtime/Runtime.h"

extern "C" __attribute__((force_align_arg_pointer)) void WinMainCRTStartup() {
  kwrt::Construct();
  STARTUPINFOA si;
  si.cb = sizeof si;
  GetStartupInfoA(&si);
  int show = si.dwFlags & STARTF_USESHOWWINDOW ? si.wShowWindow : SW_SHOWDEFAULT;
  exit(WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<char*>(kwrt::CommandTail()), show));
}
