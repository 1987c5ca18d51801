// Holders of an open file or find handle, closed when the holder goes.
#pragma once
#include <windows.h>

namespace kw {

template <BOOL(WINAPI* Close)(HANDLE)>
class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (ok()) Close(h_);
  }
  HANDLE get() const { return h_; }
  bool ok() const { return h_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE h_;
};

using FileHandle = Handle<CloseHandle>;  // CreateFile
using FindHandle = Handle<FindClose>;    // FindFirstFile

}  // namespace kw
