// unpackrun ARCHIVE [FOLDER]: UNPACK32.DLL from the command line, with stored
// folders kept and files replaced (benchmark, by-hand checks). Prints the time
// spent inside the DLL, which leaves Wine's start-up out of the comparison.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "unpack/UnzipApi.h"

static int32_t UNZIP_API Report(UnzipReport* r) {
  if (r->Action == kActMessage) std::fputs(r->Text, stderr);
  return 0;
}

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: unpackrun ARCHIVE [FOLDER]\n", stderr);
    return 10;
  }
  char name[kUnzipNameBuffer];
  if (!GetFullPathNameA(argv[1], sizeof name, name, nullptr)) return 9;
  if (argc > 2 && !SetCurrentDirectoryA(argv[2])) return 9;
  auto req = std::make_unique<UnzipRequest>();
  req->Version = kUnzipVersion;
  req->Callback = Report;
  req->Reserved40 = 1;
  req->DirNamesFlag = 1;
  req->OverwriteFlag = 1;
  req->ZipName = name;
  req->CheckWord = kUnzipCheckWord;
  const DWORD start = GetTickCount();
  const int32_t rc = UnzipExtract(req.get());
  std::printf("unpackrun: %lu ms in the DLL\n", static_cast<unsigned long>(GetTickCount() - start));
  return rc;
}
