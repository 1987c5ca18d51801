#include "tests/slicing/SliceTestKit.h"
#include "toolkit/Error.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#include <sys/stat.h>
#endif

#include <stdexcept>

namespace slicetest {

std::string ScratchFolder() {
#ifdef _WIN32
  static unsigned counter = 0;
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  std::string base = std::string(tmp) + "kwslice" + std::to_string(GetCurrentProcessId()) + "_";
  for (;;) {
    std::string p = base + std::to_string(++counter);
    if (CreateDirectoryA(p.c_str(), nullptr)) return p + "\\";
  }
#else
  char tmpl[] = "/tmp/kwsliceXXXXXX";
  std::string p = mkdtemp(tmpl);
  for (char& c : p)
    if (c == '/') c = '\\';
  return p + "\\";
#endif
}

void MakeFolder(const std::string& path) {
#ifdef _WIN32
  CreateDirectoryA(path.c_str(), nullptr);
#else
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  mkdir(p.c_str(), 0755);
#endif
}

std::string Pattern(size_t size, unsigned seed) {
  std::string s(size, '\0');
  uint32_t x = seed * 2654435761u + 1;
  for (size_t i = 0; i < size; ++i) {
    x = x * 1664525u + 1013904223u;
    s[i] = char(x >> 24);
  }
  return s;
}

void Put(const std::string& path, const std::string& bytes) {
  kerfwise::SystemPlatform().Create(path)->Write(bytes.data(), bytes.size());
}

std::string Get(const std::string& path) {
  auto f = kerfwise::SystemPlatform().OpenRead(path);
  std::string out(size_t(f->Size()), '\0');
  size_t got = 0;
  while (got < out.size()) {
    size_t n = f->Read(&out[got], out.size() - got);
    if (n == 0) throw kw::Error("short file " + path);
    got += n;
  }
  return out;
}

bool Exists(const std::string& path) { return kerfwise::SystemPlatform().Exists(path); }
void SystemDelete(const std::string& path) { kerfwise::SystemPlatform().Delete(path); }

}  // namespace slicetest
