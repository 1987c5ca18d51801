#include "toolkit/Window.h"

#include <exception>

#include "toolkit/App.h"

namespace kw {

Window::~Window() { DestroyHandle(); }

void Window::DestroyHandle() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

void Window::CreateHandle(const char* className, const char* caption, DWORD style,
                          DWORD exStyle, int x, int y, int w, int h, HWND parent) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc;
  if (!GetClassInfoA(inst, className, &wc)) {
    wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hIcon = LoadIcon(inst, MAKEINTRESOURCE(1));
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
  }
  CreateWindowExA(exStyle, className, caption, style, x, y, w, h, parent, nullptr, inst, this);
}

LRESULT Window::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Window* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, LONG_PTR(self));
  } else {
    self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcA(hwnd, msg, wp, lp);
  }
  // Nothing may unwind through the system's code: an error ends the handler here.
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    App().ShowException(e.what());
  } catch (...) {
    App().ShowException("Unknown error");
  }
  return 0;
}

}  // namespace kw
