// unpack_host ARCHIVE FOLDER: UNPACK32.DLL's result as the exit code. Imports
// KERNEL32 and UNPACK32.DLL only, so it runs where no C runtime DLL loads.
#include <windows.h>

#include "unpack/UnzipApi.h"

namespace {
int32_t UNZIP_API Report(UnzipReport* r) {
  if (r->Action == kActMessage) {
    DWORD n;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), r->Text, lstrlenA(r->Text), &n, nullptr);
  }
  return 0;
}
UnzipRequest request;
}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 10;
  char name[kUnzipNameBuffer];
  if (!GetFullPathNameA(argv[1], sizeof name, name, nullptr) || !SetCurrentDirectoryA(argv[2])) return 9;
  request.Version = kUnzipVersion;
  request.Callback = Report;
  request.Reserved40 = 1;
  request.DirNamesFlag = 1;
  request.OverwriteFlag = 1;
  request.ZipName = name;
  request.CheckWord = kUnzipCheckWord;
  return UnzipExtract(&request);
}
