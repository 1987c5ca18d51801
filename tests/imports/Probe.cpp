// A program for the import check to refuse: built the compiler's usual way it
// imports MSVCRT.DLL (malloc, the start-up code); with LATER_DLLS it asks for
// functions of COMCTL32, SHELL32 and SHLWAPI that Windows 95 lacks.
#include <windows.h>
#include <stdlib.h>

#ifdef LATER_DLLS
extern "C" {
BOOL WINAPI InitCommonControlsEx(const void*);
BOOL WINAPI SHGetSpecialFolderPathA(HWND, LPSTR, int, BOOL);
BOOL WINAPI PathFileExistsA(LPCSTR);
}
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  void* p = malloc(16);
  free(p);
#ifdef LATER_DLLS
  char path[MAX_PATH];
  InitCommonControlsEx(nullptr);
  SHGetSpecialFolderPathA(nullptr, path, 0, FALSE);
  return PathFileExistsA(path);
#else
  return p != nullptr;
#endif
}
