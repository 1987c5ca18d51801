// TTextListBox in a real window: the horizontal range follows the widest
// entry through adds, deletions, font changes and clearing.
#include "setup/wizard/TextListBox.h"

#include <gtest/gtest.h>

#include "toolkit/Form.h"

using namespace setup;

namespace {

class ListForm : public kw::Form {
 public:
  ListForm() {
    CreateForm("KwListTest", "list", 300, 200);
    list.Create(hwnd_, 10, 8, 8, 120, 80);
  }
  TTextListBox list;
};

int Width(HWND list, const std::string& text) {
  HDC dc = GetDC(list);
  HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(list, WM_GETFONT, 0, 0)));
  SIZE s{};
  GetTextExtentPoint32A(dc, (text + "x").c_str(), int(text.size() + 1), &s);
  SelectObject(dc, old);
  ReleaseDC(list, dc);
  return s.cx;
}

int Extent(HWND list) { return int(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0)); }

}  // namespace

TEST(TextListBox, RangeFollowsTheWidestEntry) {
  ListForm f;
  HWND h = f.list.Handle();
  EXPECT_EQ(Extent(h), 0);
  const std::string longName = "A rather long Start Menu folder name";
  f.list.Add("StartUp");
  EXPECT_EQ(Extent(h), Width(h, "StartUp"));
  f.list.Add(longName);
  f.list.Add("Notes.lnk");
  EXPECT_EQ(Extent(h), Width(h, longName));
  EXPECT_EQ(f.list.HorizontalExtent(), Extent(h));
  // A narrower entry going changes nothing; the widest going narrows the range.
  f.list.Delete(2);
  EXPECT_EQ(Extent(h), Width(h, longName));
  f.list.Delete(1);
  EXPECT_EQ(Extent(h), Width(h, "StartUp"));
  // Entries added behind the wrapper's back count as well.
  SendMessageA(h, LB_INSERTSTRING, 0, LPARAM(longName.c_str()));
  EXPECT_EQ(Extent(h), Width(h, longName));
}

TEST(TextListBox, FontChangeMeasuresAnewAndClearingDropsToZero) {
  ListForm f;
  HWND h = f.list.Handle();
  f.list.Add("Accessories");
  int small = Extent(h);
  kw::Font big("Arial", 20);
  f.list.SetFont(big.Handle());
  EXPECT_EQ(Extent(h), Width(h, "Accessories"));
  EXPECT_GT(Extent(h), small);
  SendMessageA(h, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
  f.list.Clear();
  EXPECT_EQ(Extent(h), 0);
  EXPECT_EQ(f.list.HorizontalExtent(), 0);
  EXPECT_EQ(GetScrollPos(h, SB_HORZ), 0);
  f.list.SetFont(nullptr);  // the font goes before the list does
}
