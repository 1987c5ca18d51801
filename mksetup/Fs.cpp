#include "mksetup/Fs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"

namespace fs = std::filesystem;

namespace mksetup {

namespace {
bool Stat(const std::string& path, struct stat* st) { return ::stat(path.c_str(), st) == 0; }
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
  std::vector<FolderEntry> out;
  std::error_code ec;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    FolderEntry e;
    e.name = it->path().filename().string();
    struct stat st;
    if (!Stat(JoinPath(path, e.name), &st)) throw kw::Error("Cannot read " + JoinPath(path, e.name));
    e.folder = S_ISDIR(st.st_mode);
    e.size = uint64_t(st.st_size);
    e.mtime = int64_t(st.st_mtime);
    out.push_back(std::move(e));
  }
  if (ec) throw kw::Error("Cannot read folder " + path);
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

void CopyFile(const std::string& from, const std::string& to) { WriteFile(to, ReadFile(from)); }

void MakeFolders(const std::string& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (!IsFolder(path)) throw kw::Error("Cannot create folder " + path);
}

void RemoveTree(const std::string& path) {
  std::error_code ec;
  fs::remove_all(path, ec);
  if (ec) throw kw::Error("Cannot remove " + path);
}

std::string ProgramFolder() {
#ifdef _WIN32
  const char* p = _pgmptr;
  return p ? fs::path(p).parent_path().string() : "";
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? "" : self.parent_path().string();
#endif
}

}  // namespace mksetup
