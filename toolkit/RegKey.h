// An open registry key, closed when the holder goes.
#pragma once
#include <windows.h>

namespace kw {

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }
  operator HKEY() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace kw
