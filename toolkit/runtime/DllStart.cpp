// The entry of a DLL: static objects built on load, destroyed on unload.
#include <windows.h>

#include "toolkit/runtime/Runtime.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID);

extern "C" __attribute__((force_align_arg_pointer)) BOOL WINAPI DllMainCRTStartup(HINSTANCE module,
                                                                                 DWORD reason,
                                                                                 LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) kwrt::Construct();
  BOOL ok = DllMain(module, reason, reserved);
  if (reason == DLL_PROCESS_DETACH || (reason == DLL_PROCESS_ATTACH && !ok)) kwrt::RunExitList();
  return ok;
}
