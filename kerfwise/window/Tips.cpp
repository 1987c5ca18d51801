#include "kerfwise/window/Tips.h"

#include <commctrl.h>

namespace kerfwise {

Tips::~Tips() {
  if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void Tips::Create(HWND form) {
  form_ = form;
  tip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Tips::Set(HWND control, const std::string& text) {
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;  // the size Windows 95's comctl32 knows
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = form_;
  ti.uId = UINT_PTR(control);
  ti.lpszText = const_cast<char*>(text.c_str());
  for (HWND c : added_)
    if (c == control) {
      SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, LPARAM(&ti));
      return;
    }
  SendMessageA(tip_, TTM_ADDTOOLA, 0, LPARAM(&ti));
  added_.push_back(control);
}

}  // namespace kerfwise
