#include "setup/components/ZipDir.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "toolkit/PathText.h"

namespace setup {
namespace {

constexpr uint32_t kSigLocal = 0x04034B50;
constexpr uint32_t kSigCentral = 0x02014B50;
constexpr uint32_t kSigEnd = 0x06054B50;
constexpr size_t kNameBuffer = 256;
constexpr int64_t kEndRecord = 22;  // the smallest end-of-central-directory record

[[noreturn]] void Fail(int n) {
  throw EStreamError(n == 1 ? "Error 1 reading Zip File" : "Error " + kw::Decimal(n) + " reading Zip file");
}

#ifdef _WIN32
// The plain runtime calls that every Windows runtime has: an archive on
// floppies stays far below 2 GB, and the bounds test keeps each seek inside the
// file.
int Seek(FILE* f, int64_t off, int whence) {
  return off > 0x7FFFFFFF || off < -0x7FFFFFFF ? -1 : fseek(f, long(off), whence);
}
int64_t Tell(FILE* f) { return ftell(f); }
#else
int Seek(FILE* f, int64_t off, int whence) { return fseeko(f, off_t(off), whence); }
int64_t Tell(FILE* f) { return ftello(f); }
#endif

}  // namespace

void WalkZipDirectory(ZipStream& s, std::vector<ZipDirEntry>& entries) {
  const int64_t size = s.Size();
  for (;;) {
    unsigned char sig[4];
    if (s.Read(sig, 4) < 4) Fail(1);
    const uint32_t v = uint32_t(sig[0]) | uint32_t(sig[1]) << 8 | uint32_t(sig[2]) << 16 | uint32_t(sig[3]) << 24;
    if (v == kSigCentral || v == kSigEnd) return;
    if (v != kSigLocal) continue;  // e.g. data walked over after a data descriptor entry

    ZipDirEntry e{};
    if (s.Read(static_cast<ZipLocalHeader*>(&e), sizeof(ZipLocalHeader)) < sizeof(ZipLocalHeader)) Fail(2);
    // A name longer than the buffer keeps its first 256 characters.
    char name[kNameBuffer];
    const size_t want = e.FileNameLength < kNameBuffer ? e.FileNameLength : kNameBuffer;
    if (s.Read(name, want) < want) Fail(2);
    if (e.FileNameLength > kNameBuffer) {
      const int64_t rest = e.FileNameLength - int64_t(kNameBuffer), p = s.Position();
      if (p + rest > size || s.Skip(rest) != p + rest) Fail(2);
    }
    e.FileName.assign(name, strnlen(name, want));
    entries.push_back(std::move(e));
    const ZipDirEntry& h = entries.back();

    // In 64 bits, the compressed size unsigned: no header can make the walk
    // go backwards or overflow the test.
    const int64_t extra = h.ExtraFieldLength, data = uint32_t(h.CompressedSize);
    int64_t p = s.Position();
    if (p + extra + data > size - kEndRecord) Fail(3);
    if (extra != 0 && s.Skip(extra) != p + extra) Fail(4);
    p = s.Position();
    if (s.Skip(data) != p + data) Fail(5);
  }
}

ZipFileStream::ZipFileStream(const std::string& path) : f_(std::fopen(path.c_str(), "rb")) {
  if (!f_) throw EFOpenError("Cannot open file " + path);
  FILE* f = static_cast<FILE*>(f_);
  if (Seek(f, 0, SEEK_END) == 0) size_ = Tell(f);
  Seek(f, 0, SEEK_SET);
}

ZipFileStream::~ZipFileStream() { std::fclose(static_cast<FILE*>(f_)); }

size_t ZipFileStream::Read(void* buf, size_t n) { return std::fread(buf, 1, n, static_cast<FILE*>(f_)); }

int64_t ZipFileStream::Skip(int64_t n) {
  FILE* f = static_cast<FILE*>(f_);
  return Seek(f, n, SEEK_CUR) == 0 ? Tell(f) : -1;
}

int64_t ZipFileStream::Position() { return Tell(static_cast<FILE*>(f_)); }

int64_t ZipFileStream::Size() { return size_; }

bool ZipFileExists(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFREG;
}

}  // namespace setup
