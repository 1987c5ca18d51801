// The file layer of the Windows builds: the ANSI file functions that Windows 95
// has. Handles are closed by their holders on every path.
#include <windows.h>

#include "kerfwise/engine/IoError.h"
#include "kerfwise/engine/Platform.h"
#include "toolkit/PathText.h"

namespace kerfwise {

namespace {
int IoCodeOf(DWORD err) {
  switch (err) {
    case ERROR_FILE_NOT_FOUND: return kFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return kInvalidFilename;
    case ERROR_TOO_MANY_OPEN_FILES: return kTooManyOpenFiles;
    case ERROR_ACCESS_DENIED: return kAccessDenied;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return kDiskFull;
    case ERROR_WRITE_PROTECT: return kWriteProtected;
    default: return int(err);
  }
}

// GetLongPathNameA came with Windows 98: looked up, not imported. Empty when
// the path does not exist.
using LongPathFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
LongPathFn g_longPath = nullptr;
bool g_lookedUp = false;

std::string LongPath(const std::string& path) {
  if (!g_lookedUp) {
    g_longPath = reinterpret_cast<LongPathFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetLongPathNameA")));
    g_lookedUp = true;
  }
  LongPathFn fn = g_longPath;
  if (!fn) return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES ? path : std::string();
  char buf[MAX_PATH];
  DWORD n = fn(path.c_str(), buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

[[noreturn]] void Fail() { throw IoError(IoCodeOf(GetLastError())); }

class Win32Read : public ReadFile {
 public:
  explicit Win32Read(HANDLE h) : h_(h) {}
  ~Win32Read() override { CloseHandle(h_); }
  int64_t Size() override {
    DWORD high = 0;
    DWORD low = GetFileSize(h_, &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) Fail();
    return int64_t((uint64_t(high) << 32) | low);
  }
  size_t Read(void* buffer, size_t count) override {
    DWORD n = 0;
    if (!::ReadFile(h_, buffer, DWORD(count), &n, nullptr)) Fail();
    return n;
  }

 private:
  HANDLE h_;
};

class Win32Write : public WriteFile {
 public:
  explicit Win32Write(HANDLE h) : h_(h) {}
  ~Win32Write() override {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
  }
  void Write(const void* buffer, size_t count) override {
    DWORD n = 0;
    if (!::WriteFile(h_, buffer, DWORD(count), &n, nullptr)) Fail();
    if (n != count) throw IoError(kDiskFull);
  }
  void Close() override {
    HANDLE h = h_;
    h_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(h)) Fail();
  }

 private:
  HANDLE h_;
};

class Win32Platform : public Platform {
 public:
  std::unique_ptr<ReadFile> OpenRead(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail();
    return std::make_unique<Win32Read>(h);
  }
  std::unique_ptr<WriteFile> Create(const std::string& path) override {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) Fail();
    return std::make_unique<Win32Write>(h);
  }
  bool Delete(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
  bool CopyOver(const std::string& from, const std::string& to) override {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
  }
  // MoveFileExA is missing on Windows 95: the target must be gone first.
  bool Rename(const std::string& from, const std::string& to) override {
    return MoveFileA(from.c_str(), to.c_str()) != 0;
  }
  bool Exists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  std::string FullPath(const std::string& path) override {
    char buf[MAX_PATH];
    LPSTR name = nullptr;
    DWORD n = GetFullPathNameA(path.c_str(), sizeof buf, buf, &name);
    if (n == 0 || n >= sizeof buf) return path;
    std::string full(buf, n);
    std::string whole = LongPath(full);
    if (!whole.empty()) return whole;
    size_t cut = full.find_last_of('\\') + 1;
    std::string folder = LongPath(full.substr(0, cut));
    if (folder.empty()) return full;
    if (folder.back() != '\\') folder += '\\';
    return folder + full.substr(cut);
  }
  std::string ProgramFolder() override {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    std::string p(buf, n < MAX_PATH ? n : 0);
    return kw::ExtractFilePath(p);
  }
  char DecimalSeparator() override {
    char buf[8] = ".";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buf, sizeof buf);
    return buf[0] ? buf[0] : '.';
  }
  uint32_t Milliseconds() override { return GetTickCount(); }
};
Win32Platform g_platform;  // no guarded static: nothing to lock on Windows 95
}  // namespace

Platform& SystemPlatform() { return g_platform; }

}  // namespace kerfwise
