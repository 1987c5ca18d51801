// Tool-tip hints whose text can change (the slice path box shows its own
// path as its hint). Windows 95 structures only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kerfwise {

class Tips {
 public:
  Tips() = default;
  Tips(const Tips&) = delete;
  Tips& operator=(const Tips&) = delete;
  ~Tips();
  void Create(HWND form);
  // Adds the control's hint, or replaces it when the control has one.
  void Set(HWND control, const std::string& text);

 private:
  HWND tip_ = nullptr;
  HWND form_ = nullptr;
  std::vector<HWND> added_;
};

}  // namespace kerfwise
