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

}  // namespace qfunin
