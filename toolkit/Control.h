// Controls: thin wrappers over child windows that the form owns as fields. The
// wrapper pointer is kept in the control's GWLP_USERDATA so that the form can
// hand colour and notification messages back to it.
#pragma once
#include <windows.h>

#include <string>

namespace kw {

class Control {
 public:
  Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  HWND Handle() const { return h_; }
  int Id() const { return GetDlgCtrlID(h_); }

  void SetText(const std::string& text) { SetWindowTextA(h_, text.c_str()); }
  std::string Text() const;
  void SetVisible(bool on) { ShowWindow(h_, on ? SW_SHOW : SW_HIDE); }
  bool Visible() const { return (GetWindowLongA(h_, GWL_STYLE) & WS_VISIBLE) != 0; }
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  void SetEnabled(bool on) { EnableWindow(h_, on); }
  bool Enabled() const { return IsWindowEnabled(h_) != FALSE; }
  void SetBounds(int x, int y, int w, int hgt) { MoveWindow(h_, x, y, w, hgt, TRUE); }
  void SetFont(HFONT f) { SendMessageA(h_, WM_SETFONT, WPARAM(f), TRUE); }
  void Focus() { SetFocus(h_); }

  // The wrapper of a control window made by this toolkit, or null.
  static Control* FromHandle(HWND h);
  // Colours of the control (WM_CTLCOLOR...): a brush, or null for the default.
  virtual HBRUSH CtlColor(HDC /*dc*/) { return nullptr; }
  // A notification the control handles itself; false passes it to the form.
  virtual bool Notify(int /*code*/) { return false; }
  // Owner-drawn controls paint themselves here (WM_DRAWITEM).
  virtual void DrawItem(const DRAWITEMSTRUCT& /*d*/) {}

 protected:
  // Creates the child window with the parent's font; WS_CHILD | WS_VISIBLE are added.
  void CreateControl(HWND parent, const char* cls, const char* text, DWORD style, DWORD exStyle,
                     int x, int y, int w, int h, int id);
  HWND h_ = nullptr;
};

// The descendant of a window with that control ID (controls may sit on panels).
HWND FindControl(HWND root, int id);

}  // namespace kw
