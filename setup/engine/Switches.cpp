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

bool IsFullFolderPath(std::string_view path) {
  size_t names;  // where the folder names start
  auto letter = [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; };
  if (path.size() >= 3 && letter(path[0]) && path[1] == ':' && path[2] == '\\') {
    names = 3;
  } else if (path.size() >= 5 && path[0] == '\\' && path[1] == '\\') {
    // \\server\share: both names present.
    size_t server = path.find('\\', 2);
    if (server == std::string_view::npos || server == 2 || server + 1 == path.size() ||
        path[server + 1] == '\\')
      return false;
    names = 2;
  } else {
    return false;
  }
  std::string_view rest = path.substr(names);
  for (size_t i = 0; i < rest.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(rest[i]);
    if (c < 32 || std::string_view("/:*?\"<>|").find(char(c)) != std::string_view::npos)
      return false;
    if (c == '\\' && i + 1 < rest.size() && rest[i + 1] == '\\') return false;  // an empty name
  }
  return true;
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
