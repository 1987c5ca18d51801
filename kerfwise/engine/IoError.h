// File errors with the run-time library's I/O error numbers and messages.
#pragma once
#include <stdexcept>
#include <string>

namespace kerfwise {

enum IoCode {
  kFileNotFound = 2,
  kInvalidFilename = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kReadBeyondEnd = 100,
  kDiskFull = 101,
};

// "File not found", ..., "Disk full", or "I/O error %d" for other numbers.
std::string IoMessage(int code);

struct IoError : std::runtime_error {
  explicit IoError(int code) : std::runtime_error(IoMessage(code)), code(code) {}
  int code;
};

}  // namespace kerfwise
