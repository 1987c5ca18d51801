#include "setup/engine/Switches.h"

#include "toolkit/CommandLine.h"

namespace setup {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

// The rest of the line after "/D=": as it stands, or one quoted folder.
bool DestValue(std::string_view rest, std::string& dest) {
  rest = Trim(rest);
  if (rest.empty() || rest.front() != '"') {
    dest = rest;
    return dest.find('"') == std::string::npos;
  }
  size_t close = rest.find('"', 1);
  if (close == std::string_view::npos || !Trim(rest.substr(close + 1)).empty()) return false;
  dest = rest.substr(1, close - 1);
  return true;
}

// Where "/D=" starts in the line, if the next argument is it.
bool AtDest(std::string_view rest, size_t& at) {
  at = 0;
  while (at < rest.size() && Blank(rest[at])) ++at;
  return rest.size() - at >= 3 && kw::IsSwitch(rest.substr(at, 3), "/D=");
}

}  // namespace

FolderFault CheckFolderPath(std::string_view path, bool strict) {
  size_t start;  // where the folder names start
  auto letter = [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
  if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') {
    if (path.size() == 3) return FolderFault::kRoot;
    start = 3;
  } else if (!strict && path.size() >= 5 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: both names present.
    size_t server = path.find('\\', 2);
    if (server == std::string_view::npos || server == 2 || server + 1 == path.size() ||
        path[server + 1] == '\\')
      return FolderFault::kNotFull;
    start = 2;
  } else {
    return FolderFault::kNotFull;
  }
  // A trailing backslash ends the path; it is not an empty name.
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    std::string_view name = path.substr(start, end - start);
    if (name.empty() || (strict && (name.back() == '.' || name.back() == ' ')))
      return FolderFault::kBadName;
    for (char c : name)
      if (static_cast<unsigned char>(c) < 32 || std::string_view("/:*?\"<>|").find(c) != std::string_view::npos)
        return FolderFault::kBadChar;
    start = end + 1;
  }
  return FolderFault::kNone;
}

bool IsFullFolderPath(std::string_view path) {
  FolderFault f = CheckFolderPath(path, false);
  return f == FolderFault::kNone || f == FolderFault::kRoot;
}

SetupSwitches ParseSetupSwitches(std::string_view line) {
  SetupSwitches s;
  std::string_view rest = line;
  for (;;) {
    size_t at;
    if (AtDest(rest, at)) {
      std::string dest;
      if (!DestValue(rest.substr(at + 3), dest)) {
        s.fault = "The folder after /D= has a stray or missing quote.";
      } else if (!IsFullFolderPath(dest)) {
        s.fault = "The folder \"" + dest + "\" after /D= is not a full path such as C:\\Program Files\\Name.";
      } else {
        s.dest = dest;
      }
      return s;
    }
    std::string arg, value;
    bool unclosed;
    if (!kw::NextArgument(rest, arg, unclosed)) return s;
    if (unclosed) {
      s.fault = "The argument " + arg + " has no closing quote.";
      return s;
    }
    bool group = kw::IsSwitch(arg, "/G=", value);
    if (kw::IsSwitch(arg, "/S")) {
      s.silent = true;
    } else if (group || kw::IsSwitch(arg, "/LOG=", value)) {
      if (value.empty()) {
        s.fault = "The argument " + arg + " needs a name after the equals sign.";
        return s;
      }
      (group ? s.group : s.log) = value;
    } else {
      s.fault = "Setup does not know the argument \"" + arg +
                "\". It takes /S, /G=<name>, /LOG=<file> and, last, /D=<folder>.";
      return s;
    }
  }
}

}  // namespace setup
