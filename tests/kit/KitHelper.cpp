// A small program for the kit's self-test: one control of each kind the
// programs under test use, a menu, a nested panel, message boxes with each
// icon, and a drop target. What it saw last is shown in the status line.
// Command line: the exit code to end with.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

namespace {

enum : int {
  kEdit = 101, kList = 102, kMulti = 103, kCombo = 104, kCheck = 105, kRadio1 = 106, kRadio2 = 107,
  kProgress = 108, kStatus = 109, kWarning = 110, kConfirm = 111, kInfo = 112, kError = 113, kPlain = 114,
  kPanel = 119, kNested = 120, kMenuAbout = 201, kMenuExit = 202
};

HWND gMain, gStatus;
int gExitCode;

void Status(const std::string& s) { SetWindowTextA(gStatus, s.c_str()); }

HWND Make(HWND parent, const char* cls, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void Box(const char* caption, const char* text, UINT type) {
  int answer = MessageBoxA(gMain, text, caption, type);
  Status("answer " + std::to_string(answer));
}

void Create(HWND w) {
  Make(w, "EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 50, 10, 200, 22, kEdit);
  HWND list = Make(w, "LISTBOX", "", WS_BORDER | LBS_NOTIFY, 50, 40, 120, 60, kList);
  HWND multi = Make(w, "LISTBOX", "", WS_BORDER | LBS_NOTIFY | LBS_EXTENDEDSEL, 180, 40, 120, 60, kMulti);
  HWND combo = Make(w, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL, 310, 40, 120, 100, kCombo);
  for (const char* s : {"alpha", "beta", "gamma"}) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageA(multi, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  for (const char* s : {"one", "two", "three"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  Make(w, "BUTTON", "Check me", BS_AUTOCHECKBOX, 50, 110, 100, 20, kCheck);
  Make(w, "BUTTON", "First", BS_AUTORADIOBUTTON | WS_GROUP, 160, 110, 70, 20, kRadio1);
  Make(w, "BUTTON", "Second", BS_AUTORADIOBUTTON, 240, 110, 70, 20, kRadio2);
  HWND bar = Make(w, PROGRESS_CLASSA, "", 0, 50, 140, 200, 16, kProgress);
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 200));
  SendMessageA(bar, PBM_SETPOS, 40, 0);
  const char* boxes[] = {"Warning", "Confirm", "Information", "Error", "Plain"};
  for (int i = 0; i < 5; ++i) Make(w, "BUTTON", boxes[i], BS_PUSHBUTTON, 50 + i * 80, 170, 75, 24, kWarning + i);
  HWND panel = Make(w, "STATIC", "", SS_GRAYFRAME, 50, 205, 200, 40, kPanel);
  Make(panel, "BUTTON", "Nested", BS_PUSHBUTTON, 10, 8, 80, 24, kNested);
  gStatus = Make(w, "STATIC", "ready", SS_LEFT, 50, 255, 400, 20, kStatus);

  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, kMenuExit, "E&xit\tAlt+F4");
  HMENU help = CreatePopupMenu();
  AppendMenuA(help, MF_STRING, kMenuAbout, "&About...");
  HMENU bar2 = CreateMenu();
  AppendMenuA(bar2, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  AppendMenuA(bar2, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Help");
  SetMenu(w, bar2);
  DragAcceptFiles(w, TRUE);
}

void Command(int id, int code) {
  switch (id) {
    case kWarning: return Box("Warning", "Something is off.", MB_OK | MB_ICONWARNING);
    case kConfirm: return Box("Confirm", "Go on?", MB_OKCANCEL | MB_ICONQUESTION);
    case kInfo: return Box("Information", "All done.", MB_OK | MB_ICONINFORMATION);
    case kError: return Box("Error", "It broke.", MB_OK | MB_ICONERROR);
    case kPlain: return Box("Plain", "Yes or no?", MB_YESNO);
    case kMenuAbout: return Box("About", "Kit helper", MB_OK);
    case kMenuExit: DestroyWindow(gMain); return;
  }
  std::string s = "command " + std::to_string(id) + " code " + std::to_string(code);
  if (id == kList || id == kMulti) {
    HWND list = GetDlgItem(gMain, id);
    s += " sel";
    for (int i = 0; i < 3; ++i)
      if (SendMessageA(list, LB_GETSEL, i, 0) > 0) s += " " + std::to_string(i);
  } else if (id == kCombo) {
    s += " cur " + std::to_string(SendMessageA(GetDlgItem(gMain, id), CB_GETCURSEL, 0, 0));
  }
  Status(s);
}

void Dropped(HDROP drop) {
  char name[MAX_PATH];
  UINT n = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  std::string s = "drop " + std::to_string(n);
  for (UINT i = 0; i < n; ++i) {
    DragQueryFileA(drop, i, name, sizeof name);
    s += std::string(" ") + name;
  }
  POINT pt{};
  DragQueryPoint(drop, &pt);
  s += " at " + std::to_string(pt.x) + "," + std::to_string(pt.y);
  DragFinish(drop);
  Status(s);
}

LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: gMain = w; Create(w); return 0;
    case WM_COMMAND:
      if (lp && GetParent(reinterpret_cast<HWND>(lp)) != w && LOWORD(wp) == kNested) {
        Status("nested");
        return 0;
      }
      Command(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_KEYDOWN: Status("key " + std::to_string(wp)); return 0;
    case WM_DROPFILES: Dropped(reinterpret_cast<HDROP>(wp)); return 0;
    case WM_PAINT: {
      // A red square in the top-left corner for the pixel checks.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT r{0, 0, 40, 40};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &r, red);
      DeleteObject(red);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(gExitCode); return 0;
  }
  return DefWindowProcA(w, msg, wp, lp);
}

// The nested button's click goes to the panel (a static); pass it up.
WNDPROC gStaticProc;
LRESULT CALLBACK PanelProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND) return SendMessageA(GetParent(w), msg, wp, lp);
  return CallWindowProcA(gStaticProc, w, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR cmd, int show) {
  gExitCode = std::atoi(cmd);
  InitCommonControls();
  WNDCLASSA wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = "UiKitHelper";
  RegisterClassA(&wc);
  HWND w = CreateWindowExA(0, "UiKitHelper", "Kit Helper", WS_OVERLAPPEDWINDOW, 20, 20, 520, 340, nullptr, nullptr,
                           inst, nullptr);
  HWND panel = GetDlgItem(w, kPanel);
  gStaticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(panel, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PanelProc)));
  ShowWindow(w, show);
  UpdateWindow(w);
  MSG m;
  while (GetMessageA(&m, nullptr, 0, 0) > 0) {
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  return static_cast<int>(m.wParam);
}
