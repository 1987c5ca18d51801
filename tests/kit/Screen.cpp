// Screen captures into memory, 24-bit BMP files and colour checks.
#include "tests/kit/Internal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace uikit {

COLORREF Image::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) {
    throw Failure("pixel " + std::to_string(x) + "," + std::to_string(y) + " outside the " +
                  std::to_string(width) + "x" + std::to_string(height) + " capture");
  }
  const uint8_t* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
  return RGB(p[2], p[1], p[0]);
}

void Image::SaveBmp(const std::string& path) const {
  size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  fh.bfType = 0x4D42;  // "BM"
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + stride * height);
  ih.biSize = sizeof ih;
  ih.biWidth = width;
  ih.biHeight = height;  // bottom-up, as most readers expect
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biCompression = BI_RGB;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw Failure("cannot write " + path);
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::vector<uint8_t> row(stride, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::memcpy(row.data(), &bgr[static_cast<size_t>(y) * width * 3], static_cast<size_t>(width) * 3);
    std::fwrite(row.data(), 1, stride, f);
  }
  bool ok = std::fclose(f) == 0;
  if (!ok) throw Failure("cannot write " + path);
}

Image CaptureRect(const RECT& r) {
  Image img;
  img.width = r.right - r.left;
  img.height = r.bottom - r.top;
  if (img.width <= 0 || img.height <= 0) throw Failure("nothing to capture: empty rectangle");
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = img.width;
  bi.bmiHeader.biHeight = -img.height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = bmp != nullptr;
  if (ok) {
    HGDIOBJ old = SelectObject(mem, bmp);
    ok = BitBlt(mem, 0, 0, img.width, img.height, screen, r.left, r.top, SRCCOPY) != FALSE;
    GdiFlush();
    size_t stride = (static_cast<size_t>(img.width) * 3 + 3) & ~size_t{3};
    img.bgr.resize(static_cast<size_t>(img.width) * img.height * 3);
    for (int y = 0; y < img.height; ++y) {
      std::memcpy(&img.bgr[static_cast<size_t>(y) * img.width * 3], static_cast<uint8_t*>(bits) + y * stride,
                  static_cast<size_t>(img.width) * 3);
    }
    SelectObject(mem, old);
    DeleteObject(bmp);
  }
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  if (!ok) throw Failure("screen capture failed");
  return img;
}

Image CaptureScreen() {
  RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CaptureRect(r);
}

Image CaptureWindow(HWND w) { return CaptureRect(WindowRect(w)); }

namespace {

Image Steady(HWND painted, const RECT& r, int timeoutMs) {
  RedrawWindow(painted, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Settle(painted);
  Image last = CaptureRect(r);
  const DWORD start = GetTickCount();
  for (;;) {
    Sleep(kPoll);
    Image now = CaptureRect(r);
    if (now.bgr == last.bgr || GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) return now;
    last = std::move(now);
  }
}

}  // namespace

Image CaptureSteady(HWND painted, int timeoutMs) { return Steady(painted, WindowRect(painted), timeoutMs); }

Image CaptureScreenSteady(HWND painted, int timeoutMs) {
  return Steady(painted, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, timeoutMs);
}

bool SameColor(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string ColorText(COLORREF c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

}  // namespace uikit
