#include "mksetup/IniCheck.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>

#include "setup/engine/ListFormat.h"
#include "toolkit/PathText.h"

namespace mksetup {

namespace {

enum class Kind { kList, kGroup, kFixed, kMarker };
struct Section {
  const char* keyword;
  Kind kind;
  int lines;  // lines of a group or of a fixed section
  const char* shape;
};
const Section kSections[] = {
    {":NOTRUNNING", Kind::kFixed, 1, "window class, a comma, window title"},
    {":SYSBACKUP", Kind::kFixed, 0, "backup extension"},
    {":UNINSTALL", Kind::kFixed, 4, "key name, display name, uninstall program, list location"},
    {":REMOVEFILES", Kind::kList, 1, ""},
    {":INSTALL", Kind::kList, 1, ""},
    {":WIN", Kind::kList, 1, ""},
    {":SYSTEM", Kind::kList, 1, ""},
    {":SHORTCUTS", Kind::kGroup, 2, "shortcut name, target"},
    {":DINK", Kind::kMarker, 0, ""},
    {":RUNFILE", Kind::kFixed, 1, "program file name"},
    {":reg", Kind::kGroup, 4, "root key, key path, value name, data"},
    {":REBOOT", Kind::kMarker, 0, ""},
};
const char* const kRoots[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                              "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

const Section* Known(std::string_view line) {
  for (const Section& s : kSections)
    if (kw::SameText(line, s.keyword)) return &s;
  return nullptr;
}

bool HasFolderPart(std::string_view name) { return name.find_first_of("\\/:") != name.npos; }

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == s.npos ? std::string() : std::string(s.substr(b, e - b + 1));
}

// The runtime's integer conversion: decimal with an optional sign, or
// hexadecimal after "$", within 32 bits.
bool ValidInteger(std::string_view s) {
  if (!s.empty() && s[0] == '$') {
    s.remove_prefix(1);
    if (s.empty() || s.size() > 8) return false;
    for (char c : s)
      if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
  }
  bool neg = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) neg = s[0] == '-', s.remove_prefix(1);
  if (s.empty() || s.size() > 10) return false;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  return neg ? v <= 2147483648LL : v <= 2147483647LL;
}

class Checker {
 public:
  Checker(std::string_view text, const IniContext& ctx, IniFacts* facts)
      : ctx_(ctx), lines_(setup::SplitLines(text)), facts_(facts) {
    for (const std::string& f : ctx.packageFiles) have_.insert(kw::LowerAscii(f));
    const size_t nul = text.find('\0');
    if (nul != text.npos)
      Warn(int(setup::SplitLines(text.substr(0, nul)).size()) + 1,
           "a NUL byte: the installer reads nothing after it");
  }

