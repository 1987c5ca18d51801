#include "kerfwise/engine/IoError.h"

#include "kerfwise/engine/Platform.h"

namespace kerfwise {

bool ReadSmallFile(Platform& fs, const std::string& path, int64_t limit, std::string& text) {
  auto f = fs.OpenRead(path);
  const int64_t size = f->Size();
  if (size > limit) return false;
  text.resize(size_t(size));
  size_t got = 0;
  while (got < text.size()) {
    const size_t n = f->Read(&text[got], text.size() - got);
    if (n == 0) break;
    got += n;
  }
  text.resize(got);
  return true;
}

std::string IoMessage(int code) {
  switch (code) {
    case kFileNotFound: return "File not found";
    case kInvalidFilename: return "Invalid filename";
    case kTooManyOpenFiles: return "Too many open files";
    case kAccessDenied: return "File access denied";
    case kReadBeyondEnd: return "Read beyond end of file";
    case kDiskFull: return "Disk full";
    case kWriteProtected: return "Disk is write-protected";
    default: return "I/O error " + std::to_string(code);
  }
}

}  // namespace kerfwise
