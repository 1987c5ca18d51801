#include "toolkit/CommandLine.h"

#include "toolkit/PathText.h"

namespace kw {

namespace {
bool Blank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

bool NextArgument(std::string_view& rest, std::string& arg, bool& unclosed) {
  size_t i = 0;
  while (i < rest.size() && Blank(rest[i])) ++i;
  arg.clear();
  unclosed = false;
  if (i == rest.size()) {
    rest = {};
    return false;
  }
  bool quoted = false;
  for (; i < rest.size() && (quoted || !Blank(rest[i])); ++i) {
    if (rest[i] == '"')
      quoted = !quoted;
    else
      arg += rest[i];
  }
  unclosed = quoted;
  rest.remove_prefix(i);
  return true;
}

bool IsSwitch(std::string_view arg, std::string_view name) { return SameText(arg, name); }

bool IsSwitch(std::string_view arg, std::string_view name, std::string& value) {
  if (arg.size() < name.size() || !SameText(arg.substr(0, name.size()), name)) return false;
  value = arg.substr(name.size());
  return true;
}

}  // namespace kw
