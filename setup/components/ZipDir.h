// Walking a ZIP archive's local file headers to list its entries. No Windows
// API: the walk runs over a small stream interface, so it is tested and fuzzed
// natively.
#pragma once
#include "toolkit/Error.h"
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace setup {

// Errors of reading an archive's directory.
struct EStreamError : kw::Error {
  using kw::Error::Error;
};
// The archive file cannot be opened: "Cannot open file %s".
struct EFOpenError : EStreamError {
  using EStreamError::EStreamError;
};

#pragma pack(push, 1)
// The fixed part of a local file header after its signature, as stored.
struct ZipLocalHeader {
  uint16_t VersionNeeded;
  uint16_t GeneralFlags;
  uint16_t CompressionMethod;
  uint16_t LastModTime;
  uint16_t LastModDate;
  uint32_t Crc32;
  int32_t CompressedSize;
  uint32_t UncompressedSize;
  uint16_t FileNameLength;
  uint16_t ExtraFieldLength;
};
#pragma pack(pop)
static_assert(sizeof(ZipLocalHeader) == 26);

struct ZipDirEntry : ZipLocalHeader {
  std::string FileName;  // as stored, cut at a NUL byte and after 256 characters
};

// What the walk reads from: a file, or memory in the tests and the fuzzer.
class ZipStream {
 public:
  virtual ~ZipStream() = default;
  // Reads up to n bytes; returns how many came.
  virtual size_t Read(void* buf, size_t n) = 0;
  // Moves forward by n bytes from the current position; returns the new
  // position (-1 on failure).
  virtual int64_t Skip(int64_t n) = 0;
  virtual int64_t Position() = 0;
  virtual int64_t Size() = 0;
};

// Walks the local headers from the stream's position, appending one entry per
// header to entries, until a central directory or end record signature. Throws
// EStreamError "Error N reading Zip file" (N = 1 to 5; 1 with a capital F);
// entries then holds what was read so far. Always moves forward, so it ends.
void WalkZipDirectory(ZipStream& s, std::vector<ZipDirEntry>& entries);

// A read-only file as a ZipStream (C runtime, so it builds everywhere).
class ZipFileStream : public ZipStream {
 public:
  // Throws EFOpenError "Cannot open file <path>".
  explicit ZipFileStream(const std::string& path);
  ~ZipFileStream() override;
  ZipFileStream(const ZipFileStream&) = delete;
  ZipFileStream& operator=(const ZipFileStream&) = delete;
  size_t Read(void* buf, size_t n) override;
  int64_t Skip(int64_t n) override;
  int64_t Position() override;
  int64_t Size() override;

 private:
  void* f_;  // FILE*
  int64_t size_ = 0;
};

// Bytes in memory as a ZipStream (tests, fuzzing).
class ZipMemoryStream : public ZipStream {
 public:
  ZipMemoryStream(const void* data, size_t size) : p_(static_cast<const unsigned char*>(data)), size_(int64_t(size)) {}
  size_t Read(void* buf, size_t n) override {
    const size_t k = size_t(size_ - pos_) < n ? size_t(size_ - pos_) : n;
    for (size_t i = 0; i < k; ++i) static_cast<unsigned char*>(buf)[i] = p_[pos_ + int64_t(i)];
    pos_ += int64_t(k);
    return k;
  }
  int64_t Skip(int64_t n) override {
    if (n < 0 || n > size_ - pos_) return -1;
    return pos_ += n;
  }
  int64_t Position() override { return pos_; }
  int64_t Size() override { return size_; }

 private:
  const unsigned char* p_;
  int64_t size_, pos_ = 0;
};

// True when path names an existing file (not a folder).
bool ZipFileExists(const std::string& path);

}  // namespace setup
