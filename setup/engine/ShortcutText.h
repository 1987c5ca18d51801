// The part of the shortcut routines that needs no Windows API.
#pragma once
#include <string>
#include <string_view>

namespace setup {

// Engine step 2: the Programs folder without trailing backslash, "\", the folder
// name, and one trailing backslash of the result removed.
std::string FullStartMenuFolder(std::string_view programsFolder, std::string_view name);

}  // namespace setup
