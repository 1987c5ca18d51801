// TTextListBox: a single-column list whose horizontal scrolling range follows
// its widest entry (the entry's text and one "x", in the list's font), so long
// names can be scrolled into view. The list's own messages are watched, so the
// range stays right however entries are added or removed.
#pragma once
#include <string>

#include "toolkit/Controls.h"

namespace setup {

class TTextListBox : public kw::ListBox {
 public:
  void Create(HWND parent, int id, int x, int y, int w, int h);
  // The range now set, in pixels.
  int HorizontalExtent() const { return extent_; }
  HBRUSH CtlColor(HDC dc) override;  // button face, like the rest of the page

 private:
  static LRESULT CALLBACK SubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT ListMessage(UINT msg, WPARAM wp, LPARAM lp);
  int Measure(const std::string& text) const;
  int MeasureItem(int index) const;
  void Remeasure();
  void SetExtent(int px);

  WNDPROC base_ = nullptr;
  int extent_ = 0;
};

}  // namespace setup
