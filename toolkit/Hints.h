// Tool-tip hints over controls: one tool-tip window per form, the Windows 95
// structures (no comctl32 v6 fields).
#pragma once
#include <windows.h>

#include <string>

namespace kw {

class Control;

class Hints {
 public:
  ~Hints();
  void Create(HWND form);
  void Add(const Control& c, const std::string& text);
  void SetActive(bool on);

 private:
  HWND tip_ = nullptr;
  HWND form_ = nullptr;
};

}  // namespace kw
