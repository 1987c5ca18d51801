// The wizard from an unpacked distribution: pages without licence and readme,
// the Start Menu list, Esc, the running-program check and an engine error.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "setup/SetupIds.h"
#include "tests/wizard/Road.h"

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

namespace {

// setup.exe, UNPACK32.DLL and the installation list in a fresh folder.
std::string Distribution(const std::string& name, const std::string& ini) {
  std::string dir = TempDir(name);
  CopyFileTo(Join(DistDir(), "setup.exe"), Join(dir, "setup.exe"));
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(dir, "UNPACK32.DLL"));
  WriteTextFile(Join(dir, "setup.ini"), ini);
  return dir;
}

const char* kHeader = "\\Kerf Pages\nKerf Pages\nKerf Pages 2.0\n";

// A top-level window of the test's own, for the running-program check.
class ProbeWindow {
 public:
  ProbeWindow(const char* cls, const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = cls;
    RegisterClassA(&wc);
    h_ = CreateWindowExA(0, cls, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                         wc.hInstance, nullptr);
  }
  ~ProbeWindow() { DestroyWindow(h_); }

 private:
  HWND h_;
};

HWND WaitWizard(const Process& p) { return WaitTop(p, "TfSetup", "", 30000); }

// A mouse click inside a control (the control takes the focus itself).
void ClickInto(HWND w) {
  PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// The window with the keyboard focus in the thread of `top`.
HWND FocusOf(HWND top) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) ? info.hwndFocus
                                                                         : nullptr;
}

// The Windows folder's "Start Menu\Programs" with one group in it, for a run
// without a recorded Programs folder; what it made goes again.
class FallbackStartMenu {
 public:
  FallbackStartMenu() {
    char buf[MAX_PATH];
    GetWindowsDirectoryA(buf, sizeof buf);
    menu_ = Join(buf, "Start Menu");
    madeMenu_ = !FolderExists(menu_);
    madePrograms_ = !FolderExists(Programs());
    CreateDirectoryA(menu_.c_str(), nullptr);
    CreateDirectoryA(Programs().c_str(), nullptr);
    EmptyFolder(Group());
  }
  ~FallbackStartMenu() {
    RemoveFolder(Group());
    if (madePrograms_) RemoveDirectoryA(Programs().c_str());
    if (madeMenu_) RemoveDirectoryA(menu_.c_str());
  }
  std::string Programs() const { return Join(menu_, "Programs"); }
  std::string Group() const { return Join(Programs(), "Kw Fallback Group"); }

 private:
  std::string menu_;
  bool madeMenu_ = false, madePrograms_ = false;
};

}  // namespace

TEST(WizardPages, NoLicenseNoReadmeAndTheStartMenuList) {
  std::string dir = Distribution("plain", std::string(kHeader) + ":INSTALL\nsetup.ini\n:\n");
  std::string programs = MakePrograms(dir);
  ProgramsFolder record(programs);

  DWORD start = GetTickCount();
  Process setup = Process::Start(Join(dir, "setup.exe"), dir);
  HWND wiz = WaitWizard(setup);  // no floppy question off drive A:
  std::printf("setup.exe: %lu ms from start to the first page\n", GetTickCount() - start);
  Next(wiz, "license");
  EXPECT_EQ(Text(Ctl(wiz, ids::kLicense)), "This program is freeware.\r\n");
  EXPECT_EQ(NextCaption(wiz), "Yes");
  Next(wiz, "readme");
  EXPECT_EQ(Text(Ctl(wiz, ids::kReadme)), "");
  Next(wiz, "paths");
  // The browse button opens the folder selection titled "Select Directory".
  Click(Ctl(wiz, ids::kDestinationBrowse));
  HWND browse = WaitTop(setup, "#32770", "", 30000);
  EXPECT_TRUE(FindChild(browse, "Static", "Select Directory")) << Describe(browse);
  Click(Child(browse, IDCANCEL));
  WaitGone(browse, "the folder selection");
  EXPECT_EQ(Text(Ctl(wiz, ids::kDestination)), "C:\\Program Files\\Kerf Pages");
  HWND list = Ctl(wiz, ids::kStartMenuList);
  std::vector<std::string> items = ListItems(list);
  std::sort(items.begin(), items.end());
  EXPECT_EQ(items, (std::vector<std::string>{"Accessories", "Notes.lnk", "StartUp"}));
  items = ListItems(list);
  int notes = int(std::find(items.begin(), items.end(), "Notes.lnk") - items.begin());
  SelectItem(list, notes);
  WaitUntil([&] { return Text(Ctl(wiz, ids::kStartMenu)) == "Notes.lnk"; }, "Notes.lnk chosen");
  Next(wiz, "finish");
  EXPECT_EQ(Text(Ctl(wiz, ids::kStartMenuName)), "Notes.lnk");

  // Esc is Cancel: the installer ends and installs nothing.
  PressKey(Ctl(wiz, ids::kNext), VK_ESCAPE);
  setup.Wait();
  EXPECT_FALSE(FolderExists("C:\\Program Files\\Kerf Pages"));
}

