// File errors with the run-time library's I/O error numbers and messages.
#pragma once
#include <exception>
#include <string>

namespace kerfwise {

enum IoCode {
  kFileNotFound = 2,
  kInvalidFilename = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kReadBeyondEnd = 100,
  kDiskFull = 101,
  kWriteProtected = 150,
};

// "File not found", ..., "Disk full", "Disk is write-protected", or
// "I/O error %d" for other numbers.
std::string IoMessage(int code);

// Not a runtime_error: the joiner would pull the run-time's second string
// implementation in with it.
struct IoError : std::exception {
  explicit IoError(int code) : code(code), message(IoMessage(code)) {}
  const char* what() const noexcept override { return message.c_str(); }
  int code;
  std::string message;
};

}  // namespace kerfwise
