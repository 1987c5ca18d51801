// The sample package's program: proves it was installed and started by
// writing ran.txt beside itself, holding the folder it was started in.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH], cwd[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (n > 0 && path[n - 1] != '\\') --n;
  lstrcpyA(path + n, "ran.txt");
  DWORD len = GetCurrentDirectoryA(MAX_PATH, cwd);
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written;
  WriteFile(f, cwd, len, &written, nullptr);
  CloseHandle(f);
  return 0;
}
