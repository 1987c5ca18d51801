// Small owners of GDI objects, released on every path.
#pragma once
#include <windows.h>

namespace kw {

// A font by face name and size in points, as the screen measures points.
class Font {
 public:
  Font() = default;
  Font(const char* face, int points, int weight = FW_NORMAL) { Create(face, points, weight); }
  ~Font() { Reset(); }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  void Create(const char* face, int points, int weight = FW_NORMAL) {
    Reset();
    HDC dc = GetDC(nullptr);
    int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, dc);
    font_ = CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  }
  void Reset() {
    if (font_) DeleteObject(font_);
    font_ = nullptr;
  }
  HFONT Handle() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

// A solid brush of one colour.
class Brush {
 public:
  Brush() = default;
  ~Brush() { Reset(); }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  void Create(COLORREF c) {
    Reset();
    brush_ = CreateSolidBrush(c);
  }
  void Reset() {
    if (brush_) DeleteObject(brush_);
    brush_ = nullptr;
  }
  HBRUSH Handle() const { return brush_; }

 private:
  HBRUSH brush_ = nullptr;
};

}  // namespace kw
