#include "setup/startup/Gradient.h"

#include <string>

namespace setup {

Rgb ResolveColor(uint32_t color) {
  const char* name = (color & 0xFF000000u) == kSystemColorFlag ? SystemColorName(color & 0xFFFFFF)
                                                               : nullptr;
  if (name) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Colors", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
      char buf[64];
      DWORD size = sizeof buf - 1, type = 0;
      LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
      RegCloseKey(key);
      if (rc == ERROR_SUCCESS && type == REG_SZ) {
        buf[size] = '\0';
        if (auto rgb = ParseColorText(std::string(buf).c_str())) return *rgb;
      }
    }
  }
  return ColorWordRgb(color);
}

void TGradient::Init(HWND parent) {
  parent_ = parent;
  Changed();
}

void TGradient::Changed() {
  Rgb a = ResolveColor(colorStart_), b = ResolveColor(colorEnd_);
  table_ = swap_ ? BuildColorTable(b, a) : BuildColorTable(a, b);
  if (parent_) InvalidateRect(parent_, nullptr, TRUE);
}

void TGradient::Paint(HDC dc) const {
  RECT client;
  GetClientRect(parent_, &client);
  int extent = direction_ == gdUpDown ? client.bottom : client.right;
  int size = BandSize(extent);
  for (int i = 0; i < kBands; ++i) {
    int start = BandStart(i, extent);
    RECT r = direction_ == gdUpDown ? RECT{0, start, client.right, start + size}
                                    : RECT{start, 0, start + size, client.bottom};
    HBRUSH brush = CreateSolidBrush(RGB(table_[i].r, table_[i].g, table_[i].b));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
}

}  // namespace setup
