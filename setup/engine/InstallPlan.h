// The install engine's arithmetic and names, kept apart from the Windows calls:
// step count, progress, backup extension and names, copy targets and the names
// used for a replacement at the next restart.
#pragma once
#include <string>
#include <string_view>

#include "setup/engine/ListFormat.h"

namespace setup {

// Percent shown on the bar: done / total x 100 in extended precision, truncated.
int ProgressPercent(int done, int total);

// 3, plus entries + 1 for each of :INSTALL, :WIN and :SYSTEM that is present.
// ListIndexError for a copy section without its ":" line.
int CountSteps(const LineList& list);

// The line after :SYSBACKUP; "QFS" when there is none or it holds a colon.
std::string BackupExtension(const LineList& list);

// The DOS start-up files and the names of their backups in the Windows folder.
struct SystemFile {
  const char* path;        // on drive C
  const char* backupBase;  // "\MSDOS." etc., the extension follows
};
inline constexpr SystemFile kSystemFiles[3] = {
    {"C:\\MSDOS.SYS", "\\MSDOS."}, {"C:\\CONFIG.SYS", "\\CONFIG."}, {"C:\\AUTOEXEC.BAT", "\\AUTOEXEC."}};

enum class TargetFolder { Dest, Windows, System };

// Where an entry of a copy section is installed: T + "\" + name for DestDir and
// the Windows folder, the Windows folder + "\System\" + name for System.
std::string CopyTargetPath(TargetFolder folder, std::string_view destDir,
                           std::string_view windowsFolder, std::string_view name);

// A file in use is copied beside itself under .MQF and the old one goes to .BAK
// at the next restart.
struct Replacement {
  std::string next;    // the target with extension ".MQF"
  std::string backup;  // the target with extension ".BAK"
};
Replacement ReplacementNames(std::string_view target);

inline std::string WininitPath(std::string_view windowsFolder) {
  return std::string(windowsFolder) + "\\WININIT.INI";
}

// Texts of the engine's closing message boxes.
inline constexpr const char* kRestartText = "Installation must reboot your computer.";
inline constexpr const char* kCompleteText = "Installation is complete";
std::string RunNowQuestion(std::string_view programName);

}  // namespace setup
