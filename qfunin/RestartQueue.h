// Deletion at the next start of Windows, for files in use: Windows 95/98 read
// the [Rename] section of WININIT.INI (short names, files only); the NT family
// keeps MoveFileEx's delayed moves (files and empty folders).
#pragma once
#include <string>

namespace qfunin {

bool DeleteAtRestart(const std::string& path);

}  // namespace qfunin
