// A form: a top-level window whose controls are fields and whose reactions are
// handlers. Derived forms override Command (buttons, menus), Timer and
// FormShow, and switch on the control ID.
#pragma once
#include <string>

#include "toolkit/Gdi.h"
#include "toolkit/Window.h"

namespace kw {

// Frame styles: a fixed dialog frame, or a sizeable captioned window.
constexpr DWORD kDialogStyle = WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPSIBLINGS;
constexpr DWORD kSingleStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_BORDER;

class Form : public Window {
 public:
  // Creates the window hidden, with its font for every control on it. The first
  // form created becomes the program's main form.
  void CreateForm(const char* className, const char* caption, int width, int height,
                  DWORD style = kDialogStyle, const char* fontFace = "MS Sans Serif",
                  int fontPoints = 8);

  void SetCaption(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
  std::string Caption() const;
  void SetBounds(int left, int top, int width, int height);
  void SetClientSize(int width, int height);
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int x) { SetBounds(x, Top(), Width(), Height()); }
  void SetTop(int y) { SetBounds(Left(), y, Width(), Height()); }

  // FormShow runs first, then the window appears.
  void Show();
  void Hide() { ShowWindow(hwnd_, SW_HIDE); }
  bool Visible() const { return IsWindowVisible(hwnd_) != FALSE; }
  // A modal form ends its modal display; the main form ends the program;
  // any other form hides.
  void Close();
  // Shows the form with the program's other windows disabled and returns when
  // it closes (or the program ends).
  void ShowModal();
  bool Modal() const { return modal_; }
  // Paints the form and its controls now.
  void Repaint();
  HFONT FontHandle() const { return font_.Handle(); }
  // The control that has the focus when the form is next activated.
  void SetActiveControl(HWND control) { activeControl_ = control; }
  // The button pressed by Esc.
  void SetCancelControl(int id) { cancelId_ = id; }

 protected:
  virtual void Command(int /*id*/, int /*code*/) {}
  virtual void Timer(UINT /*id*/) {}
  virtual void FormShow() {}
  // Paints the client area; return false to let the system fill it.
  virtual bool Paint(HDC /*dc*/) { return false; }
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  Font font_;
  bool modal_ = false;
  bool modalDone_ = false;
  int cancelId_ = 0;
  HWND activeControl_ = nullptr;
};

}  // namespace kw
