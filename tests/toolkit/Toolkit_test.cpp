// The window toolkit in a real program under Wine: errors inside handlers,
// modal forms, Esc, timers, menus and what the controls hold.
#include <gtest/gtest.h>

#include "tests/kit/UiKit.h"
#include "tests/toolkit/ProbeIds.h"

using namespace uikit;

namespace {

struct Probe {
  Process p = Process::Start("\"" + Join(BinDir(), "tests\\toolkit\\toolkit_probe.exe") + "\"");
  HWND main = WaitTop(p, "TfProbe", "Probe");
  std::string Result() { return Text(Child(main, probe::kResult)); }
  void WaitResult(const std::string& text) {
    WaitUntil([&] { return Result() == text; }, "result '" + text + "'");
  }
};

}  // namespace

TEST(Toolkit, ErrorInAHandlerIsShownAndTheProgramGoesOn) {
  Probe t;
  Click(t.main, probe::kFail);
  MsgBox box = WaitMsgBox(t.p, "Probe Title");
  EXPECT_EQ(box.text, "Something went wrong");
  EXPECT_EQ(box.icon, Icon::Error);
  Answer(box, IDOK);
  EXPECT_EQ(t.Result(), "before the error");
  // Still alive and answering.
  SelectItem(Child(t.main, probe::kItems), 1);
  t.WaitResult("picked two");
  Close(t.main);
  EXPECT_EQ(t.p.Wait(), 7u);
}

TEST(Toolkit, ModalFormDisablesTheOthersAndEscClosesIt) {
  Probe t;
  Click(t.main, probe::kModal);
  HWND modal = WaitTop(t.p, "TfProbeModal", "Modal");
  t.WaitResult("modal open");
  EXPECT_FALSE(Enabled(t.main));
  PressKey(Child(modal, probe::kModalCancel), VK_ESCAPE);
  WaitGone(modal, "the modal form");
  t.WaitResult("modal returned");
  EXPECT_TRUE(Enabled(t.main));
  Close(t.main);
  EXPECT_EQ(t.p.Wait(), 7u);
}

TEST(Toolkit, TimersAndMenus) {
  Probe t;
  Click(t.main, probe::kTimer);
  t.WaitResult("tick");
  InvokeMenu(t.main, probe::kMenuHello);
  t.WaitResult("hello from the menu");
  Close(t.main);
  t.p.Wait();
}

TEST(Toolkit, ControlsHoldWhatTheFormPutIn) {
  Probe t;
  EXPECT_EQ(Text(Child(t.main, probe::kLines)), "first\r\nsecond\r\n");
  EXPECT_EQ(ListItems(Child(t.main, probe::kItems)), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(Checked(Child(t.main, probe::kCheck)));
  EXPECT_EQ(ComboItems(Child(t.main, probe::kCombo)), (std::vector<std::string>{"alpha", "beta"}));
  EXPECT_EQ(ComboCurrent(Child(t.main, probe::kCombo)), 1);
  EXPECT_EQ(Text(Child(t.main, probe::kFolder)), "C:\\");
  EXPECT_EQ(Text(Child(t.main, probe::kFolderBrowse)), "...");
  EXPECT_EQ(ProgressPos(Child(t.main, probe::kGauge)), 40);
  EXPECT_EQ(ProgressRange(Child(t.main, probe::kGauge)), std::make_pair(0, 100));
  // The label sized itself to its text.
  RECT r = WindowRect(Child(t.main, probe::kResult));
  EXPECT_GT(r.right - r.left, 10);
  EXPECT_LT(r.right - r.left, 100);
  Close(t.main);
  t.p.Wait();
}
