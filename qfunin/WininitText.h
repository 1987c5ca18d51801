// The [Rename] section of WININIT.INI, which Windows 95/98 carries out at the
// next start: "NUL=path" deletes the file. No Windows API here.
#pragma once
#include <string>
#include <string_view>

namespace qfunin {

// The file's text with "NUL=<path>" added as the last line of its [Rename]
// section (made at the end when there is none). Several deletions all stay:
// WritePrivateProfileString would replace the one NUL key instead.
std::string AddWininitDelete(std::string_view ini, std::string_view shortPath);

// The few file calls that update WININIT.INI; RestartQueue makes them over Win32.
class IniFiles {
 public:
  virtual ~IniFiles() = default;
  // False when the file exists but cannot be read whole; a missing one reads empty.
  virtual bool Read(const std::string& path, std::string& text) = 0;
  // Creates or replaces the file with exactly this text; false on a short write.
  virtual bool Write(const std::string& path, const std::string& text) = 0;
  // Puts `from` in the place of `to`, which may exist.
  virtual bool Swap(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
};

// Adds "NUL=<shortPath>" to WININIT.INI in `windowsDir`. The new text is
// written whole beside the file and then swapped in: a short write or a power
// cut leaves the renames other programs queued, where rewriting in place
// would lose them.
bool QueueWininitDelete(IniFiles& files, const std::string& windowsDir, const std::string& shortPath);

}  // namespace qfunin
