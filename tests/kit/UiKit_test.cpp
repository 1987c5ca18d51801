// The kit against a helper program of its own and against Wine's notepad.
#include "tests/kit/UiKit.h"

#include <gtest/gtest.h>

using namespace uikit;

namespace {

// Control IDs of uikit_helper.exe.
enum : int {
  kEdit = 101, kList = 102, kMulti = 103, kCombo = 104, kCheck = 105, kRadio1 = 106, kRadio2 = 107,
  kProgress = 108, kStatus = 109, kWarning = 110, kConfirm = 111, kInfo = 112, kError = 113, kPlain = 114,
  kNested = 120, kMenuAbout = 201
};

std::string HelperPath() {
  char buf[MAX_PATH];
  GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string self = buf;
  return self.substr(0, self.find_last_of('\\') + 1) + "uikit_helper.exe";
}

class Helper : public ::testing::Test {
 protected:
  void SetUp() override {
    app = Process::Start("\"" + HelperPath() + "\" 7");
    main = WaitTop(app, "UiKitHelper", "Kit Helper");
    status = Child(main, kStatus);
  }
  void WaitStatus(const std::string& want) { WaitText(status, want); }
  Process app;
  HWND main = nullptr;
  HWND status = nullptr;
};

TEST_F(Helper, EditsListsCombosChecksAndProgress) {
  HWND edit = Child(main, kEdit);
  SetText(edit, "hello");
  EXPECT_EQ(Text(edit), "hello");
  Type(edit, "you ");
  WaitUntil([&] { return Text(edit) == "you hello"; }, "typed text not shown");

  HWND list = Child(main, kList);
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  SelectItem(list, 1);
  WaitStatus("command 102 code 1 sel 1");
  EXPECT_EQ(ListCurrent(list), 1);
  EXPECT_EQ(ListSelection(list), std::vector<int>{1});
  DoubleClickItem(list, 2);
  WaitStatus("command 102 code 2 sel 2");
  EXPECT_THROW(SelectItem(list, 3), Failure);

  HWND multi = Child(main, kMulti);
  SelectItems(multi, {0, 2});
  WaitStatus("command 103 code 1 sel 0 2");
  EXPECT_EQ(ListSelection(multi), (std::vector<int>{0, 2}));
  SelectItem(multi, 1);  // adds to the selection
  WaitStatus("command 103 code 1 sel 0 1 2");

  HWND combo = Child(main, kCombo);
  EXPECT_EQ(ComboItems(combo), (std::vector<std::string>{"one", "two", "three"}));
  SelectCombo(combo, "three");
  WaitStatus("command 104 code 1 cur 2");
  EXPECT_EQ(ComboCurrent(combo), 2);
  EXPECT_THROW(SelectCombo(combo, "four"), Failure);

  HWND check = Child(main, kCheck);
  EXPECT_FALSE(Checked(check));
  SetCheck(check, true);
  WaitUntil([&] { return Checked(check); }, "check box not checked");
  WaitStatus("command 105 code 0");
  SetCheck(check, true);  // already on: no click
  Click(main, kRadio2);
  WaitUntil([&] { return Checked(Child(main, kRadio2)); }, "radio not set");
  EXPECT_FALSE(Checked(Child(main, kRadio1)));

  HWND bar = Child(main, kProgress);
  EXPECT_EQ(ProgressPos(bar), 40);
  EXPECT_EQ(ProgressRange(bar), std::make_pair(0, 200));

  Click(main, kNested);  // found through the panel it sits in
  WaitStatus("nested");
  EXPECT_EQ(Child(main, "Button", "Nested"), Child(main, kNested));

  PressKey(main, VK_ESCAPE);
  WaitStatus("key 27");

  EnableWindow(edit, FALSE);
  EXPECT_FALSE(Enabled(edit));
  EXPECT_THROW(SetText(edit, "x"), Failure);

  Close(main);
  EXPECT_EQ(app.Wait(), 7u);
}

TEST_F(Helper, FailuresSayWhatWasAwaited) {
  try {
    WaitTop(app, "", "Nothing", 200);
    FAIL() << "no throw";
  } catch (const Failure& e) {
    std::string text = e.what();
    std::string want = "no window 'Nothing' of uikit_helper.exe within 0.2 s (screen: ";
    EXPECT_EQ(text.substr(0, want.size()), want);
    std::string shot = text.substr(want.size(), text.size() - want.size() - 1);
    EXPECT_NE(shot.find("Helper.FailuresSayWhatWasAwaited-"), std::string::npos) << shot;
    EXPECT_EQ(ReadFileBytes(shot).substr(0, 2), "BM");
    DeleteFileA(shot.c_str());
  }
  try {
    Child(main, 999);
    FAIL() << "no throw";
  } catch (const Failure& e) {
    EXPECT_STREQ(e.what(), "no control id 999 in UiKitHelper 'Kit Helper'");
  }
  try {
    WaitText(status, "never", 100);
    FAIL() << "no throw";
  } catch (const Failure& e) {
    std::string text = e.what();
    EXPECT_EQ(text.find("Static 'ready' id 109 did not show 'never' within 0.1 s"), 0u) << text;
    EXPECT_EQ(text.rfind("; it shows 'ready'"), text.size() - 18) << text;
  }
  EXPECT_THROW(app.Wait(100), Failure);
  app.Kill();
  EXPECT_FALSE(app.Running());
  EXPECT_EQ(app.Wait(), 255u);
}

TEST_F(Helper, MessageBoxesAndTheirIcons) {
  struct Case {
    int button;
    const char* caption;
    const char* text;
    Icon icon;
    std::vector<int> buttons;
    int answer;
  };
  const Case cases[] = {
      {kWarning, "Warning", "Something is off.", Icon::Warning, {IDOK}, IDOK},
      {kConfirm, "Confirm", "Go on?", Icon::Question, {IDOK, IDCANCEL}, IDCANCEL},
      {kInfo, "Information", "All done.", Icon::Information, {IDOK}, IDOK},
      {kError, "Error", "It broke.", Icon::Error, {IDOK}, IDOK},
      {kPlain, "Plain", "Yes or no?", Icon::None, {IDYES, IDNO}, IDNO},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    Click(main, c.button);
    MsgBox box = WaitMsgBox(app, c.caption);
    EXPECT_TRUE(IsMessageBox(box.hwnd));
    try {
      Click(main, c.button);  // the box makes the window below unusable
      ADD_FAILURE() << "clicked below a modal box";
    } catch (const Failure& e) {
      EXPECT_NE(std::string(e.what()).find("'Kit Helper' is disabled"), std::string::npos) << e.what();
    }
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.icon, c.icon) << IconName(box.icon);
    std::vector<int> ids;
    for (const MsgButton& b : box.buttons) ids.push_back(b.id);
    EXPECT_EQ(ids, c.buttons);
    Answer(box, c.answer);
    WaitStatus("answer " + std::to_string(c.answer));
  }
  // Esc in a box acts as Cancel.
  Click(main, kConfirm);
  MsgBox box = WaitMsgBox(app, "Confirm");
  EXPECT_EQ(box.buttons.at(1).caption, "Cancel");
  PressKey(box.hwnd, VK_ESCAPE);
  WaitGone(box.hwnd, "Confirm box");
  WaitStatus("answer 2");
}

