// The text rules of the uninstall record: where the uninstall list goes, the
// uninstall command, and the list file itself. No registry here.
#pragma once
#include "toolkit/Error.h"
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// The key of the Windows list of installed programs, below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A path that does not contain ".ini" (any case) becomes DestDir\unin.ini.
std::string SavedListPath(std::string_view path, std::string_view destDir);

// The list path for the :UNINSTALL list location: "r" keeps it as unin.ini in
// DestDir, any other text names a file in the Windows folder. The ".ini" rule
// of SavedListPath is applied here already, so the uninstall command names the
// file that is saved. DestDir's trailing backslash is not doubled.
std::string UninstallListPath(std::string_view location, std::string_view destDir,
                              std::string_view windowsFolder);

// Windows folder, "\", the uninstall program, a blank, the quoted list path.
std::string UninstallCommand(std::string_view windowsFolder, std::string_view program,
                             std::string_view listPath);

// Writes the lines, each ended by CR LF, replacing the file. Throws
// kw::Error "Cannot create file %s" (or "Cannot write file %s").
void WriteListFile(const std::string& path, const std::vector<std::string>& lines);

}  // namespace setup
