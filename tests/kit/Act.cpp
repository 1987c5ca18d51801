// Acting on controls as a user would, and reading what they show.
#include "tests/kit/Internal.h"

#include <commctrl.h>

namespace uikit {

using namespace detail;

namespace {

// A user reaches a control only when it and every window around it is shown
// and enabled: a modal box disables the window below, not its controls.
void MustBeUsable(HWND w, const char* action) {
  if (!IsWindow(w)) throw Failure(std::string("cannot ") + action + ": the control is gone");
  if (!IsWindowVisible(w)) throw Failure(std::string("cannot ") + action + " hidden " + Describe(w));
  for (HWND a = w; a; a = (GetWindowLongA(a, GWL_STYLE) & WS_CHILD) ? GetParent(a) : nullptr) {
    if (!IsWindowEnabled(a)) {
      throw Failure(std::string("cannot ") + action + " " + Describe(w) + ": " +
                    (a == w ? "it is disabled" : Describe(a) + " is disabled"));
    }
  }
}

void Notify(HWND control, WORD code) {
  Post(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
       reinterpret_cast<LPARAM>(control));
}

bool MultiSelect(HWND list) {
  return (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

void CheckIndex(HWND list, UINT countMsg, int index) {
  int count = static_cast<int>(Ask(list, countMsg));
  if (index < 0 || index >= count) {
    throw Failure(Describe(list) + " has " + std::to_string(count) + " items, no item " + std::to_string(index));
  }
}

// Item texts are read with the W messages: Wine 8 copies only the first
// character when an ANSI caller reads another process's list.
std::vector<std::string> Items(HWND w, UINT countMsg, UINT lenMsg, UINT textMsg) {
  int count = static_cast<int>(Ask(w, countMsg));
  std::vector<std::string> items;
  for (int i = 0; i < count; ++i) {
    DWORD_PTR len = 0, got = 0;
    if (!SendMessageTimeoutW(w, lenMsg, i, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWait, &len) ||
        static_cast<LRESULT>(len) < 0) {
      throw Failure(Describe(w) + " did not give item " + std::to_string(i));
    }
    std::vector<wchar_t> text(len + 1, L'\0');
    if (!SendMessageTimeoutW(w, textMsg, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kAnswerWait, &got)) {
      throw Failure(Describe(w) + " did not give item " + std::to_string(i));
    }
    int wlen = static_cast<int>(got < text.size() ? got : text.size() - 1);
    std::string s(static_cast<size_t>(wlen) * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, text.data(), wlen, s.data(), static_cast<int>(s.size()), nullptr, nullptr);
    s.resize(n > 0 ? static_cast<size_t>(n) : 0);
    items.push_back(s);
  }
  return items;
}

// A menu caption as a user reads it: no '&', no accelerator text.
std::string PlainCaption(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size() && s[i] != '\t'; ++i) {
    if (s[i] == '&' && i + 1 < s.size() && s[++i] != '&') {
      out += s[i];
      continue;
    }
    out += s[i];
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string PathText(const std::vector<std::string>& path) {
  std::string s;
  for (const auto& p : path) s += (s.empty() ? "" : " > ") + p;
  return s;
}

}  // namespace

void Click(HWND button) {
  MustBeUsable(button, "click");
  Post(button, BM_CLICK);
}

void Click(HWND parent, int id) { Click(Child(parent, id)); }

void ClickHandled(HWND button) {
  MustBeUsable(button, "click");
  detail::Ask(button, BM_CLICK);
}

void SetCheck(HWND box, bool on) {
  if (Checked(box) == on) return;
  Click(box);
  // The click is posted: a second SetCheck must not read the state before it.
  WaitUntil([&] { return Checked(box) == on; }, Describe(box) + (on ? " ticked" : " cleared"));
}

void SetText(HWND edit, const std::string& text) {
  MustBeUsable(edit, "type into");
  if (!Ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))) {
    throw Failure("cannot set the text of " + Describe(edit));
  }
}

void Type(HWND w, const std::string& text) {
  MustBeUsable(w, "type into");
  for (unsigned char c : text) Post(w, WM_CHAR, c, 1);
}

void PressKey(HWND w, UINT vk) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(vk, 0)) << 16;
  Post(w, WM_KEYDOWN, vk, scan | 1);
  Post(w, WM_KEYUP, vk, scan | 1 | 0xC0000000);
}

void Close(HWND top) { Post(top, WM_CLOSE); }

