// setup.exe's command line: /S, /D=<folder>, /G=<name>, /LOG=<file>. No
// Windows API here.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace setup {

struct SetupSwitches {
  bool silent = false;               // /S: no window, every question its safe answer
  std::optional<std::string> dest;   // /D=: the destination folder, a full path
  std::optional<std::string> group;  // /G=: the Start Menu folder's name
  std::optional<std::string> log;    // /LOG=: the log file
  std::string fault;                 // why the line is refused; empty when it is not
};

// Switch names ignore letter case; a later switch overrides an earlier one.
// /D= takes the rest of the line (blanks included, or one quoted folder), so
// it must come last.
SetupSwitches ParseSetupSwitches(std::string_view line);

// A folder the installer can install into: a drive and its root ("C:\...") or
// a network share ("\\server\share..."), with no character a name may not hold.
bool IsFullFolderPath(std::string_view path);

// What is wrong with a folder path, for both the /D= switch and the folders
// page. Strict (the page): a drive only, and no name ending in a dot or blank,
// as the system drops those and the folder would not be the one shown.
enum class FolderFault { kNone, kNotFull, kRoot, kBadName, kBadChar };
FolderFault CheckFolderPath(std::string_view path, bool strict);

}  // namespace setup
