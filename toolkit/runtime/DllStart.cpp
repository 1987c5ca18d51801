// The entry of a DLL: static objects built on load, destroyed on unload.
#include <windows.h>

#include "toolkit/runtime/Runtime.h"

// Weak: a DLL need not have one. (The runtime is searched before the
// program's own files, so a default in it would clash with theirs.)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) __attribute__((weak));

extern "C" __attribute__((force_align_arg_pointer)) BOOL WINAPI DllMainCRTStartup(HINSTANCE module,
                                                                                 DWORD reason,
                                                                                 LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) kwrt::Construct();
  BOOL ok = DllMain ? DllMain(module, reason, reserved) : TRUE;
  if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !ok)) kwrt::RunExitList();
  return ok;
}
