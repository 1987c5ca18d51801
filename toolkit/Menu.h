// A main menu: pop-ups with items whose IDs reach the form's Command(id, 0).
#pragma once
#include <windows.h>

#include <string>

namespace kw {

class MainMenu {
 public:
  // Returns the pop-up's handle, to add items to.
  HMENU AddPopup(const std::string& caption);
  void AddItem(HMENU popup, int id, const std::string& caption) {
    AppendMenuA(popup, MF_STRING, UINT_PTR(id), caption.c_str());
  }
  void AddSeparator(HMENU popup) { AppendMenuA(popup, MF_SEPARATOR, 0, nullptr); }
  // Puts the menu on the window, which then owns it.
  void Attach(HWND form);
  void SetChecked(int id, bool on) {
    CheckMenuItem(menu_, UINT(id), MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  }
  bool Checked(int id) const {
    return (GetMenuState(menu_, UINT(id), MF_BYCOMMAND) & MF_CHECKED) != 0;
  }
  void SetEnabled(int id, bool on) {
    EnableMenuItem(menu_, UINT(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
  }
  HMENU Handle() const { return menu_; }

 private:
  HMENU menu_ = nullptr;
  HWND form_ = nullptr;
};

}  // namespace kw
