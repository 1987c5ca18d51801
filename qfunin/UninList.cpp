#include "qfunin/UninList.h"

#include "qfunin/PathRules.h"
#include "toolkit/CommandLine.h"
#include "toolkit/PathText.h"

namespace qfunin {

namespace {

// Text lines: CR LF as written, a lone LF tolerated; a final line break ends
// the last line rather than starting an empty one.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
  return lines;
}

bool IsText(std::string_view bytes) {
  for (char c : bytes) {
    auto u = static_cast<unsigned char>(c);
    if (u < 32 && u != '\r' && u != '\n' && u != '\t') return false;
  }
  return true;
}

std::string Quoted(std::string_view line) { return "\"" + std::string(line) + "\""; }

}  // namespace

std::string ParseUninList(std::string_view bytes, UninList& out) {
  out = UninList();
  if (bytes.size() > kMaxListBytes) return "it is far too large";
  if (!IsText(bytes)) return "it is not a text file";
  std::vector<std::string_view> lines = SplitLines(bytes);
  if (lines.empty() || lines[0].empty()) return "it names no program";
  if (lines.size() < 2 || lines[1].empty()) return "it names no destination folder";
  out.programName = lines[0];
  out.destDir = NormalPath(lines[1]);

  size_t i = 2;
  std::vector<std::string_view> entries;
  for (; i < lines.size() && !lines[i].empty(); ++i) {
    if (lines[i][0] == '+') {
      if (!out.menuFolder.empty() || lines[i].size() == 1) return "its Start Menu line is damaged";
      out.menuFolder = NormalPath(lines[i].substr(1));
    } else if (!out.menuFolder.empty()) {
      return "a line follows its Start Menu line";
    } else {
      entries.push_back(lines[i]);
    }
  }
  if (i == lines.size()) return "it is cut short";
  ++i;  // the empty line
  for (std::string_view e : entries) {
    if (!out.menuFolder.empty() && IsInside(e, out.menuFolder))
      out.shortcuts.push_back(NormalPath(e));
    else
      out.files.push_back(NormalPath(e));
  }

  while (i < lines.size() && lines[i].empty()) ++i;
  if (i == lines.size()) return {};
  if (lines[i] != ":reg") return "it holds unknown lines after its files";
  for (++i;; i += 4) {
    if (i == lines.size()) return "its registry part is cut short";
    if (lines[i] == ":") break;
    if (lines.size() - i < 4) return "its registry part is cut short";
    out.values.push_back({std::string(lines[i]), std::string(lines[i + 1]),
                          std::string(lines[i + 2]), std::string(lines[i + 3])});
  }
  for (++i; i < lines.size(); ++i)
    if (!lines[i].empty()) return "it holds unknown lines after its registry part";
  return {};
}

std::vector<std::string> OtherProgramsFolders(std::string_view programs, const std::vector<std::string>& profiles) {
  std::vector<std::string> out;
  std::string own;
  for (const std::string& p : profiles)
    if (IsCleanAbsolute(p) && IsInside(programs, p) && NormalPath(p).size() > own.size()) own = NormalPath(p);
  if (own.empty()) return out;
  const std::string below = NormalPath(programs).substr(own.size());
  for (const std::string& p : profiles)
    if (IsCleanAbsolute(p) && !SamePath(p, own)) out.push_back(NormalPath(p) + below);
  return out;
}

namespace {

// Every Programs folder: this user's, all users', other users'.
template <class Visit>
bool AnyProgramsFolder(const Places& places, Visit visit) {
  for (const std::string* p : {&places.programs, &places.commonPrograms})
    if (visit(*p)) return true;
  for (const std::string& p : places.otherPrograms)
    if (visit(p)) return true;
  return false;
}

}  // namespace

bool IsProtectedFolder(std::string_view folder, const Places& places) {
  std::string f = NormalPath(folder);
  if (IsDriveRoot(f)) return true;
  if (f.size() > 3 && kw::SameText(f.substr(1), ":\\Program Files")) return true;
  auto holds = [&f](const std::string& p) { return !p.empty() && (SamePath(f, p) || IsInside(p, f)); };
  for (const std::string* p : {&places.windows, &places.system, &places.systemDir, &places.programFiles})
    if (holds(*p)) return true;
  return AnyProgramsFolder(places, holds);
}

bool InStartMenu(std::string_view folder, const Places& places) {
  // The Programs folders themselves are protected: named, they are only kept.
  if (AnyProgramsFolder(places, [folder](const std::string& p) {
        return IsCleanAbsolute(p) && (SamePath(folder, p) || IsInside(folder, p));
      }))
    return true;
  return IsInside(folder, places.windows + "\\Start Menu\\Programs");
}

