// The error type of both programs: a message shown to the user as it stands.
// Not kw::Error: its copy-on-write string would drag some 40 KB of the
// C++ library into every shipped program.
#pragma once
#include "toolkit/Error.h"
#include <exception>
#include <string>

namespace kw {

class Error : public std::exception {
 public:
  explicit Error(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace kw
