#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

#include "unpack/FileIo.h"

namespace unpack {
namespace {

class PosixInput : public Input {
 public:
  explicit PosixInput(int fd) : fd_(fd) {}
  ~PosixInput() override { close(fd_); }
  uint64_t Size() override {
    struct stat st;
    return fstat(fd_, &st) == 0 ? uint64_t(st.st_size) : 0;
  }
  bool ReadAt(uint64_t off, void* buf, size_t n) override {
    char* p = static_cast<char*>(buf);
    while (n) {
      const ssize_t got = pread(fd_, p, n, off_t(off));
      if (got <= 0) return false;
      p += got;
      off += uint64_t(got);
      n -= size_t(got);
    }
    return true;
  }

 private:
  int fd_;
};

uint32_t ToDos(time_t t) {
  struct tm tm;
  localtime_r(&t, &tm);
  if (tm.tm_year < 80) return 0x00210000;  // 1980-01-01
  return uint32_t((tm.tm_year - 80) << 25 | (tm.tm_mon + 1) << 21 | tm.tm_mday << 16 | tm.tm_hour << 11 |
                  tm.tm_min << 5 | tm.tm_sec / 2);
}

time_t FromDos(uint32_t d) {
  struct tm tm = {};
  tm.tm_year = int(d >> 25) + 80;
  tm.tm_mon = int(d >> 21 & 15) - 1;
  tm.tm_mday = int(d >> 16 & 31);
  tm.tm_hour = int(d >> 11 & 31);
  tm.tm_min = int(d >> 5 & 63);
  tm.tm_sec = int(d & 31) * 2;
  tm.tm_isdst = -1;
  return mktime(&tm);
}

class PosixFile : public OutFile {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) close(fd_);
  }
  bool Write(const void* data, size_t n) override {
    const char* p = static_cast<const char*>(data);
    while (n) {
      const ssize_t put = write(fd_, p, n);
      if (put <= 0) return false;
      p += put;
      n -= size_t(put);
    }
    return true;
  }
  bool Close(uint32_t dosTime) override {
    struct timespec ts[2];
    ts[0].tv_sec = ts[1].tv_sec = FromDos(dosTime);
    ts[0].tv_nsec = ts[1].tv_nsec = 0;
    futimens(fd_, ts);
    const bool ok = close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

class PosixOutput : public Output {
 public:
  explicit PosixOutput(std::string root) : root_(root.empty() ? "" : root + "/") {}
  Kind Probe(const std::string& path, uint32_t* dosTime) override {
    struct stat st;
    if (lstat((root_ + path).c_str(), &st) != 0) return kNone;
    if (S_ISDIR(st.st_mode)) return kFolder;
    if (dosTime) *dosTime = ToDos(st.st_mtime);
    return kFile;
  }
  bool MakeFolder(const std::string& path) override { return mkdir((root_ + path).c_str(), 0777) == 0; }
  std::unique_ptr<OutFile> CreateNew(const std::string& path) override {
    const int fd = open((root_ + path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    return std::make_unique<PosixFile>(fd);
  }
  bool Remove(const std::string& path) override { return unlink((root_ + path).c_str()) == 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    // link + unlink: fails rather than replaces when the new name is taken.
    if (link((root_ + from).c_str(), (root_ + to).c_str()) != 0) return false;
    unlink((root_ + from).c_str());
    return true;
  }

 private:
  std::string root_;
};

}  // namespace

std::unique_ptr<Input> OpenArchive(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  return std::make_unique<PosixInput>(fd);
}

std::unique_ptr<Output> FolderOutput(const std::string& root) { return std::make_unique<PosixOutput>(root); }

std::string PlatformName(const std::string& stored, bool) { return stored; }

}  // namespace unpack
