// The install engine's arithmetic and names, kept apart from the Windows calls:
// step count, progress, backup extension and names, copy targets and the names
// used for a replacement at the next restart.
#pragma once
#include <string>
#include <string_view>
#include <vector>

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
  std::string next;    // the waiting copy, extension ".MQF"
  std::string backup;  // where the old file goes, extension ".BAK"
};
// The n-th choice of names beside the target: n = 0 is the target's own name,
// later ones end the name in n, cut so that a name of up to eight characters
// stays within eight (the names made from a short path stay short).
Replacement ReplacementNames(std::string_view target, int n = 0);

// What a failed copy onto the target means, from the system's error code and
// the target's attributes (kNoAttributes when it has none): a starred entry's
// existing file is kept; a read-only target is cleared and copied again; only
// a file that is in use or locked waits for the next start.
enum class CopyFailure { Kept, ReadOnly, InUse, Failed };
inline constexpr unsigned long kNoAttributes = 0xFFFFFFFFul;
CopyFailure ClassifyCopyFailure(bool keep, unsigned long error, unsigned long attrs);

inline std::string WininitPath(std::string_view windowsFolder) {
  return std::string(windowsFolder) + "\\WININIT.INI";
}

// Texts of the engine's closing message boxes.
inline constexpr const char* kRestartText = "Installation must reboot your computer.";
inline constexpr const char* kCompleteText = "Installation is complete";
std::string RunNowQuestion(std::string_view programName);

// The warning (captioned kSetupCaption) before the closing question when
// entries were neither copied nor queued: the first kIncompleteShown of them,
// then how many more.
inline constexpr const char* kSetupCaption = "Setup";
inline constexpr size_t kIncompleteShown = 20;
std::string IncompleteText(const std::vector<std::string>& failed);

inline constexpr const char* kRestartRefusedText =
    "Windows could not be restarted. Please restart Windows to finish the installation.";

// A path as one argument of a command line: in double quotes; QuoteIfBlank
// only when it holds a blank.
std::string Quote(std::string_view path);
std::string QuoteIfBlank(std::string_view path);

}  // namespace setup
