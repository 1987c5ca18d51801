// Paths from the test environment and plain file work for test set-ups.
#include "tests/kit/Internal.h"

#include <algorithm>
#include <cstdio>

namespace uikit {

using namespace detail;

std::string Env(const std::string& name) {
  char buf[4096];
  DWORD n = GetEnvironmentVariableA(name.c_str(), buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) throw Failure("environment variable " + name + " is not set");
  return std::string(buf, n);
}

std::string SrcDir() { return Env("KW_SRC"); }
std::string BinDir() { return Env("KW_BIN"); }
std::string DriveA() { return "A:\\"; }

std::string Join(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '\\' || dir.back() == '/') return dir + name;
  return dir + "\\" + name;
}

std::string TempDir(const std::string& name) {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  std::string root = Join(buf, "uikit" + std::to_string(GetCurrentProcessId()));
  CreateDirectoryA(root.c_str(), nullptr);
  std::string dir = Join(root, name);
  EmptyFolder(dir);
  return dir;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void CopyFileTo(const std::string& from, const std::string& to) {
  if (FileExists(to)) SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
    throw Failure("cannot copy " + from + " to " + to + ": error " + std::to_string(GetLastError()));
  }
}

std::vector<std::string> ListFolder(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA(Join(dir, "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    std::string n = fd.cFileName;
    if (n == "." || n == "..") continue;
    names.push_back((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? n + "\\" : n);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

void CopyFolder(const std::string& from, const std::string& to) {
  if (!FolderExists(from)) throw Failure("no folder " + from + " to copy");
  CreateDirectoryA(to.c_str(), nullptr);
  for (const std::string& n : ListFolder(from)) {
    if (n.back() == '\\') {
      std::string sub = n.substr(0, n.size() - 1);
      CopyFolder(Join(from, sub), Join(to, sub));
    } else {
      CopyFileTo(Join(from, n), Join(to, n));
    }
  }
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  if (FileExists(path)) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw Failure("cannot write " + path);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) throw Failure("cannot write " + path);
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  WriteFileBytes(path, out);
}

std::string ReadFileBytes(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw Failure("cannot read " + path);
  std::string data;
  char buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  std::fclose(f);
  return data;
}

std::string CompareFiles(const std::string& a, const std::string& b) {
  if (!FileExists(a)) return "no file " + a;
  if (!FileExists(b)) return "no file " + b;
  std::string da = ReadFileBytes(a), db = ReadFileBytes(b);
  size_t n = std::min(da.size(), db.size());
  size_t i = std::mismatch(da.begin(), da.begin() + n, db.begin()).first - da.begin();
  if (i < n) return a + " and " + b + " differ at byte " + std::to_string(i);
  if (da.size() != db.size()) {
    return a + " has " + std::to_string(da.size()) + " bytes, " + b + " " + std::to_string(db.size());
  }
  return "";
}

void RemoveFolder(const std::string& dir) {
  if (!FolderExists(dir)) return;
  EmptyFolder(dir);
  SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!RemoveDirectoryA(dir.c_str())) throw Failure("cannot remove folder " + dir);
}

void EmptyFolder(const std::string& dir) {
  if (!FolderExists(dir)) {
    // Make the missing levels too, from the top down.
    for (size_t i = 3; i <= dir.size(); ++i) {
      if (i == dir.size() || dir[i] == '\\') CreateDirectoryA(dir.substr(0, i).c_str(), nullptr);
    }
    if (!FolderExists(dir)) throw Failure("cannot create folder " + dir);
    return;
  }
  for (const std::string& n : ListFolder(dir)) {
    if (n.back() == '\\') {
      RemoveFolder(Join(dir, n.substr(0, n.size() - 1)));
    } else {
      std::string path = Join(dir, n);
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) throw Failure("cannot delete " + path);
    }
  }
}

}  // namespace uikit