TEST_F(Helper, MenuById) {
  InvokeMenu(main, kMenuAbout);
  Answer(WaitMsgBox(app, "About"), IDOK);
  WaitStatus("answer 1");
}

TEST_F(Helper, MenuByKeys) {
  InvokeMenuKeys(main, "ha");
  Answer(WaitMsgBox(app, "About"), IDOK);
  WaitStatus("answer 1");
  InvokeMenuKeys(main, "fx");
  EXPECT_EQ(app.Wait(), 7u);
}

TEST_F(Helper, MenuByCaption) {
  if (!MenuReadable(main)) GTEST_SKIP() << "this Wine cannot read another process's menu";
  EXPECT_EQ(MenuId(main, {"Help", "About..."}), kMenuAbout);
  EXPECT_EQ(MenuId(main, {"File", "Exit"}), 202);
  EXPECT_EQ(MenuId(main, {"File", "Nope"}), -1);
  InvokeMenu(main, std::vector<std::string>{"&Help", "&About..."});
  Answer(WaitMsgBox(app, "About"), IDOK);
}

TEST_F(Helper, DropFilesFromOutside) {
  DropFiles(main, {"C:\\a.txt", "C:\\b c.txt"}, POINT{5, 6});
  WaitStatus("drop 2 C:\\a.txt C:\\b c.txt at 5,6");
  DropFiles(main, {"Z:\\tmp\\x"});
  WaitStatus("drop 1 Z:\\tmp\\x at 10,10");
  Close(main);  // DragFinish on the foreign block did no harm
  EXPECT_EQ(app.Wait(), 7u);
}