// A window named by :NOTRUNNING, with the class before the comma or (without a
// comma) by its title alone, ends the installer after the warning.
TEST(WizardPages, RunningProgramEndsTheInstaller) {
  ProbeWindow probe("KwWizardProbe", "Kerf Probe");
  for (const char* line : {"KwWizardProbe,Kerf Probe", "Kerf Probe"}) {
    SCOPED_TRACE(line);
    std::string dir =
        Distribution("running", std::string(kHeader) + ":NOTRUNNING\n" + line + "\n:\n");
    Process setup = Process::Start(Join(dir, "setup.exe"), dir);
    MsgBox w = WaitMsgBox(setup, "Warning", 30000);
    EXPECT_EQ(w.icon, Icon::Warning);
    EXPECT_EQ(w.text.rfind("You must close Kerf Pages 2.0 before setup may continue.", 0), 0u);
    EXPECT_FALSE(FindTop(setup.Id(), "TfSetup", ""));
    Answer(w, IDOK);
    EXPECT_EQ(setup.Wait(), 1603u);
  }
}

TEST(WizardPages, OtherWindowsDoNotStopTheInstaller) {
  ProbeWindow probe("KwWizardProbe2", "Kerf Probe");
  std::string dir =
      Distribution("notrunning", std::string(kHeader) + ":NOTRUNNING\nOtherClass,Kerf Probe\n");
  Process setup = Process::Start(Join(dir, "setup.exe"), dir);
  HWND wiz = WaitWizard(setup);
  RECT r = WindowRect(wiz);
  EXPECT_LT(r.left, GetSystemMetrics(SM_CXSCREEN));
  Click(Ctl(wiz, ids::kCancel));
  setup.Wait();
}

// An error inside the engine reaches the error box; the wizard stays on its
// last page with its buttons disabled.
TEST(WizardPages, EngineErrorLeavesTheWizardDisabled) {
  std::string dir = Distribution("broken", std::string(kHeader) + ":INSTALL\nsetup.ini\n");
  Process setup = Process::Start(Join(dir, "setup.exe"), dir);
  HWND wiz = WaitWizard(setup);
  Next(wiz, "license");
  Next(wiz, "readme");
  Next(wiz, "paths");
  SetText(Ctl(wiz, ids::kDestination), Join(dir, "dest"));
  Next(wiz, "finish");
  Click(Ctl(wiz, ids::kNext));
  MsgBox e = WaitMsgBox(setup, "Setup", 30000);
  EXPECT_EQ(e.text, "List index out of bounds");
  EXPECT_EQ(e.icon, Icon::Error);
  Answer(e, IDOK);
  Settle(wiz);  // the click's handler, which raised the box, has returned
  EXPECT_EQ(FindTop(setup.Id(), "#32770", ""), nullptr) << "no second box";
  EXPECT_TRUE(Visible(wiz));
  EXPECT_EQ(Page(wiz), "finish");
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kBack)));
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kNext)));
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kCancel)));
  setup.Kill();
}

// Esc and Tab in a multi-line text box: Esc leaves the page as it is, Tab
// moves the focus on to the wizard's next control, and the buttons still work.
TEST(WizardPages, EscAndTabInsideTheLicenceBox) {
  std::string dir = Distribution("textkeys", std::string(kHeader) + ":INSTALL\nsetup.ini\n:\n");
  Process setup = Process::Start(Join(dir, "setup.exe"), dir);
  HWND wiz = WaitWizard(setup);
  Next(wiz, "license");
  HWND box = Ctl(wiz, ids::kLicense);
  ClickInto(box);
  WaitUntil([&] { return FocusOf(wiz) == box; }, "the focus in the licence box");
  PressKey(box, VK_ESCAPE);
  PressKey(box, VK_TAB);
  WaitUntil([&] { return FocusOf(wiz) != box; }, "Tab leaving the licence box");
  HWND focus = FocusOf(wiz);
  EXPECT_TRUE(focus && IsChild(wiz, focus)) << "focus on " << (focus ? Describe(focus) : "nothing");
  EXPECT_EQ(Page(wiz), "license");
  EXPECT_TRUE(IsWindow(box) && Visible(box));
  EXPECT_EQ(Text(box), "This program is freeware.\r\n");
  Next(wiz, "readme");
  Back(wiz, "license");
  Click(Ctl(wiz, ids::kCancel));  // "No"
  EXPECT_EQ(setup.Wait(), 1602u);
}

// With no Programs folder recorded, the folders page offers the groups of the
// folder the engine then uses (the Windows folder's Start Menu\Programs), and
// the chosen group is where the shortcut goes.
TEST(WizardPages, StartMenuFallbackAgreesWithTheEngine) {
  std::string dir = Distribution("fallback", std::string(kHeader) +
                                                 ":INSTALL\nsetup.ini\n:\n"
                                                 ":SHORTCUTS\nKerf Pages\nsetup.ini\n:\n");
  FallbackStartMenu menu;
  ProgramsFolder record("");
  Process setup = Process::Start(Join(dir, "setup.exe"), dir);
  HWND wiz = WaitWizard(setup);
  Next(wiz, "license");
  Next(wiz, "readme");
  Next(wiz, "paths");
  HWND list = Ctl(wiz, ids::kStartMenuList);
  std::vector<std::string> items = ListItems(list);
  auto at = std::find(items.begin(), items.end(), "Kw Fallback Group");
  ASSERT_NE(at, items.end()) << "the page lists " << items.size() << " entries";
  SelectItem(list, int(at - items.begin()));
  WaitUntil([&] { return Text(Ctl(wiz, ids::kStartMenu)) == "Kw Fallback Group"; },
            "the group chosen");
  SetText(Ctl(wiz, ids::kDestination), Join(dir, "dest"));
  Next(wiz, "finish");
  Click(Ctl(wiz, ids::kNext));
  Answer(WaitMsgBox(setup, "Confirm", 30000), IDOK);
  EXPECT_EQ(setup.Wait(), 0u);
  EXPECT_TRUE(FileExists(Join(menu.Group(), "Kerf Pages.lnk")));
}
