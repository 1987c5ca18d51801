// The controls the two programs use, each a few lines over its system class.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "toolkit/Control.h"

namespace kw {

// A static text. Transparent labels let the parent's painting show through
// (the parent must not clip its children); AutoSize fits the text.
class Label : public Control {
 public:
  enum Align { kLeft = SS_LEFT, kRight = SS_RIGHT, kCenter = SS_CENTER };
  void Create(HWND parent, int id, const std::string& text, int x, int y, int w = 0, int h = 0,
              Align align = kLeft, bool wrap = false);
  void SetText(const std::string& text);
  void SetAutoSize(bool on) { autoSize_ = on; }
  void SetTransparent(bool on) { transparent_ = on; }
  void SetTextColor(COLORREF c) { color_ = c; }
  HBRUSH CtlColor(HDC dc) override;

 private:
  void FitText();
  bool autoSize_ = false;
  bool transparent_ = false;
  COLORREF color_ = CLR_INVALID;
};

// A push button; clicks reach the form's Command(id, BN_CLICKED).
class Button : public Control {
 public:
  void Create(HWND parent, int id, const std::string& caption, int x, int y, int w, int h);
};

// A push button with a small arrow or cross drawn beside its caption.
class GlyphButton : public Button {
 public:
  enum Glyph { kBack, kNext, kCancel };
  void Create(HWND parent, int id, const std::string& caption, Glyph glyph, int x, int y, int w,
              int h);
  void DrawItem(const DRAWITEMSTRUCT& d) override;

 private:
  Glyph glyph_ = kNext;
};

class CheckBox : public Control {
 public:
  void Create(HWND parent, int id, const std::string& caption, int x, int y, int w, int h);
  bool Checked() const { return SendMessageA(h_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void SetChecked(bool on) { SendMessageA(h_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); }
};

// Radio buttons: the first of a group is created with firstOfGroup.
class RadioButton : public CheckBox {
 public:
  void Create(HWND parent, int id, const std::string& caption, int x, int y, int w, int h,
              bool firstOfGroup);
};

// The frame around a group of radio buttons (a sibling, not their parent).
class GroupBox : public Control {
 public:
  void Create(HWND parent, int id, const std::string& caption, int x, int y, int w, int h);
};

// A one-line edit box.
class Edit : public Control {
 public:
  void Create(HWND parent, int id, const std::string& text, int x, int y, int w, int h);
};

// A multi-line text box, by default read-only and borderless; text as lines.
class Memo : public Control {
 public:
  enum Options { kReadOnly = 1, kBorder = 2, kScrollBars = 4 };
  void Create(HWND parent, int id, int x, int y, int w, int h, int options = kReadOnly);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  void Clear() { SetText(""); }
};

class ListBox : public Control {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  int Add(const std::string& s) { return int(SendMessageA(h_, LB_ADDSTRING, 0, LPARAM(s.c_str()))); }
  void Delete(int i) { SendMessageA(h_, LB_DELETESTRING, WPARAM(i), 0); }
  void Clear() { SendMessageA(h_, LB_RESETCONTENT, 0, 0); }
  int Count() const { return int(SendMessageA(h_, LB_GETCOUNT, 0, 0)); }
  std::string Item(int i) const;
  int ItemIndex() const { return int(SendMessageA(h_, LB_GETCURSEL, 0, 0)); }
  void SetItemIndex(int i) { SendMessageA(h_, LB_SETCURSEL, WPARAM(i), 0); }
  void SetHorizontalExtent(int px) { SendMessageA(h_, LB_SETHORIZONTALEXTENT, WPARAM(px), 0); }
};

// An editable drop-down list.
class ComboBox : public Control {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int dropHeight);
  int Add(const std::string& s) { return int(SendMessageA(h_, CB_ADDSTRING, 0, LPARAM(s.c_str()))); }
  void Clear() { SendMessageA(h_, CB_RESETCONTENT, 0, 0); }
  int Count() const { return int(SendMessageA(h_, CB_GETCOUNT, 0, 0)); }
  int ItemIndex() const { return int(SendMessageA(h_, CB_GETCURSEL, 0, 0)); }
  void SetItemIndex(int i) { SendMessageA(h_, CB_SETCURSEL, WPARAM(i), 0); }
};

// The common progress bar, range 0 to 100.
class ProgressBar : public Control {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  void SetPosition(int pos) { SendMessageA(h_, PBM_SETPOS, WPARAM(pos), 0); }
  int Position() const { return int(SendMessageA(h_, PBM_GETPOS, 0, 0)); }
};

// A bitmap that sizes the control to itself; the control owns the bitmap.
class Image : public Control {
 public:
  ~Image() override;
  void Create(HWND parent, int id, int x, int y);
  // False when the file is no readable bitmap; the old picture stays.
  bool LoadFromFile(const std::string& path);

 private:
  HBITMAP bitmap_ = nullptr;
};

// An etched horizontal line.
class Separator : public Control {
 public:
  void Create(HWND parent, int id, int x, int y, int w);
};

// A container: its controls are hidden and shown with it; it passes their
// notifications on to its parent. Bevel: none or lowered.
class Panel : public Control {
 public:
  enum Bevel { kNone, kLowered };
  void Create(HWND parent, int id, int x, int y, int w, int h, Bevel bevel = kNone);
};

// An edit box with a browse button that picks a folder.
class FolderEdit : public Edit {
 public:
  // The button takes id + 1 and sits at the right end of the given box.
  void Create(HWND parent, int id, const std::string& text, int x, int y, int w, int h,
              const std::string& dialogTitle);
  void Browse();

 private:
  class BrowseButton : public Button {
   public:
    FolderEdit* owner = nullptr;
    bool Notify(int code) override;
  };
  BrowseButton button_;
  std::string title_;
};

}  // namespace kw
