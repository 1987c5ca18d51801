// The few C file calls the programs make (fopen, fread, fwrite, fseek, ftell,
// fclose, remove, rename, stat), straight over the Win32 file API. Files are
// unbuffered and always binary: every caller reads and writes whole blocks.
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

namespace {

struct File {
  HANDLE handle;
  bool append;
  bool error;
  bool eof;
};

File* Of(FILE* f) { return reinterpret_cast<File*>(f); }

}  // namespace

extern "C" {

FILE* fopen(const char* path, const char* mode) {
  DWORD access, disposition;
  switch (mode[0]) {
    case 'r': access = GENERIC_READ, disposition = OPEN_EXISTING; break;
    case 'w': access = GENERIC_WRITE, disposition = CREATE_ALWAYS; break;
    case 'a': access = GENERIC_WRITE, disposition = OPEN_ALWAYS; break;
    default: return nullptr;
  }
  if (strchr(mode, '+')) access = GENERIC_READ | GENERIC_WRITE;
  HANDLE h = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  auto* f = static_cast<File*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(File)));
  if (!f) {
    CloseHandle(h);
    return nullptr;
  }
  f->handle = h;
  f->append = mode[0] == 'a';
  return reinterpret_cast<FILE*>(f);
}

int fclose(FILE* f) {
  BOOL ok = CloseHandle(Of(f)->handle);
  HeapFree(GetProcessHeap(), 0, f);
  return ok ? 0 : EOF;
}

size_t fread(void* buf, size_t size, size_t count, FILE* f) {
  if (!size || !count) return 0;
  if (count > DWORD(-1) / size) count = DWORD(-1) / size;
  DWORD want = size * count, got = 0, n;
  while (got < want) {
    if (!ReadFile(Of(f)->handle, static_cast<char*>(buf) + got, want - got, &n, nullptr)) {
      Of(f)->error = true;
      break;
    }
    if (!n) {
      Of(f)->eof = true;
      break;
    }
    got += n;
  }
  return got / size;
}

size_t fwrite(const void* buf, size_t size, size_t count, FILE* f) {
  if (!size || !count) return 0;
  if (count > DWORD(-1) / size) count = DWORD(-1) / size;
  if (Of(f)->append) SetFilePointer(Of(f)->handle, 0, nullptr, FILE_END);
  DWORD want = size * count, put = 0, n;
  while (put < want) {
    if (!WriteFile(Of(f)->handle, static_cast<const char*>(buf) + put, want - put, &n, nullptr) || !n) {
      Of(f)->error = true;
      break;
    }
    put += n;
  }
  return put / size;
}

int fseek(FILE* f, long offset, int origin) {
  LONG high = offset < 0 ? -1 : 0;
  DWORD low = SetFilePointer(Of(f)->handle, offset, &high, origin);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  Of(f)->eof = false;
  return 0;
}

long ftell(FILE* f) {
  LONG high = 0;
  DWORD low = SetFilePointer(Of(f)->handle, 0, &high, FILE_CURRENT);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return high || low > 0x7FFFFFFF ? -1 : long(low);
}

int fflush(FILE*) { return 0; }
int ferror(FILE* f) { return Of(f)->error; }
int feof(FILE* f) { return Of(f)->eof; }

int remove(const char* path) { return DeleteFileA(path) ? 0 : -1; }
int rename(const char* from, const char* to) { return MoveFileA(from, to) ? 0 : -1; }

int stat(const char* path, struct stat* st) {
  WIN32_FIND_DATAA fd;
  for (const char* p = path; *p; ++p)
    if (*p == '?' || *p == '*') return -1;
  HANDLE h = FindFirstFileA(path, &fd);
  if (h == INVALID_HANDLE_VALUE) {
    // A drive's root has no entry of its own.
    DWORD a = GetFileAttributesA(path);
    if (a == INVALID_FILE_ATTRIBUTES) return -1;
    fd.dwFileAttributes = a;
    fd.nFileSizeLow = 0;
  } else {
    FindClose(h);
  }
  memset(st, 0, sizeof *st);
  st->st_mode = fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? _S_IFDIR | 0555 : _S_IFREG | 0444;
  if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)) st->st_mode |= 0222;
  st->st_size = fd.nFileSizeLow;
  st->st_nlink = 1;
  return 0;
}

}  // extern "C"
