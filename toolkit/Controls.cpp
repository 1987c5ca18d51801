#include "toolkit/Controls.h"

#include <shlobj.h>

namespace kw {

// ---- Label
void Label::Create(HWND parent, int id, const std::string& text, int x, int y, int w, int h,
                   Align align, bool wrap) {
  DWORD style = (align == kLeft && !wrap ? SS_LEFTNOWORDWRAP : DWORD(align)) | SS_NOPREFIX;
  autoSize_ = w == 0;
  CreateControl(parent, "STATIC", text.c_str(), style, 0, x, y, w, h, id);
  if (autoSize_) FitText();
}

void Label::SetText(const std::string& text) {
  Control::SetText(text);
  if (autoSize_) FitText();
  if (transparent_) {
    // The parent paints what lies behind the text.
    RECT r;
    GetWindowRect(h_, &r);
    HWND parent = GetParent(h_);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    InvalidateRect(parent, &r, TRUE);
  }
}

void Label::FitText() {
  HDC dc = GetDC(h_);
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(h_, WM_GETFONT, 0, 0)));
  std::string text = Text();
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(h_, dc);
  SetWindowPos(h_, nullptr, 0, 0, r.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HBRUSH Label::CtlColor(HDC dc) {
  if (color_ != CLR_INVALID) ::SetTextColor(dc, color_);
  if (!transparent_) return color_ != CLR_INVALID ? GetSysColorBrush(COLOR_BTNFACE) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  return HBRUSH(GetStockObject(NULL_BRUSH));
}

// ---- Buttons
void Button::Create(HWND parent, int id, const std::string& caption, int x, int y, int w, int h) {
  CreateControl(parent, "BUTTON", caption.c_str(), BS_PUSHBUTTON | WS_TABSTOP, 0, x, y, w, h, id);
}

void GlyphButton::Create(HWND parent, int id, const std::string& caption, Glyph glyph, int x,
                         int y, int w, int h) {
  glyph_ = glyph;
  CreateControl(parent, "BUTTON", caption.c_str(), BS_OWNERDRAW | WS_TABSTOP, 0, x, y, w, h, id);
}

void GlyphButton::DrawItem(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  bool pushed = (d.itemState & ODS_SELECTED) != 0;
  bool disabled = (d.itemState & ODS_DISABLED) != 0;
  DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
  int shift = pushed ? 1 : 0;
  int gx = r.left + 10 + shift, gy = (r.top + r.bottom) / 2 - 4 + shift;
  COLORREF ink = disabled ? GetSysColor(COLOR_GRAYTEXT)
                          : glyph_ == kCancel ? RGB(192, 0, 0) : RGB(0, 128, 0);
  HPEN pen = CreatePen(PS_SOLID, glyph_ == kCancel ? 2 : 1, ink);
  HBRUSH brush = CreateSolidBrush(ink);
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, brush);
  if (glyph_ == kCancel) {
    MoveToEx(dc, gx, gy, nullptr);
    LineTo(dc, gx + 8, gy + 8);
    MoveToEx(dc, gx + 8, gy, nullptr);
    LineTo(dc, gx, gy + 8);
  } else {
    POINT tri[3] = {{gx, gy}, {gx + 8, gy + 4}, {gx, gy + 8}};
    if (glyph_ == kBack) tri[0].x = tri[2].x = gx + 8, tri[1].x = gx;
    Polygon(dc, tri, 3);
  }
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);
  char text[64];
  GetWindowTextA(d.hwndItem, text, sizeof text);
  RECT tr{r.left + 20 + shift, r.top + shift, r.right + shift, r.bottom + shift};
  SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextA(dc, text, -1, &tr, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (d.itemState & ODS_FOCUS) {
    RECT fr = r;
    InflateRect(&fr, -4, -4);
    DrawFocusRect(dc, &fr);
  }
}

void CheckBox::Create(HWND parent, int id, const std::string& caption, int x, int y, int w,
                      int h) {
  CreateControl(parent, "BUTTON", caption.c_str(), BS_AUTOCHECKBOX | WS_TABSTOP, 0, x, y, w, h, id);
}

void RadioButton::Create(HWND parent, int id, const std::string& caption, int x, int y, int w,
                         int h, bool firstOfGroup) {
  CreateControl(parent, "BUTTON", caption.c_str(),
                BS_AUTORADIOBUTTON | (firstOfGroup ? WS_GROUP | WS_TABSTOP : 0), 0, x, y, w, h, id);
}

void GroupBox::Create(HWND parent, int id, const std::string& caption, int x, int y, int w,
                      int h) {
  CreateControl(parent, "BUTTON", caption.c_str(), BS_GROUPBOX, 0, x, y, w, h, id);
}

// ---- Texts and lists
void Edit::Create(HWND parent, int id, const std::string& text, int x, int y, int w, int h) {
  CreateControl(parent, "EDIT", text.c_str(), ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, x, y,
                w, h, id);
}

void Memo::Create(HWND parent, int id, int x, int y, int w, int h, int options) {
  DWORD style = ES_MULTILINE | ES_AUTOVSCROLL;
  if (options & kReadOnly) style |= ES_READONLY;
  if (options & kScrollBars) style |= WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL;
  CreateControl(parent, "EDIT", "", style, (options & kBorder) ? WS_EX_CLIENTEDGE : 0, x, y, w, h,
                id);
}

