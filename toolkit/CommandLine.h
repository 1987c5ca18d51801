// Reading a program's command line the usual Windows way: arguments parted by
// blanks, double quotes keeping blanks inside one. No Windows API here.
#pragma once
#include <string>
#include <string_view>

namespace kw {

// Takes the next argument off the front of `rest`, quotes removed; false when
// only blanks are left. A backslash never escapes a quote: folders end in one.
// An opening quote without its closing one sets `unclosed`.
bool NextArgument(std::string_view& rest, std::string& arg, bool& unclosed);

// True when `arg` is the switch `name` ("/S"), letter case ignored. With a
// value (name "/LOG="), true when `arg` starts so, and `value` gets the rest.
bool IsSwitch(std::string_view arg, std::string_view name);
bool IsSwitch(std::string_view arg, std::string_view name, std::string& value);

}  // namespace kw
