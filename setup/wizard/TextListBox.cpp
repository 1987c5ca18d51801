#include "setup/wizard/TextListBox.h"

#include "setup/wizard/FaceControls.h"

namespace setup {

void TTextListBox::Create(HWND parent, int id, int x, int y, int w, int h) {
  kw::ListBox::Create(parent, id, x, y, w, h);
  // LB_SETHORIZONTALEXTENT only has an effect on a list with a horizontal bar.
  SetWindowLongA(h_, GWL_STYLE, GetWindowLongA(h_, GWL_STYLE) | WS_HSCROLL);
  SetWindowPos(h_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  base_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(h_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  Remeasure();
}

HBRUSH TTextListBox::CtlColor(HDC dc) { return FaceColor(dc); }

LRESULT CALLBACK TTextListBox::SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = static_cast<TTextListBox*>(kw::Control::FromHandle(h));
  if (!self || !self->base_) return DefWindowProcA(h, msg, wp, lp);
  return self->ListMessage(msg, wp, lp);
}

LRESULT TTextListBox::ListMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      LRESULT r = CallWindowProcA(base_, h_, msg, wp, lp);
      if (r >= 0) {
        int w = Measure(reinterpret_cast<const char*>(lp));
        if (w > extent_) SetExtent(w);
      }
      return r;
    }
    case LB_DELETESTRING: {
      // Only the loss of the widest entry can narrow the range.
      bool widest = MeasureItem(int(wp)) >= extent_;
      LRESULT r = CallWindowProcA(base_, h_, msg, wp, lp);
      if (r != LB_ERR && widest) Remeasure();
      return r;
    }
    case LB_RESETCONTENT: {
      SendMessageA(h_, WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
      LRESULT r = CallWindowProcA(base_, h_, msg, wp, lp);
      SetExtent(0);
      return r;
    }
    case WM_SETFONT: {
      LRESULT r = CallWindowProcA(base_, h_, msg, wp, lp);
      Remeasure();
      return r;
    }
  }
  return CallWindowProcA(base_, h_, msg, wp, lp);
}

int TTextListBox::Measure(const std::string& text) const {
  HDC dc = GetDC(h_);
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(h_, WM_GETFONT, 0, 0)));
  std::string s = text + "x";
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, s.c_str(), int(s.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(h_, dc);
  return size.cx;
}

int TTextListBox::MeasureItem(int index) const {
  if (index < 0 || index >= Count()) return -1;
  return Measure(Item(index));
}

void TTextListBox::Remeasure() {
  int widest = 0;
  for (int i = 0, n = Count(); i < n; ++i) {
    int w = MeasureItem(i);
    if (w > widest) widest = w;
  }
  SetExtent(widest);
}

void TTextListBox::SetExtent(int px) {
  extent_ = px;
  CallWindowProcA(base_, h_, LB_SETHORIZONTALEXTENT, WPARAM(px), 0);
}

}  // namespace setup
