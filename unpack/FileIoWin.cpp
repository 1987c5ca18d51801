#include <windows.h>

#include <list>

#include "toolkit/PathText.h"
#include "unpack/FileIo.h"

namespace unpack {
namespace {

std::string Native(const std::string& root, const std::string& path) {
  std::string p = root + path;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

class WinInput : public Input {
 public:
  explicit WinInput(HANDLE h) : h_(h) {}
  ~WinInput() override { CloseHandle(h_); }
  uint64_t Size() override {
    DWORD high = 0;
    const DWORD low = GetFileSize(h_, &high);
    return low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR ? 0 : uint64_t(high) << 32 | low;
  }
  bool ReadAt(uint64_t off, void* buf, size_t n) override {
    LONG high = LONG(off >> 32);
    if (SetFilePointer(h_, LONG(DWORD(off)), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
      return false;
    DWORD got = 0;
    return ReadFile(h_, buf, DWORD(n), &got, nullptr) && got == n;
  }

 private:
  HANDLE h_;
};

// A file the output created and has not yet renamed or removed.
struct Created {
  std::string path;
  HANDLE h;  // INVALID_HANDLE_VALUE once closed
};

class WinFile : public OutFile {
 public:
  explicit WinFile(Created* c) : c_(c) {}
  ~WinFile() override {
    if (c_->h != INVALID_HANDLE_VALUE) CloseHandle(c_->h);
    c_->h = INVALID_HANDLE_VALUE;
  }
  bool Write(const void* data, size_t n) override {
    DWORD put = 0;
    return WriteFile(c_->h, data, DWORD(n), &put, nullptr) && put == n;
  }
  bool Close(uint32_t dosTime) override {
    FILETIME local, utc;
    if (DosDateTimeToFileTime(WORD(dosTime >> 16), WORD(dosTime), &local) && LocalFileTimeToFileTime(&local, &utc))
      SetFileTime(c_->h, nullptr, nullptr, &utc);
    const bool ok = CloseHandle(c_->h) != 0;
    c_->h = INVALID_HANDLE_VALUE;
    return ok;
  }

 private:
  Created* c_;
};

class WinOutput : public Output {
 public:
  explicit WinOutput(const std::string& root) : root_(root.empty() || kw::EndsWithChar(root, '\\') ? root : root + "\\") {}
  Kind Probe(const std::string& path, uint32_t* dosTime) override {
    WIN32_FIND_DATAA fd;
    const HANDLE f = FindFirstFileA(Native(root_, path).c_str(), &fd);
    if (f == INVALID_HANDLE_VALUE) return kNone;
    FindClose(f);
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kFolder;
    FILETIME local;
    WORD date = 0, time = 0;
    if (dosTime && FileTimeToLocalFileTime(&fd.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
      *dosTime = uint32_t(date) << 16 | time;
    return kFile;
  }
  bool MakeFolder(const std::string& path) override { return CreateDirectoryA(Native(root_, path).c_str(), nullptr) != 0; }
  std::unique_ptr<OutFile> CreateNew(const std::string& path) override {
    const std::string native = Native(root_, path);
    const HANDLE h = CreateFileA(native.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    created_.push_back({native, h});
    return std::make_unique<WinFile>(&created_.back());
  }
  bool Remove(const std::string& path) override {
    const std::string native = Native(root_, path);
    Forget(native);
    return DeleteFileA(native.c_str()) != 0;
  }
  bool Rename(const std::string& from, const std::string& to) override {
    const std::string native = Native(root_, from);
    if (!MoveFileA(native.c_str(), Native(root_, to).c_str())) return false;
    Forget(native);
    return true;
  }
  void Abandon() override {
    for (Created& c : created_) {
      if (c.h != INVALID_HANDLE_VALUE) CloseHandle(c.h);
      c.h = INVALID_HANDLE_VALUE;
      DeleteFileA(c.path.c_str());
    }
    created_.clear();
  }

 private:
  // Only closed files are forgotten: an open one still has its WinFile.
  void Forget(const std::string& native) {
    created_.remove_if([&](const Created& c) { return c.h == INVALID_HANDLE_VALUE && c.path == native; });
  }
  std::string root_;
  std::list<Created> created_;  // stable addresses for the WinFiles
};

}  // namespace

std::unique_ptr<Input> OpenArchive(const std::string& path) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<WinInput>(h);
}

std::unique_ptr<Output> FolderOutput(const std::string& root) { return std::make_unique<WinOutput>(root); }

std::string PlatformFold(const std::string& path) {
  std::string key = path;
  const int n = int(key.size());
  if (n && LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, path.data(), n, key.data(), n) != n) {
    for (char& c : key)
      if (c >= 'A' && c <= 'Z') c = char(c + 32);
  }
  return key;
}

std::string PlatformName(const std::string& stored, bool utf8) {
  // Windows 95 has no UTF-8 conversion: the call fails and the name stays.
  const UINT from = utf8 ? CP_UTF8 : CP_OEMCP;
  const int len = int(stored.size());
  const int wide = MultiByteToWideChar(from, 0, stored.data(), len, nullptr, 0);
  if (wide <= 0) return stored;
  std::wstring w(size_t(wide), L'\0');
  MultiByteToWideChar(from, 0, stored.data(), len, w.data(), wide);
  const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, "_", nullptr);
  if (n <= 0) return stored;
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), n, "_", nullptr);
  return out;
}

}  // namespace unpack