std::vector<std::string> Memo::Lines() const {
  std::vector<std::string> lines;
  std::string text = Text();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

void Memo::SetLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  SetText(text);
}

void Memo::AddLine(const std::string& line) {
  std::string text = Text();
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  SetText(text + line + "\r\n");
}

void ListBox::Create(HWND parent, int id, int x, int y, int w, int h) {
  CreateControl(parent, "LISTBOX", "", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                WS_EX_CLIENTEDGE, x, y, w, h, id);
}

std::string ListBox::Item(int i) const {
  LRESULT n = SendMessageA(h_, LB_GETTEXTLEN, WPARAM(i), 0);
  if (n == LB_ERR) return {};
  std::string s(size_t(n) + 1, '\0');
  n = SendMessageA(h_, LB_GETTEXT, WPARAM(i), LPARAM(s.data()));
  s.resize(size_t(n > 0 ? n : 0));
  return s;
}

void ComboBox::Create(HWND parent, int id, int x, int y, int w, int dropHeight) {
  CreateControl(parent, "COMBOBOX", "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                0, x, y, w, dropHeight, id);
}

void ProgressBar::Create(HWND parent, int id, int x, int y, int w, int h) {
  CreateControl(parent, PROGRESS_CLASSA, "", 0, 0, x, y, w, h, id);
  SendMessageA(h_, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  SendMessageA(h_, PBM_SETSTEP, 1, 0);
}

// ---- Pictures and frames
Image::~Image() {
  if (bitmap_) DeleteObject(bitmap_);
}

void Image::Create(HWND parent, int id, int x, int y) {
  CreateControl(parent, "STATIC", "", SS_BITMAP, 0, x, y, 0, 0, id);
}

bool Image::LoadFromFile(const std::string& path) {
  auto bmp = HBITMAP(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
  if (!bmp) return false;
  SendMessageA(h_, STM_SETIMAGE, IMAGE_BITMAP, LPARAM(bmp));
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = bmp;
  return true;
}

void Separator::Create(HWND parent, int id, int x, int y, int w) {
  CreateControl(parent, "STATIC", "", SS_ETCHEDHORZ, 0, x, y, w, 2, id);
}

namespace {

// Panels pass what their controls tell them on to the form. A multi-line edit
// in dialog mode (the form's keyboard handling puts it there) turns Tab into
// WM_NEXTDLGCTL and Esc into WM_CLOSE to its parent: the panel moves the focus
// on as a dialog would, and is never closed by a message.
LRESULT CALLBACK PanelProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      return 0;
    case WM_NEXTDLGCTL: {
      HWND top = h;
      while ((GetWindowLongA(top, GWL_STYLE) & WS_CHILD) && GetParent(top)) top = GetParent(top);
      HWND next = LOWORD(lp) ? HWND(wp) : GetNextDlgTabItem(top, GetFocus(), wp != 0);
      if (next) SetFocus(next);
      return 0;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_GETFONT:
      return SendMessageA(GetParent(h), msg, wp, lp);
  }
  return DefWindowProcA(h, msg, wp, lp);
}

const char* PanelClass() {
  static const char* name = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
    wc.lpszClassName = "KwPanel";
    RegisterClassA(&wc);
    return "KwPanel";
  }();
  return name;
}

}  // namespace

void Panel::Create(HWND parent, int id, int x, int y, int w, int h, Bevel bevel) {
  CreateControl(parent, PanelClass(), "", WS_CLIPSIBLINGS,
                WS_EX_CONTROLPARENT | (bevel == kLowered ? WS_EX_STATICEDGE : 0), x, y, w, h, id);
}

// ---- Folder edit box
void FolderEdit::Create(HWND parent, int id, const std::string& text, int x, int y, int w, int h,
                        const std::string& dialogTitle) {
  title_ = dialogTitle;
  Edit::Create(parent, id, text, x, y, w - h, h);
  button_.owner = this;
  button_.Create(parent, id + 1, "...", x + w - h, y, h, h);
}

bool FolderEdit::BrowseButton::Notify(int code) {
  if (code == BN_CLICKED) owner->Browse();
  return true;
}

namespace {
int CALLBACK StartIn(HWND dlg, UINT msg, LPARAM, LPARAM data) {
  if (msg == BFFM_INITIALIZED) SendMessageA(dlg, BFFM_SETSELECTIONA, TRUE, data);
  return 0;
}
}  // namespace

void FolderEdit::Browse() {
  char path[MAX_PATH];
  std::string start = Text();
  BROWSEINFOA bi{};
  bi.hwndOwner = GetParent(h_);
  bi.pszDisplayName = path;
  bi.lpszTitle = title_.c_str();
  bi.ulFlags = BIF_RETURNONLYFSDIRS;
  bi.lpfn = StartIn;
  bi.lParam = LPARAM(start.c_str());
  LPITEMIDLIST pidl = SHBrowseForFolderA(&bi);
  if (!pidl) return;
  if (SHGetPathFromIDListA(pidl, path)) SetText(path);
  IMalloc* m = nullptr;
  if (SUCCEEDED(SHGetMalloc(&m))) {
    m->Free(pidl);
    m->Release();
  }
}

}  // namespace kw
