#include "toolkit/SwapIn.h"

#include <windows.h>

#include "toolkit/Handle.h"
#include "toolkit/NextBoot.h"

namespace kw {

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

bool SwapIn(const std::string& beside, const std::string& target, const std::string& aside) {
  {
    // Its bytes reach the disk before any name changes: after a power cut a
    // moved-in file is whole.
    FileHandle f(CreateFileA(beside.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.ok() || !FlushFileBuffers(f.get())) return false;
  }
  if (MoveEx(beside, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  if (!Exists(target)) return MoveFileA(beside.c_str(), target.c_str()) != FALSE;
  SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(aside.c_str());
  if (!MoveFileA(target.c_str(), aside.c_str())) return false;
  if (!MoveFileA(beside.c_str(), target.c_str())) {
    MoveFileA(aside.c_str(), target.c_str());
    return false;
  }
  SetFileAttributesA(aside.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(aside.c_str());
  return true;
}

void FinishSwap(const std::string& beside, const std::string& target, const std::string& aside) {
  if (Exists(target) || !Exists(aside)) return;
  if (Exists(beside) && MoveFileA(beside.c_str(), target.c_str())) {
    DeleteFileA(aside.c_str());
    return;
  }
  MoveFileA(aside.c_str(), target.c_str());
}

void FinishWininitSwap(const std::string& windowsDir) {
  std::string dir = windowsDir;
  if (dir.empty() || dir.back() != '\\') dir += '\\';
  FinishSwap(dir + kWininitBeside, dir + "WININIT.INI", dir + kWininitAside);
}

}  // namespace kw
