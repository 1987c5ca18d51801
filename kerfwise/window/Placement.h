// Window placement shared by the splitter's windows.
#pragma once
#include <windows.h>

namespace kerfwise {

inline void CenterOnScreen(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  SetWindowPos(w, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace kerfwise
