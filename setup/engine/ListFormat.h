// The line format of the package list (setup.lst) and the installation list
// (setup.ini): loading, finding sections and reading their entries. No Windows
// API, so the format is tested and fuzzed natively.
#pragma once
#include "toolkit/Error.h"
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// Raised where a read passes the last line of a list.
struct ListIndexError : kw::Error {
  ListIndexError() : kw::Error("List index out of bounds") {}
};

// The list hands lines back through a 4096-byte buffer: longer lines are refused.
constexpr size_t kMaxListLine = 4095;

// Splits text into lines at CR LF, a lone CR or a lone LF; a NUL byte ends the
// text. Nothing is trimmed; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// Reads a whole file; throws kw::Error "Cannot open file %s".
std::string ReadFileText(const std::string& path);
// The lines of a whole file, split as SplitLines does.
std::vector<std::string> FileLines(const std::string& path);

// Section keywords of the package list and the installation list; a section
// runs from its keyword line to the first line that is exactly kEnd.
namespace section {
inline constexpr char kEnd[] = ":";
inline constexpr char kExtra[] = ":EXTRA";
inline constexpr char kPackage[] = ":PACKAGE";
inline constexpr char kNotRunning[] = ":NOTRUNNING";
inline constexpr char kSysBackup[] = ":SYSBACKUP";
inline constexpr char kUninstall[] = ":UNINSTALL";
inline constexpr char kRemoveFiles[] = ":REMOVEFILES";
inline constexpr char kInstall[] = ":INSTALL";
inline constexpr char kWin[] = ":WIN";
inline constexpr char kSystem[] = ":SYSTEM";
inline constexpr char kShortcuts[] = ":SHORTCUTS";
inline constexpr char kRunFile[] = ":RUNFILE";
inline constexpr char kReg[] = ":reg";
inline constexpr char kDink[] = ":DINK";
inline constexpr char kReboot[] = ":REBOOT";
}  // namespace section

inline bool IsTerminator(std::string_view line) { return line == section::kEnd; }

// An ordered list of lines addressed by zero-based index (the wizard's lbSetup).
class LineList {
 public:
  LineList() = default;
  explicit LineList(std::vector<std::string> lines);

  // Replaces the contents with the lines of the text. A line longer than
  // kMaxListLine is refused: kw::Error naming the line (and source).
  void LoadText(std::string_view text, std::string_view source = {});
  void LoadFile(const std::string& path);

  size_t Count() const { return lines_.size(); }
  // Line i; ListIndexError when there is none.
  const std::string& At(size_t i) const;
  const std::vector<std::string>& Lines() const { return lines_; }
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }

  // Index of the first line equal to the keyword ignoring letter case, or -1.
  int Find(std::string_view keyword) const;
  bool Has(std::string_view keyword) const { return Find(keyword) >= 0; }

  // Entries of a list section whose keyword stands at k: the lines after it up
  // to the first line that is exactly ":". ListIndexError without one.
  std::vector<std::string> ListEntries(int k) const;
  // The same, found by keyword; empty when the section is absent.
  std::vector<std::string> ListSection(std::string_view keyword) const;

  // The groups of a group section whose keyword stands at k, `size` lines
  // each, every group handed to visit (as a span of its lines) before the
  // next is read. The line after each group is tested for the terminator, so
  // the first group is always read. ListIndexError where a read passes the
  // last line, after the groups before it were visited.
  template <class Visit>
  void ForEachGroup(int k, size_t size, Visit&& visit) const {
    size_t i = size_t(k) + 1;
    do {
      if (i + size > lines_.size()) throw ListIndexError();
      visit(std::span<const std::string>(lines_.data() + i, size));
      i += size;
    } while (!IsTerminator(At(i)));
  }

 private:
  std::vector<std::string> lines_;
};

// A :REMOVEFILES entry with its path macros expanded: "<WINDIR>" by the Windows
// folder (no trailing backslash), then "<INSTALL>" by DestDir without trailing
// backslash and one backslash.
std::string ExpandRemovePath(std::string_view entry, std::string_view windowsFolder,
                             std::string_view destDir);

// A copy entry of :INSTALL, :WIN or :SYSTEM.
struct CopyEntry {
  bool keep = false;    // leading "*": copy only when the target does not exist
  std::string source;   // name relative to PackageDir (star removed)
  std::string target;   // name in the target folder (".ex_" installed as ".exe")
};
CopyEntry ParseCopyEntry(std::string_view line);

}  // namespace setup