void ToFront(HWND top) {
  SetWindowPos(top, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(top);
}

void SelectItem(HWND list, int index) {
  MustBeUsable(list, "select in");
  CheckIndex(list, LB_GETCOUNT, index);
  if (MultiSelect(list)) {
    Ask(list, LB_SETSEL, TRUE, index);
    Ask(list, LB_SETCARETINDEX, index, FALSE);
  } else {
    Ask(list, LB_SETCURSEL, index);
  }
  Notify(list, LBN_SELCHANGE);
}

void SelectItems(HWND list, const std::vector<int>& indexes) {
  MustBeUsable(list, "select in");
  if (!MultiSelect(list)) throw Failure(Describe(list) + " is not a multi-select list");
  for (int i : indexes) CheckIndex(list, LB_GETCOUNT, i);
  Ask(list, LB_SETSEL, FALSE, -1);
  for (int i : indexes) Ask(list, LB_SETSEL, TRUE, i);
  if (!indexes.empty()) Ask(list, LB_SETCARETINDEX, indexes.back(), FALSE);
  Notify(list, LBN_SELCHANGE);
}

void DoubleClickItem(HWND list, int index) {
  SelectItem(list, index);
  Notify(list, LBN_DBLCLK);
}

void SelectCombo(HWND combo, int index) {
  MustBeUsable(combo, "select in");
  CheckIndex(combo, CB_GETCOUNT, index);
  Ask(combo, CB_SETCURSEL, index);
  Notify(combo, CBN_SELCHANGE);
}

void SelectCombo(HWND combo, const std::string& text) {
  std::vector<std::string> items = ComboItems(combo);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return SelectCombo(combo, static_cast<int>(i));
  }
  throw Failure(Describe(combo) + " has no item " + Quote(text));
}

void InvokeMenu(HWND top, int commandId) { Post(top, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

void SendCommand(HWND top, int commandId) { detail::Ask(top, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

// SC_KEYMENU with a letter opens that menu-bar item and starts the menu loop,
// which then takes posted characters from the queue like typed keys. Each
// letter waits for its menu to be open: sent earlier, the loop would apply it
// to the level above.
void InvokeMenuKeys(HWND top, const std::string& mnemonics) {
  if (mnemonics.empty()) return;
  if (!IsWindowEnabled(top)) throw Failure("cannot use the menu of disabled " + Describe(top));
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  Post(top, WM_SYSCOMMAND, SC_KEYMENU, static_cast<unsigned char>(mnemonics[0]));
  for (size_t i = 1; i < mnemonics.size(); ++i) {
    size_t open = 0;
    WaitUntil([&] {
      open = 0;
      for (HWND w : TopWindows(pid)) open += ClassOf(w) == "#32768";
      return open >= i;
    }, "menu of " + Describe(top) + " not open after keys '" + mnemonics.substr(0, i) + "'");
    Post(top, WM_CHAR, static_cast<unsigned char>(mnemonics[i]), 1);
  }
}

void InvokeMenu(HWND top, const std::vector<std::string>& path) {
  int id = MenuId(top, path);
  if (id < 0) throw Failure("no menu item " + PathText(path) + " in " + Describe(top));
  InvokeMenu(top, id);
}

bool MenuReadable(HWND top) {
  HMENU m = GetMenu(top);
  return m && GetMenuItemCount(m) > 0;
}

int MenuId(HWND top, const std::vector<std::string>& path) {
  HMENU menu = GetMenu(top);
  if (!menu || path.empty()) return -1;
  if (GetMenuItemCount(menu) < 0) {
    throw Failure("cannot read the menu of " + Describe(top) + " from this process");
  }
  for (size_t level = 0; level < path.size(); ++level) {
    int count = GetMenuItemCount(menu);
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
      char buf[256] = "";
      GetMenuStringA(menu, i, buf, sizeof buf, MF_BYPOSITION);
      if (PlainCaption(buf) == PlainCaption(path[level])) found = i;
    }
    if (found < 0) return -1;
    if (level + 1 == path.size()) {
      UINT id = GetMenuItemID(menu, found);
      return id == static_cast<UINT>(-1) ? -1 : static_cast<int>(id);
    }
    menu = GetSubMenu(menu, found);
    if (!menu) return -1;
  }
  return -1;
}

std::vector<std::string> ListItems(HWND list) { return Items(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT); }

std::vector<int> ListSelection(HWND list) {
  std::vector<int> sel;
  if (!MultiSelect(list)) {
    int cur = ListCurrent(list);
    if (cur >= 0) sel.push_back(cur);
    return sel;
  }
  int count = static_cast<int>(Ask(list, LB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    if (Ask(list, LB_GETSEL, i) > 0) sel.push_back(i);
  }
  return sel;
}

int ListCurrent(HWND list) {
  LRESULT r = Ask(list, LB_GETCURSEL);
  return r == LB_ERR ? -1 : static_cast<int>(r);
}

std::vector<std::string> ComboItems(HWND combo) {
  return Items(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int ComboCurrent(HWND combo) {
  LRESULT r = Ask(combo, CB_GETCURSEL);
  return r == CB_ERR ? -1 : static_cast<int>(r);
}

bool Checked(HWND button) { return Ask(button, BM_GETCHECK) == BST_CHECKED; }

int ProgressPos(HWND bar) { return static_cast<int>(Ask(bar, PBM_GETPOS)); }

std::pair<int, int> ProgressRange(HWND bar) {
  return {static_cast<int>(Ask(bar, PBM_GETRANGE, TRUE)), static_cast<int>(Ask(bar, PBM_GETRANGE, FALSE))};
}

}  // namespace uikit
