#include "kerfwise/engine/IoError.h"

namespace kerfwise {

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
