// Tool-tip hints over controls: one tool-tip window per form, the Windows 95
// structures (no comctl32 v6 fields).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace kw {

class Control;

class Hints {
 public:
  Hints() = default;
  Hints(const Hints&) = delete;
  Hints& operator=(const Hints&) = delete;
  ~Hints();
  void Create(HWND form);
  void Add(const Control& c, const std::string& text);
  // Adds the window's hint, or replaces it when it has one (a hint that
  // follows a control's text).
  void Set(HWND control, const std::string& text);
  void SetActive(bool on);

 private:
  HWND tip_ = nullptr;
  HWND form_ = nullptr;
  std::vector<HWND> added_;
};

}  // namespace kw
