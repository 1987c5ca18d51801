// The one window base class of the toolkit: `this` travels through
// CreateWindowEx's lpCreateParams, is kept in GWLP_USERDATA from WM_NCCREATE on,
// and every message goes to one virtual handler. Errors raised by a handler
// stop at the window procedure and are shown in the program's error box.
#pragma once
#include <windows.h>

namespace kw {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const { return hwnd_; }
  // Destroys the window now (children go with it).
  void DestroyHandle();

 protected:
  // Registers the class on first use (arrow cursor, button-face background).
  void CreateHandle(const char* className, const char* caption, DWORD style, DWORD exStyle,
                    int x, int y, int w, int h, HWND parent);
  virtual LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

}  // namespace kw
