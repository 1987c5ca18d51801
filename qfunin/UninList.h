// The uninstall list (unin.ini) as the installer writes it, read and checked
// before anything is removed. No Windows API here.
//
//   program name
//   destination folder
//   installed file ...            (full paths)
//   shortcut ...                  (full paths without extension)
//   +Start Menu folder            (when there were shortcuts)
//   (empty line)
//   :reg                          (optional: root, key, value name, data per
//   ...                            value, closed by ":")
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace qfunin {

struct RegValue {
  std::string root, key, name, data;
};

struct UninList {
  std::string programName;
  std::string destDir;
  std::vector<std::string> files;      // lines before the "+" line not in the menu folder
  std::vector<std::string> shortcuts;  // lines inside the menu folder
  std::string menuFolder;              // empty without a "+" line
  std::vector<RegValue> values;
};

// Lists larger than this are no list this program wrote.
constexpr size_t kMaxListBytes = 4u << 20;

// Reads the list's bytes. Returns an empty text and fills `out`, or the
// reason the bytes are not an uninstall list.
std::string ParseUninList(std::string_view bytes, UninList& out);

// The folders of this system that are never removed and bound where list
// lines may point.
struct Places {
  std::string windows;       // the Windows folder
  std::string system;        // the Windows folder + "\System"
  std::string systemDir;     // the system's own system folder (System32 on NT)
  std::string programs;      // the Start Menu Programs folder, may be empty
  std::string programFiles;  // the system's program files folder, may be empty
  std::string commonPrograms = {};  // all users' Programs folder (NT family), may be empty
  // Other users' Programs folders: a list written by another user names one.
  std::vector<std::string> otherPrograms = {};
};

// Other users' Programs folders: the part of `programs` below the profile
// folder that holds it, below each other profile folder.
std::vector<std::string> OtherProgramsFolders(std::string_view programs, const std::vector<std::string>& profiles);

// Never removed, even when empty: a drive root, any of the Places, any folder
// that holds one of them, "X:\Program Files" on any drive.
bool IsProtectedFolder(std::string_view folder, const Places& places);

// A Start Menu folder a list may name: a Programs folder (the user's, all
// users', the Windows folder's own tree) or a folder inside one.
bool InStartMenu(std::string_view folder, const Places& places);

// Checks every line against the places before anything is removed: the
// destination an absolute, clean folder or a drive root; each installed file
// below it or below the Windows folder; the Start Menu folder in the Start
// Menu and each shortcut below it. Returns the offending line's text in a
// sentence, or empty.
std::string CheckUninList(const UninList& list, const Places& places);

// Gives the list's clean paths and the places in the system's own long
// spelling ("C:\PROGRA~1" is "C:\Program Files"), so that the checks and the
// shared-file test compare like with like; lines are sorted into files and
// shortcuts anew. `longPath` resolves what exists and keeps the rest.
using LongPathFn = std::string (*)(const std::string& path);
void UseLongForms(UninList& list, Places& places, LongPathFn longPath);

// The list path from the program's command line: in double quotes or not.
std::string ListPathArgument(std::string_view args);

struct UninstallArguments {
  bool silent = false;  // /S: no question, no window, shared files kept
  std::string log;      // /LOG=<file>: what was done, line by line
  std::string list;
};
// The command line: the list path with /S and /LOG=<file> (letter case
// ignored, the file quoted when it has blanks) before or after it, so that
// they can be put either side of an entry's command.
UninstallArguments ParseUninstallArguments(std::string_view args);

}  // namespace qfunin
