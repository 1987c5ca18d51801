// Folder routines of the installer, shared by the wizard and the install engine.
#pragma once
#include <string>
#include <vector>

#include "toolkit/PathText.h"

namespace setup {

using kw::StripBackslash;

// The system's Windows directory, asked of the system each time.
std::string GetWindowsFolder();
// True when the path's attributes can be read and include the directory attribute.
bool FolderExists(const std::string& path);
// True when a file (not a folder) of that path exists.
bool FileExists(const std::string& path);
// Creates the folder and its missing parents; failures are not reported.
void ForceFolders(const std::string& path);
// Depth first: files by full path, folders (the given one first) as "[" + path;
// a sub-folder whose name contains "startup" in any case is left out, its contents not.
std::vector<std::string> ListFolderTree(const std::string& folder);
// Deletes everything listed by ListFolderTree, then the folders deepest first.
void RemoveFolderTree(const std::string& folder);
// Attributes set to archive only, clearing read-only, hidden and system.
void SetArchiveOnly(const std::string& path);

}  // namespace setup
