// Page controls drawn on the button face colour, as the wizard's pages are.
#pragma once
#include <windows.h>

namespace setup {

// A control's colour answer for the button face: its text background and brush.
inline HBRUSH FaceColor(HDC dc) {
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

template <class C>
class FaceColored : public C {
 public:
  HBRUSH CtlColor(HDC dc) override { return FaceColor(dc); }
};

}  // namespace setup