TEST_F(Helper, ScreenPixels) {
  ToFront(main);
  RECT client = ClientRect(main);
  Image shot;
  WaitUntil([&] {
    shot = CaptureRect(client);
    return SameColor(shot.Pixel(5, 5), RGB(255, 0, 0));
  }, "red corner not on screen");
  EXPECT_EQ(shot.width, client.right - client.left);
  EXPECT_FALSE(SameColor(shot.Pixel(45, 5), RGB(255, 0, 0), 40)) << ColorText(shot.Pixel(45, 5));
  EXPECT_THROW(shot.Pixel(shot.width, 0), Failure);

  Image screen = CaptureScreen();
  EXPECT_EQ(screen.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_TRUE(SameColor(screen.Pixel(client.left + 5, client.top + 5), RGB(255, 0, 0)));

  std::string bmp = Join(TempDir("shot"), "client.bmp");
  shot.SaveBmp(bmp);
  std::string data = ReadFileBytes(bmp);
  size_t stride = (static_cast<size_t>(shot.width) * 3 + 3) & ~size_t{3};
  EXPECT_EQ(data.size(), 54 + stride * shot.height);
  EXPECT_EQ(data.substr(0, 2), "BM");
}

TEST(Processes, KillByName) {
  Process a = Process::Start("\"" + HelperPath() + "\"");
  Process b = Process::Start("\"" + HelperPath() + "\"");
  WaitTop(a, "UiKitHelper", "");
  WaitTop(b, "UiKitHelper", "");
  EXPECT_EQ(KillByName("UIKIT_HELPER.EXE"), 2);
  EXPECT_FALSE(a.Running());
  EXPECT_FALSE(b.Running());
  EXPECT_EQ(KillByName("uikit_helper.exe"), 0);
}

TEST(Notepad, TypeAboutCloseAndAnswerSaveChanges) {
  Process np = Process::Start("C:\\windows\\notepad.exe");
  HWND main = WaitTop(np, "Notepad", "");
  HWND edit = Child(main, "Edit", "");
  Type(edit, "hello notepad");
  WaitUntil([&] { return Text(edit) == "hello notepad"; }, "typed text not in notepad");

  InvokeMenuKeys(main, "ha");  // Help > About
  HWND about = WaitTop(np, "#32770", "");
  EXPECT_NE(Text(about).find("Notepad"), std::string::npos) << Text(about);
  EXPECT_FALSE(IsMessageBox(about));
  PressKey(about, VK_ESCAPE);
  WaitGone(about, "notepad's About box");

  Close(main);
  MsgBox ask = WaitMsgBox(np);
  EXPECT_NE(ask.text.find("ave"), std::string::npos) << ask.text;  // "Save changes ...?"
  EXPECT_TRUE(ask.HasButton(IDNO));
  Answer(ask, IDNO);
  EXPECT_EQ(np.Wait(), 0u);
}

TEST(Files, WriteReadCompareCopyEmpty) {
  std::string dir = TempDir("files");
  WriteTextFile(Join(dir, "a.txt"), "one\ntwo\r\nthree\n");
  EXPECT_EQ(ReadFileBytes(Join(dir, "a.txt")), "one\r\ntwo\r\nthree\r\n");
  CreateDirectoryA(Join(dir, "sub").c_str(), nullptr);
  WriteFileBytes(Join(dir, "sub\\b.bin"), std::string("\0\1\2", 3));
  SetFileAttributesA(Join(dir, "sub\\b.bin").c_str(), FILE_ATTRIBUTE_READONLY);

  std::string copy = TempDir("copy");
  CopyFolder(dir, copy);
  EXPECT_EQ(ListFolder(copy), (std::vector<std::string>{"a.txt", "sub\\"}));
  EXPECT_EQ(CompareFiles(Join(dir, "sub\\b.bin"), Join(copy, "sub\\b.bin")), "");
  WriteFileBytes(Join(copy, "sub\\b.bin"), std::string("\0\1\3", 3));
  EXPECT_NE(CompareFiles(Join(dir, "sub\\b.bin"), Join(copy, "sub\\b.bin")).find("differ at byte 2"),
            std::string::npos);
  WriteFileBytes(Join(copy, "sub\\b.bin"), std::string("\0\1", 2));
  EXPECT_NE(CompareFiles(Join(dir, "sub\\b.bin"), Join(copy, "sub\\b.bin")), "");
  EXPECT_NE(CompareFiles(Join(dir, "none"), Join(copy, "none")), "");

  EmptyFolder(copy);
  EXPECT_TRUE(FolderExists(copy));
  EXPECT_TRUE(ListFolder(copy).empty());
  RemoveFolder(dir);
  EXPECT_FALSE(FolderExists(dir));
  EXPECT_FALSE(DistDir().empty());
  EXPECT_EQ(DriveA(), "A:\\");
  EXPECT_THROW(Env("KW_NO_SUCH_VARIABLE"), Failure);
}

}  // namespace
