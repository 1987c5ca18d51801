// The sample package's program: proves it was installed and started by
// writing ran.txt beside itself, holding the folder it was started in. Written
// under another name and renamed, so that ran.txt is whole once it exists.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH], tmp[MAX_PATH], cwd[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (n > 0 && path[n - 1] != '\\') --n;
  lstrcpyA(path + n, "ran.txt");
  lstrcpyA(tmp, path);
  lstrcpyA(tmp + n, "ran.tmp");
  DWORD len = GetCurrentDirectoryA(MAX_PATH, cwd);
  HANDLE f = CreateFileA(tmp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written;
  BOOL ok = WriteFile(f, cwd, len, &written, nullptr) && written == len;
  CloseHandle(f);
  if (!ok || !MoveFileExA(tmp, path, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileA(tmp);
    return 1;
  }
  return 0;
}
