// TGradient: 256 bands of colour between two colours, painted by the window it
// lies on (it has no window of its own, like a graphic control).
#pragma once
#include <windows.h>

#include <cstdint>

#include "setup/startup/GradientTable.h"

namespace setup {

enum TGradDirection { gdUpDown, gdLeftRight };

class TGradient {
 public:
  // Bound to the window that paints it; it fills that window's client area.
  void Init(HWND parent);

  // Colour words: 0x00BBGGRR or a system colour constant (0x800000nn).
  uint32_t ColorStart() const { return colorStart_; }
  uint32_t ColorEnd() const { return colorEnd_; }
  TGradDirection Direction() const { return direction_; }
  bool Swap() const { return swap_; }
  void SetColorStart(uint32_t c) { colorStart_ = c; Changed(); }
  void SetColorEnd(uint32_t c) { colorEnd_ = c; Changed(); }
  void SetDirection(TGradDirection d) { direction_ = d; Changed(); }
  void SetSwap(bool on) { swap_ = on; Changed(); }

  const ColorTable& Table() const { return table_; }
  void Paint(HDC dc) const;

 private:
  void Changed();
  HWND parent_ = nullptr;
  uint32_t colorStart_ = 0x000000;  // black
  uint32_t colorEnd_ = 0xFF0000;    // blue
  TGradDirection direction_ = gdUpDown;
  bool swap_ = false;
  ColorTable table_ = BuildColorTable({0, 0, 0}, {0, 0, 255});
};

// A colour word in red, green and blue: system colours 1 to 24 as the user's
// "Control Panel\Colors" values say, anything else from its low bytes.
Rgb ResolveColor(uint32_t color);

}  // namespace setup
