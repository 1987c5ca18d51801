#include "toolkit/Control.h"

namespace kw {

namespace {

// Wrappers are marked so that another user of GWLP_USERDATA is never mistaken for one.
constexpr const char* kMark = "kwControl";

struct Search {
  int id;
  HWND found;
};

BOOL CALLBACK MatchId(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  if (GetDlgCtrlID(h) != s->id) return TRUE;
  s->found = h;
  return FALSE;
}

}  // namespace

std::string Control::Text() const {
  int n = GetWindowTextLengthA(h_);
  std::string s(size_t(n) + 1, '\0');
  n = GetWindowTextA(h_, s.data(), n + 1);
  s.resize(size_t(n > 0 ? n : 0));
  return s;
}

Control* Control::FromHandle(HWND h) {
  if (!h || !GetPropA(h, kMark)) return nullptr;
  return reinterpret_cast<Control*>(GetWindowLongPtrA(h, GWLP_USERDATA));
}

void Control::CreateControl(HWND parent, const char* cls, const char* text, DWORD style,
                            DWORD exStyle, int x, int y, int w, int h, int id) {
  h_ = CreateWindowExA(exStyle, cls, text, style | WS_CHILD | WS_VISIBLE, x, y, w, h, parent,
                       reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(h_, GWLP_USERDATA, LONG_PTR(this));
  SetPropA(h_, kMark, HANDLE(1));
  SendMessageA(h_, WM_SETFONT, SendMessageA(parent, WM_GETFONT, 0, 0), FALSE);
}

HWND FindControl(HWND root, int id) {
  Search s{id, nullptr};
  EnumChildWindows(root, MatchId, LPARAM(&s));
  return s.found;
}

}  // namespace kw
