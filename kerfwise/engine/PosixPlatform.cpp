// The file layer of the native builds. Paths arrive in Windows form; each
// backslash is taken as a slash.
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>

#include "kerfwise/engine/IoError.h"
#include "kerfwise/engine/Platform.h"

namespace kerfwise {

namespace {
std::string Native(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string Windows(const std::string& path) {
  std::string out = path;
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

int IoCodeOf(int err) {
  switch (err) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return kInvalidFilename;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR: return kAccessDenied;
    case EROFS: return kWriteProtected;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    default: return err;
  }
}

[[noreturn]] void Fail() { throw IoError(IoCodeOf(errno)); }

class PosixRead : public ReadFile {
 public:
  explicit PosixRead(int fd) : fd_(fd) {}
  ~PosixRead() override { close(fd_); }
  int64_t Size() override {
    struct stat st;
    if (fstat(fd_, &st) != 0) Fail();
    return st.st_size;
  }
  size_t Read(void* buffer, size_t count) override {
    for (;;) {
      ssize_t n = read(fd_, buffer, count);
      if (n >= 0) return size_t(n);
      if (errno != EINTR) Fail();
    }
  }

 private:
  int fd_;
};

class PosixWrite : public WriteFile {
 public:
  explicit PosixWrite(int fd) : fd_(fd) {}
  ~PosixWrite() override {
    if (fd_ >= 0) close(fd_);
  }
  void Close() override {
    int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) Fail();
  }
  void Write(const void* buffer, size_t count) override {
    const char* p = static_cast<const char*>(buffer);
    while (count > 0) {
      ssize_t n = write(fd_, p, count);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) Fail();
      if (n == 0) throw IoError(kDiskFull);
      p += n;
      count -= size_t(n);
    }
  }

 private:
  int fd_;
};

class PosixPlatform : public Platform {
 public:
  std::unique_ptr<ReadFile> OpenRead(const std::string& path) override {
    int fd = open(Native(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail();
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
      close(fd);
      throw IoError(kAccessDenied);
    }
    return std::make_unique<PosixRead>(fd);
  }
  std::unique_ptr<WriteFile> Create(const std::string& path) override {
    int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail();
    return std::make_unique<PosixWrite>(fd);
  }
  bool Delete(const std::string& path) override { return unlink(Native(path).c_str()) == 0; }
  bool CopyOver(const std::string& from, const std::string& to) override {
    try {
      auto in = OpenRead(from);
      auto out = Create(to);
      char buf[65536];
      while (size_t n = in->Read(buf, sizeof buf)) out->Write(buf, n);
      return true;
    } catch (const IoError&) {
      return false;
    }
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return rename(Native(from).c_str(), Native(to).c_str()) == 0;
  }
  bool Exists(const std::string& path) override {
    struct stat st;
    return stat(Native(path).c_str(), &st) == 0;
  }
  std::string FullPath(const std::string& path) override {
    std::string p = Native(path);
    char buf[PATH_MAX];
    if (realpath(p.c_str(), buf)) return Windows(buf);
    size_t cut = p.rfind('/');
    std::string folder = cut == std::string::npos ? "." : p.substr(0, cut + 1);
    if (!realpath(folder.c_str(), buf)) return path;
    std::string out = Windows(buf);
    if (out.back() != '\\') out += '\\';
    return out + p.substr(cut == std::string::npos ? 0 : cut + 1);
  }
  std::string ProgramFolder() override {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string p(buf, size_t(n));
    return p.substr(0, p.rfind('/') + 1);
  }
  char DecimalSeparator() override { return '.'; }
  uint32_t Milliseconds() override {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint32_t(uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000);
  }
};
}  // namespace

Platform& SystemPlatform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace kerfwise
