#include "mksetup/Fs.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <utime.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"

// The C runtime only, not std::filesystem: on Windows that one imports wide
// and NT-only functions, and mksetup.exe is to run on Windows 95/98 too.
namespace mksetup {

namespace {
bool Stat(const std::string& path, struct stat* st) { return ::stat(path.c_str(), st) == 0; }

// True for a symbolic link (none on the Windows systems mksetup.exe serves).
bool IsLink(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
#endif
}

bool MakeFolder(const std::string& path) {
#ifdef _WIN32
  return _mkdir(path.c_str()) == 0;
#else
  return ::mkdir(path.c_str(), 0777) == 0;
#endif
}

std::string Parent(const std::string& path) {
  const size_t s = path.find_last_of("/\\");
  return s == std::string::npos ? "" : path.substr(0, s);
}
}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  return last == '/' || last == '\\' ? folder + name : folder + "/" + name;
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return Stat(path, &st) && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
  struct stat st;
  return Stat(path, &st) && S_ISREG(st.st_mode);
}

std::vector<FolderEntry> ListFolder(const std::string& path) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(path.c_str()), &closedir);
  if (!dir) throw kw::Error("Cannot read folder " + path);
  std::vector<FolderEntry> out;
  while (const dirent* d = readdir(dir.get())) {
    FolderEntry e;
    e.name = d->d_name;
    if (e.name == "." || e.name == "..") continue;
    struct stat st;
    e.link = IsLink(JoinPath(path, e.name));
    if (!Stat(JoinPath(path, e.name), &st)) {
      if (e.link) {  // pointing nowhere: listed as what it is, not a failure
        out.push_back(std::move(e));
        continue;
      }
      throw kw::Error("Cannot read " + JoinPath(path, e.name));
    }
    e.folder = S_ISDIR(st.st_mode);
    e.size = uint64_t(st.st_size);
    e.mtime = int64_t(st.st_mtime);
    out.push_back(std::move(e));
  }
  std::sort(out.begin(), out.end(), [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return out;
}

std::string ReadFile(const std::string& path) { return setup::ReadFileText(path); }

void WriteFile(const std::string& path, const std::string& data) {
  std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) throw kw::Error("Cannot create file " + path);
  if (std::fwrite(data.data(), 1, data.size(), f.get()) != data.size() || std::fflush(f.get()) != 0)
    throw kw::Error("Cannot write file " + path + " (disk full?)");
}

void SetFileTime(const std::string& path, int64_t unixTime) {
  struct utimbuf t;
  t.actime = t.modtime = time_t(unixTime);
  utime(path.c_str(), &t);
}

void MakeFolders(const std::string& path) {
  if (IsFolder(path)) return;
  const std::string parent = Parent(path);
  if (!parent.empty() && parent.back() != ':') MakeFolders(parent);
  if (!MakeFolder(path) && !IsFolder(path)) throw kw::Error("Cannot create folder " + path);
}

void RemoveTree(const std::string& path) {
  if (IsLink(path)) {
    if (std::remove(path.c_str()) != 0) throw kw::Error("Cannot remove " + path);
  } else if (IsFolder(path)) {
    for (const FolderEntry& e : ListFolder(path)) RemoveTree(JoinPath(path, e.name));
    if (::rmdir(path.c_str()) != 0) throw kw::Error("Cannot remove " + path);
  } else if (std::remove(path.c_str()) != 0 && IsFile(path)) {
    throw kw::Error("Cannot remove " + path);
  }
}

std::string ProgramFolder() {
#ifdef _WIN32
  const char* p = _pgmptr;
  return p ? Parent(p) : "";
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? Parent(std::string(buf, size_t(n))) : "";
#endif
}

}  // namespace mksetup
