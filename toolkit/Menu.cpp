#include "toolkit/Menu.h"

namespace kw {

HMENU MainMenu::AddPopup(const std::string& caption) {
  if (!menu_) menu_ = CreateMenu();
  HMENU popup = CreatePopupMenu();
  AppendMenuA(menu_, MF_POPUP | MF_STRING, UINT_PTR(popup), caption.c_str());
  if (form_) DrawMenuBar(form_);
  return popup;
}

void MainMenu::Attach(HWND form) {
  form_ = form;
  SetMenu(form, menu_);
}

}  // namespace kw
