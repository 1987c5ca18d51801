#include "toolkit/Form.h"

#include <vector>

#include "toolkit/App.h"
#include "toolkit/Control.h"

namespace kw {

namespace {

RECT WindowBox(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

BOOL CALLBACK DisableOthers(HWND h, LPARAM lp) {
  auto* list = reinterpret_cast<std::vector<HWND>*>(lp);
  if (h != list->front() && IsWindowVisible(h) && IsWindowEnabled(h)) {
    EnableWindow(h, FALSE);
    list->push_back(h);
  }
  return TRUE;
}

}  // namespace

void Form::CreateForm(const char* className, const char* caption, int width, int height,
                      DWORD style, const char* fontFace, int fontPoints) {
  font_.Create(fontFace, fontPoints);
  CreateHandle(className, caption, style, WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT,
               width, height, nullptr);
  if (!App().MainForm) App().MainForm = this;
}

std::string Form::Caption() const {
  char buf[1024];
  int n = GetWindowTextA(hwnd_, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

void Form::SetBounds(int left, int top, int width, int height) {
  MoveWindow(hwnd_, left, top, width, height, TRUE);
}

void Form::SetClientSize(int width, int height) {
  RECT r{0, 0, width, height};
  AdjustWindowRectEx(&r, GetWindowLongA(hwnd_, GWL_STYLE), GetMenu(hwnd_) != nullptr,
                     GetWindowLongA(hwnd_, GWL_EXSTYLE));
  SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::Left() const { return WindowBox(hwnd_).left; }
int Form::Top() const { return WindowBox(hwnd_).top; }
int Form::Width() const {
  RECT r = WindowBox(hwnd_);
  return r.right - r.left;
}
int Form::Height() const {
  RECT r = WindowBox(hwnd_);
  return r.bottom - r.top;
}

void Form::Show() {
  FormShow();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
}

void Form::Close() {
  if (modal_) {
    modalDone_ = true;
  } else if (App().MainForm == this) {
    Hide();
    App().Terminate();
  } else {
    Hide();
  }
}

void Form::ShowModal() {
  std::vector<HWND> disabled{hwnd_};
  EnumThreadWindows(GetCurrentThreadId(), DisableOthers, LPARAM(&disabled));
  modal_ = true;
  modalDone_ = false;
  Show();
  SetForegroundWindow(hwnd_);
  while (!modalDone_ && !App().Terminated()) App().HandleMessage();
  // Re-enable before hiding, so that the activation goes back to the owner.
  for (size_t i = 1; i < disabled.size(); ++i) EnableWindow(disabled[i], TRUE);
  Hide();
  modal_ = false;
}

void Form::Repaint() {
  RedrawWindow(hwnd_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND: {
      int id = LOWORD(wp);
      int code = HIWORD(wp);
      if (id == IDCANCEL && !lp) {  // Esc, through the dialog keyboard handling
        HWND b = cancelId_ ? FindControl(hwnd_, cancelId_) : nullptr;
        if (b && IsWindowEnabled(b) && IsWindowVisible(b)) Command(cancelId_, BN_CLICKED);
        return 0;
      }
      if (Control* c = Control::FromHandle(HWND(lp)))
        if (c->Notify(code)) return 0;
      Command(id, code);
      return 0;
    }
    case WM_TIMER:
      Timer(UINT(wp));
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (Control* c = Control::FromHandle(HWND(lp)))
        if (HBRUSH b = c->CtlColor(HDC(wp))) return LRESULT(b);
      break;
    case WM_DRAWITEM: {
      auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (Control* c = Control::FromHandle(d->hwndItem)) c->DrawItem(*d);
      return TRUE;
    }
    case WM_GETFONT:
      return LRESULT(font_.Handle());
    case WM_ERASEBKGND:
      if (Paint(HDC(wp))) return 1;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ACTIVATE:
      // As dialogs do: the focus leaves with the form and comes back with it.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND f = GetFocus();
        if (f && IsChild(hwnd_, f)) activeControl_ = f;
      } else if (activeControl_ && IsWindow(activeControl_)) {
        SetFocus(activeControl_);
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
  }
  return Window::HandleMessage(msg, wp, lp);
}

}  // namespace kw