  std::vector<Problem> Run() {
    for (size_t i = 0; i < lines_.size(); ++i)
      if (lines_[i].size() > setup::kMaxListLine)
        Error(int(i) + 1, "line longer than 4095 characters: the installer refuses the list; shorten it");
    if (!Header()) return std::move(problems_);
    for (const Section& s : kSections) Read(s);
    StrayLines();
    Contents();
    if (facts_) {
      facts_->installTargets = installTargets_;
      facts_->winTargets = winTargets_;
      facts_->named = named_;
    }
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const Problem& a, const Problem& b) { return a.line < b.line; });
    return std::move(problems_);
  }

 private:
  void Error(int line, std::string text) { problems_.push_back({ctx_.file, line, false, std::move(text)}); }
  void Warn(int line, std::string text) { problems_.push_back({ctx_.file, line, true, std::move(text)}); }
  const std::string& L(size_t i) const { return lines_[i]; }
  bool IsKeyword(size_t i) const { return Known(L(i)) != nullptr; }

  bool Header() {
    static const char* const what[] = {"destination folder", "Start Menu folder", "program name"};
    if (lines_.size() < 3) {
      Error(int(lines_.size()), "the list must begin with three lines: destination folder (\\Name), "
                                "Start Menu folder and program name");
      return false;
    }
    for (int i = 0; i < 3; ++i)
      if (!L(i).empty() && L(i)[0] == ':')
        Error(i + 1, std::string("line ") + char('1' + i) + " is read as the " + what[i] +
                         "; the three header lines come before any section");
    if (!L(0).empty() && L(0)[0] != '\\' && L(0)[0] != ':')
      Error(1, "the destination folder must begin with a backslash: it is appended to "
               "\"C:\\Program Files\"");
    if (L(2).empty()) Warn(3, "empty program name: the wizard's captions will be blank");
    if (facts_) facts_->programName = L(2);
    return true;
  }

  // The lines a section's reading takes, marked so that stray lines show.
  void Take(size_t from, size_t to) {
    for (size_t i = from; i < to && i < lines_.size(); ++i) taken_.insert(i);
  }

  void Read(const Section& s) {
    int k = -1;
    for (size_t i = 3; i < lines_.size(); ++i) {
      if (!kw::SameText(L(i), s.keyword)) continue;
      if (k < 0) k = int(i);
      else Warn(int(i) + 1, std::string("a second ") + s.keyword + " section: the installer reads only the first (line " +
                               std::to_string(k + 1) + ")");
    }
    if (k < 0) return;
    Take(size_t(k), size_t(k) + 1);
    switch (s.kind) {
      case Kind::kList: ReadList(s, size_t(k)); break;
      case Kind::kGroup: ReadGroups(s, size_t(k)); break;
      case Kind::kFixed: ReadFixed(s, size_t(k)); break;
      case Kind::kMarker: break;
    }
  }

  // A keyword line met while reading entries: the section before it lacks ":".
  bool RunsInto(const Section& s, size_t k, size_t i) {
    if (!IsKeyword(i)) return false;
    Error(int(i) + 1, std::string(s.keyword) + " (line " + std::to_string(k + 1) + ") runs into " + L(i) +
                          ": its ':' line is missing, so the installer would take " + L(i) +
                          " and what follows as entries; add a ':' line before this one");
    return true;
  }

  void NoEnd(const Section& s, size_t k) {
    Error(int(k) + 1, std::string(s.keyword) + " has no ':' line to end it: the installer would read past "
                                               "the end of the list (List index out of bounds); add a ':' line after its entries");
  }

  void ReadList(const Section& s, size_t k) {
    std::vector<std::pair<size_t, std::string>> entries;
    size_t i = k + 1;
    for (; i < lines_.size() && L(i) != ":"; ++i) {
      if (RunsInto(s, k, i)) break;  // its entries so far are still checked
      entries.emplace_back(i, L(i));
    }
    if (i < lines_.size() && L(i) != ":") return Take(k, i), void(lists_[s.keyword] = entries);
    Take(k, i + 1);
    lists_[s.keyword] = entries;
    if (i == lines_.size()) NoEnd(s, k);
  }

  void ReadGroups(const Section& s, size_t k) {
    std::vector<std::pair<size_t, std::string>> groups;  // first line of each group
    size_t i = k + 1;
    for (;;) {
      for (size_t j = i; j < i + size_t(s.lines); ++j) {
        if (j >= lines_.size()) return Take(k, j), NoEnd(s, k);
        if (RunsInto(s, k, j)) return Take(k, j), void(lists_[s.keyword] = groups);
        if (L(j) == ":") {
          Take(k, j + 1);
          if (i == k + 1 && j == i)
            return Error(int(j) + 1, std::string(s.keyword) + " is empty: the installer always reads a first "
                                                              "group, here the ':' line and what follows it; give it a group or remove the section");
          return Error(int(i) + 1, std::string("incomplete ") + s.keyword + " group: it has " +
                                       std::to_string(j - i) + " of " + std::to_string(s.lines) + " lines (" +
                                       s.shape + "); complete it");
        }
      }
      groups.emplace_back(i, L(i));
      i += size_t(s.lines);
      if (i >= lines_.size()) return Take(k, i), NoEnd(s, k);
      if (L(i) == ":") break;
    }
    Take(k, i + 1);
    lists_[s.keyword] = groups;
  }

  void ReadFixed(const Section& s, size_t k) {
    if (s.lines == 0) {  // :SYSBACKUP: its line is optional
      Take(k, k + 2);
      if (k + 1 < lines_.size() && L(k + 1) != ":" && L(k + 1).find(':') != std::string::npos)
        Warn(int(k) + 2, "a backup extension with a colon: the installer uses QFS instead");
      return;
    }
    for (size_t j = k + 1; j <= k + size_t(s.lines); ++j) {
      if (j >= lines_.size() || L(j) == ":" || IsKeyword(j)) {
        Take(k, j);
        return Error(int(k) + 1, std::string(s.keyword) + " has " + std::to_string(j - k - 1) + " of its " +
                                     std::to_string(s.lines) + " lines (" + s.shape + "); complete it");
      }
    }
    Take(k, k + size_t(s.lines) + 2);  // its customary ':' line too
    std::vector<std::pair<size_t, std::string>> v;
    for (size_t j = k + 1; j <= k + size_t(s.lines); ++j) v.emplace_back(j, L(j));
    lists_[s.keyword] = v;
  }

  // Lines no section reads: keyword lines with blanks around them, unknown
  // keywords.
  void StrayLines() {
    for (size_t i = 3; i < lines_.size(); ++i) {
      const std::string t = Trim(L(i));
      if (t != L(i) && Known(t))
        Error(int(i) + 1, "keyword line '" + L(i) + "' has blanks around it: the installer looks for " + Known(t)->keyword +
                              " alone on its line and would not find this section; remove the blanks");
      else if (taken_.count(i) == 0 && t.size() > 1 && t[0] == ':' && !Known(t) && L(i) != ":")
        Warn(int(i) + 1, "unknown section " + L(i) + ": the installer ignores it");
    }
  }

  const std::vector<std::pair<size_t, std::string>>* List(const char* keyword) const {
    auto it = lists_.find(keyword);
    return it == lists_.end() ? nullptr : &it->second;
  }

  bool Installed(const std::string& name) const {
    for (const std::string& t : installTargets_)
      if (kw::SameText(t, name)) return true;
    return false;
  }

  void Contents() {
    for (const char* kwd : {":INSTALL", ":WIN", ":SYSTEM"})
      if (auto* v = List(kwd))
        for (const auto& [i, line] : *v) CopyEntry(kwd, i, line);
    if (!ctx_.addedUnderWin.empty()) winTargets_.push_back(ctx_.addedUnderWin), named_.push_back(ctx_.addedUnderWin);
    if (auto* v = List(":SHORTCUTS"))
      for (const auto& [i, name] : *v) {
        if (name.empty()) Error(int(i) + 1, "empty shortcut name");
        const std::string& target = L(i + 1);
        if (!Installed(target))
          Error(int(i) + 2, "shortcut target '" + target + "' is not installed by :INSTALL; list it there, or correct the name");
      }
    if (auto* v = List(":RUNFILE")) {
      const auto& [i, prog] = v->front();
      if (!Installed(prog)) Error(int(i) + 1, ":RUNFILE program '" + prog + "' is not installed by :INSTALL; list it there, or correct the name");
    }
    if (auto* v = List(":reg"))
      for (const auto& [i, root] : *v) RegGroup(i);
    if (auto* v = List(":UNINSTALL")) Uninstall((*v)[0].first - 1);
    if (auto* v = List(":NOTRUNNING"))
      if (v->front().second.find(',') == std::string::npos)
        Warn(int(v->front().first) + 1, ":NOTRUNNING wants a window class, a comma and a window title");
  }

  void CopyEntry(const char* kwd, size_t i, const std::string& line) {
    const int n = int(i) + 1;
    const setup::CopyEntry e = setup::ParseCopyEntry(line);
    if (e.source.empty())
      return Error(n, std::string("an empty line in ") + kwd + " names a file without a name (only ':' ends the section); remove the line");
    if (HasFolderPart(e.source))
      return Error(n, "'" + e.source + "' has folder parts: the installer unpacks every file of a packed "
                                       "distribution into one folder, so it would never find it there");
    if (!have_.count(kw::LowerAscii(e.source)))
      Error(n, "'" + e.source + "' is not in the package: no such file in the project folder or disk1" +
                   (kw::SameText(e.source, kUninstaller) ? "; pack it with --uninstaller" : ""));
    named_.push_back(e.source);
    if (std::string(kwd) == ":INSTALL") installTargets_.push_back(e.target);
    if (std::string(kwd) == ":WIN") winTargets_.push_back(e.target);
  }

  void RegGroup(size_t i) {
    const std::string& root = L(i);
    bool exact = false, loose = false;
    for (const char* r : kRoots) exact = exact || root == r, loose = loose || kw::SameText(root, r);
    if (!exact)
      Error(int(i) + 1, loose ? "root key '" + root + "' must be written in capitals, exactly: the installer "
                                                      "writes nothing for it"
                              : "unknown root key '" + root + "': the installer writes nothing for it; use one of "
                                "HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, "
                                "HKEY_CURRENT_CONFIG, HKEY_DYN_DATA, HKEY_PERFORMANCE_DATA");
    const std::string& key = L(i + 1);
    if (key.empty()) Warn(int(i) + 2, "empty key path: the value goes straight under " + root);
    const std::string& data = L(i + 3);
    if (!data.empty() && data[0] == '#') {
      const std::string middle = data.size() >= 2 ? data.substr(1, data.size() - 2) : "";
      if (data.size() < 3 || data.back() != '#' || !ValidInteger(middle))
        Error(int(i) + 4, "'" + data + "' is not a valid number value: write #, a 32-bit whole number "
                                       "(decimal, or hexadecimal after $) and #");
    }
  }

  void Uninstall(size_t k) {
    const std::string& prog = L(k + 3);
    const std::string& where = L(k + 4);
    if (prog.empty()) Error(int(k) + 4, "empty uninstall program name");
    else if (HasFolderPart(prog))
      Error(int(k) + 4, "uninstall program '" + prog + "' must be a plain file name: it lies in the Windows folder");
    else {
      bool inWin = false;
      for (const std::string& t : winTargets_) inWin = inWin || kw::SameText(t, prog);
      // An entry pointing at nothing cannot remove the program: refused.
      if (!inWin)
        Error(int(k) + 4, "uninstall program '" + prog + "' is not installed, so the uninstall entry would "
                              "point at nothing in the Windows folder: " +
                              (kw::SameText(prog, kUninstaller) ? "pack it with --uninstaller, or list it under :WIN"
                                                                : "list it under :WIN and put it in the project folder"));
      if (facts_) facts_->uninstaller = prog, facts_->uninstallerLine = int(k) + 4;
    }
    if (where == "r") return;
    if (kw::LowerAscii(where).find(".ini") == std::string::npos)
      Error(int(k) + 5, "list location '" + where + "' is neither r (in small letters) nor a file name "
                                                      "containing .ini: the list would be saved where the "
                                                      "uninstall entry does not look");
    else if (HasFolderPart(where))
      Error(int(k) + 5, "list location '" + where + "' must be a plain file name: it lies in the Windows folder");
  }

  const IniContext& ctx_;
  std::vector<std::string> lines_;
  IniFacts* facts_;
  std::set<std::string> have_;
  std::set<size_t> taken_;
  std::map<std::string, std::vector<std::pair<size_t, std::string>>> lists_;
  std::vector<std::string> installTargets_, winTargets_, named_;
  std::vector<Problem> problems_;
};

}  // namespace

std::vector<Problem> CheckSetupIni(std::string_view text, const IniContext& ctx, IniFacts* facts) {
  return Checker(text, ctx, facts).Run();
}

}  // namespace mksetup
