// Page controls drawn on the button face colour, as the wizard's pages are.
#pragma once
#include <windows.h>

namespace setup {

template <class C>
class FaceColored : public C {
 public:
  HBRUSH CtlColor(HDC dc) override {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
};

}  // namespace setup