std::string CheckUninList(const UninList& list, const Places& places) {
  // A protected destination (the installer accepts "C:\Program Files") still
  // bounds the files; the removal keeps the folder itself.
  std::string dest = NormalPath(list.destDir);
  if (!IsCleanAbsolute(dest) && !(IsDriveRoot(dest) && dest.size() == 3))
    return "its destination folder " + Quoted(list.destDir) + " is not one it may remove";
  if (!list.menuFolder.empty() &&
      (!IsCleanAbsolute(list.menuFolder) || !InStartMenu(list.menuFolder, places) ||
       (IsProtectedFolder(list.menuFolder, places) &&
        !AnyProgramsFolder(places, [&list](const std::string& p) { return SamePath(list.menuFolder, p); }))))
    return "its Start Menu folder " + Quoted(list.menuFolder) + " is not one it may remove";
  for (const std::string& f : list.files) {
    bool placed = IsInside(f, list.destDir) || IsInside(f, places.windows);
    if (!IsCleanAbsolute(f) || !placed || IsProtectedFolder(f, places))
      return "it names " + Quoted(f) + ", which lies outside the program's folders";
  }
  for (const std::string& s : list.shortcuts)
    if (!IsCleanAbsolute(s) || !IsInside(s, list.menuFolder))
      return "it names " + Quoted(s) + ", which is no shortcut path";
  return {};
}

void UseLongForms(UninList& list, Places& places, LongPathFn longPath) {
  // Only clean paths are resolved: a wildcard or a trailing dot would let the
  // system pick a name the checks never saw; those are refused as written.
  auto resolve = [longPath](std::string& p) {
    if (IsCleanAbsolute(p)) p = NormalPath(longPath(p));
  };
  for (std::string* p : {&list.destDir, &list.menuFolder, &places.windows, &places.system,
                         &places.systemDir, &places.programs, &places.commonPrograms,
                         &places.programFiles})
    resolve(*p);
  for (std::string& p : places.otherPrograms) resolve(p);
  std::vector<std::string> lines = std::move(list.files);
  lines.insert(lines.end(), list.shortcuts.begin(), list.shortcuts.end());
  list.files.clear();
  list.shortcuts.clear();
  for (std::string& l : lines) {
    resolve(l);
    if (!list.menuFolder.empty() && IsInside(l, list.menuFolder))
      list.shortcuts.push_back(std::move(l));
    else
      list.files.push_back(std::move(l));
  }
}

std::string ListPathArgument(std::string_view args) {
  size_t start = args.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  args.remove_prefix(start);
  if (args[0] == '"') {
    args.remove_prefix(1);
    return std::string(args.substr(0, args.find('"')));
  }
  size_t end = args.find_last_not_of(" \t");
  return std::string(args.substr(0, end + 1));
}

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

// The value of a /LOG=<file> argument at the front of `args`; its length in `used`.
bool LogValue(std::string_view args, std::string& value, size_t& used) {
  std::string_view rest = args;
  std::string arg;
  bool unclosed = false;
  if (!kw::NextArgument(rest, arg, unclosed) || unclosed || !kw::IsSwitch(arg, "/LOG=", value)) return false;
  used = args.size() - rest.size();
  return true;
}

// Where the last argument of `args` starts: after the last blank, or at a
// /LOG=" that opens the quoted value ending `args`.
size_t LastArgument(std::string_view args) {
  if (args.size() >= 2 && args.back() == '"') {
    size_t open = args.rfind('"', args.size() - 2);
    if (open != std::string_view::npos && open >= 5) return open - 5;
  }
  size_t b = args.find_last_of(" \t");
  return b == std::string_view::npos ? 0 : b + 1;
}

}  // namespace

UninstallArguments ParseUninstallArguments(std::string_view args) {
  UninstallArguments a;
  for (;;) {
    while (!args.empty() && Blank(args.front())) args.remove_prefix(1);
    while (!args.empty() && Blank(args.back())) args.remove_suffix(1);
    size_t used = 0, last = LastArgument(args);
    std::string log;
    if (args.size() >= 2 && kw::SameText(args.substr(0, 2), "/S") &&
        (args.size() == 2 || Blank(args[2]))) {
      args.remove_prefix(2);
      a.silent = true;
    } else if (args.size() >= 3 && kw::SameText(args.substr(args.size() - 2), "/S") &&
               Blank(args[args.size() - 3])) {
      args.remove_suffix(2);
      a.silent = true;
    } else if (LogValue(args, log, used) && (used == args.size() || Blank(args[used]))) {
      args.remove_prefix(used);
      a.log = log;
    } else if (last > 0 && Blank(args[last - 1]) && LogValue(args.substr(last), log, used) &&
               last + used == args.size()) {
      args.remove_suffix(args.size() - last);
      a.log = log;
    } else {
      break;
    }
  }
  a.list = ListPathArgument(args);
  return a;
}

}  // namespace qfunin
