// Backup of one DOS start-up file into the Windows folder (Windows only).
#pragma once
#include <string>

namespace setup {

// Copies file over backup when file exists. The user's file keeps its
// attributes; the backup gets the archive attribute alone, and an older backup
// that is read-only, hidden or system is cleared first so it can be replaced.
// Failures are silent.
void BackUpSystemFile(const std::string& file, const std::string& backup);

}  // namespace setup
