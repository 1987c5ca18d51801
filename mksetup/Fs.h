// The few file-system operations mksetup needs, over the C runtime, so the
// same code builds for Linux and for Windows 95 and later. Failures throw
// kw::Error naming the path.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace mksetup {

struct FolderEntry {
  std::string name;
  bool folder = false;  // also a link to a folder
  bool link = false;    // a symbolic link: size and time are its target's, when it has one
  uint64_t size = 0;
  int64_t mtime = 0;  // seconds since 1970, UTC
};

std::string JoinPath(const std::string& folder, const std::string& name);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
// The folder's entries sorted by name (byte order).
std::vector<FolderEntry> ListFolder(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& data);
// Sets the modification time (seconds since 1970, UTC); failures are ignored.
void SetFileTime(const std::string& path, int64_t unixTime);
void MakeFolders(const std::string& path);
// Removes a file or a folder with everything in it; a symbolic link is
// removed itself, never what it points to.
void RemoveTree(const std::string& path);
// The folder of the running program ("" when it cannot be told).
std::string ProgramFolder();

}  // namespace mksetup
