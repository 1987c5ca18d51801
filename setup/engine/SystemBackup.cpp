#include "setup/engine/SystemBackup.h"

#include <windows.h>

#include "setup/engine/Folders.h"

namespace setup {

void BackUpSystemFile(const std::string& file, const std::string& backup) {
  if (!FileExists(file)) return;
  DWORD old = GetFileAttributesA(backup.c_str());
  const DWORD kProtect = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if (old != INVALID_FILE_ATTRIBUTES && (old & kProtect)) SetArchiveOnly(backup);
  if (CopyFileA(file.c_str(), backup.c_str(), FALSE)) SetArchiveOnly(backup);
}

}  // namespace setup
