#include "toolkit/Hints.h"

#include <windows.h>
#include <commctrl.h>

#include "toolkit/Control.h"

namespace kw {

Hints::~Hints() {
  if (tip_ && IsWindow(tip_)) DestroyWindow(tip_);
}

void Hints::Create(HWND form) {
  form_ = form;
  tip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

void Hints::Add(const Control& c, const std::string& text) { Set(c.Handle(), text); }

void Hints::Set(HWND control, const std::string& text) {
  TOOLINFOA ti{};
  ti.cbSize = TTTOOLINFOA_V1_SIZE;  // the size that Windows 95's comctl32 knows
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

void Hints::SetActive(bool on) { SendMessageA(tip_, TTM_ACTIVATE, on, 0); }

}  // namespace kw
