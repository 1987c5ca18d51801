#include "setup/engine/Folders.h"

#include <windows.h>

namespace setup {

std::string GetWindowsFolder() {
  char buf[256];
  UINT n = GetWindowsDirectoryA(buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

bool FolderExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void ForceFolders(const std::string& path) {
  std::string dir = StripBackslash(path);
  if (dir.size() <= 2 || FolderExists(dir)) return;
  std::string parent = kw::ExtractFilePath(dir);
  if (!parent.empty() && parent.size() < dir.size()) ForceFolders(parent);
  CreateDirectoryA(dir.c_str(), nullptr);
}

void SetArchiveOnly(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
}

namespace {

void ListInto(const std::string& folder, std::vector<std::string>& out, bool listSelf) {
  if (listSelf) out.push_back("[" + folder);
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == "..") continue;
    std::string full = folder + "\\" + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ListInto(full, out, kw::LowerAscii(name).find("startup") == std::string::npos);
    else
      out.push_back(full);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
}

}  // namespace

std::vector<std::string> ListFolderTree(const std::string& folder) {
  std::vector<std::string> out;
  std::string root = StripBackslash(folder);
  if (FolderExists(root))
    ListInto(root, out, true);
  else if (FileExists(root))
    out.push_back(root);
  return out;
}

void RemoveFolderTree(const std::string& folder) {
  std::vector<std::string> list = ListFolderTree(folder);
  for (const std::string& item : list) {
    if (item.empty() || item[0] == '[') continue;
    SetArchiveOnly(item);
    DeleteFileA(item.c_str());
  }
  for (auto it = list.rbegin(); it != list.rend(); ++it)
    if (!it->empty() && (*it)[0] == '[') RemoveDirectoryA(it->c_str() + 1);
  RemoveDirectoryA((StripBackslash(folder) + "\\").c_str());
}

}  // namespace setup
