// The main window as a user works with it: the file list, runs to every
// destination, Stop, the About box.
#include <gtest/gtest.h>

#include "tests/kerfwise/KerfwiseUi.h"

using namespace kwtest;

namespace {

class Window : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    work = TempDir("kwwin");
    Put("path", work);
    Put("fdirp", "A:");
    Put("right", "true");
  }
  void Open() {
    app = StartKerfwise();
    main = MainWindow(app);
    WaitStartUp(main, "A:");
    list = Child(main, ids::filenames);
  }
  // A file of this size in the work folder; its full path.
  std::string Source(const std::string& name, size_t size, int seed = 1) {
    std::string path = Join(work, name);
    WriteFileBytes(path, Pattern(size, seed));
    return path;
  }
  std::string work;
  Process app;
  HWND main = nullptr, list = nullptr;
};

// Entries of the list (read while the window may be changing it).
size_t Count(HWND list) {
  DWORD_PTR n = 0;
  SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &n);
  return size_t(n);
}

// The slices in order, joined, are the source.
std::string Joined(const std::string& dir, const std::vector<std::string>& names) {
  std::string all;
  for (const auto& n : names) all += ReadFileBytes(Join(dir, n));
  return all;
}

}  // namespace

TEST_F(Window, ControlsAsTheyStartAndScreenshots) {
  Open();
  RECT c = ClientRect(main);
  EXPECT_EQ(c.right - c.left, 369);
  EXPECT_EQ(c.bottom - c.top, 246);
  EXPECT_EQ(Text(Child(main, ids::Label1)), "Files selected for Slicing.");
  EXPECT_EQ(Text(Child(main, ids::Button1)), "&Add");
  EXPECT_EQ(Text(Child(main, ids::Button2)), "&Remove");
  EXPECT_EQ(Text(Child(main, ids::Button3)), "Remove &All");
  EXPECT_EQ(Text(Child(main, ids::RadioGroup1)), "Sliced File Path Location");
  EXPECT_TRUE(Checked(Child(main, ids::RadioButton1)));
  EXPECT_FALSE(Checked(Child(main, ids::RadioButton2)));
  EXPECT_FALSE(Checked(Child(main, ids::RadioButton3)));
  EXPECT_EQ(ComboItems(Child(main, ids::ComboBox1)), (std::vector<std::string>{"A:", "B:"}));
  EXPECT_EQ(Text(Child(main, ids::eSlicePath)), "") << "no tdirp stored: the box takes the empty text";
  EXPECT_FALSE(Checked(Child(main, ids::delfile)));
  EXPECT_FALSE(Checked(Child(main, ids::delcat)));
  EXPECT_TRUE(Checked(Child(main, ids::cbRightClick)));
  EXPECT_EQ(Text(Child(main, ids::cbRightClick)), "Right click menu support");
  EXPECT_EQ(Text(Child(main, ids::slicesize)), "1.44");
  EXPECT_EQ(ComboItems(Child(main, ids::slicesize)),
            (std::vector<std::string>{"2.88", "2.00", "1.68", "1.44", "1.02", "1.00", "0.75", "0.50"}));
  EXPECT_EQ(Text(Child(main, ids::Label2)), "MB");
  EXPECT_EQ(Text(Child(main, ids::Label4)), "Working");
  EXPECT_EQ(ProgressRange(Child(main, ids::bar)), std::make_pair(0, 100));
  EXPECT_EQ(ProgressPos(Child(main, ids::bar)), 0);
  EXPECT_TRUE(Visible(Child(main, ids::Button6)));
  EXPECT_FALSE(Visible(Child(main, ids::Button4)));
  EXPECT_EQ(WindowRect(Child(main, ids::Button4)).left, WindowRect(Child(main, ids::Button6)).left);
  Screenshot(main, "kerfwise-main");

  Put("version", "1.0 test");
  InvokeMenuKeys(main, "ha");  // Help > About
  HWND about = WaitTop(app, "TAboutBox", "About");
  EXPECT_EQ(Text(Child(about, ids::AboutName)), "The Kerfwise for Win95/98");
  EXPECT_EQ(Text(Child(about, ids::AboutVersion)), "Version ") << "read when the box was created";
  Screenshot(about, "kerfwise-about");
  PressKey(about, VK_ESCAPE);
  WaitGone(about, "About box");
  // No help file in the Windows folder: nothing happens. Sent, the command has
  // been handled when it returns, and a help program started would be running.
  SendCommand(main, ids::Help2);
  EXPECT_EQ(KillByName("winhlp32.exe"), 0);
  InvokeMenu(main, ids::Exit1);
  EXPECT_EQ(app.Wait(), 0u);
}

TEST_F(Window, HelpOpensTheHelpFileInTheStoredFolderThroughTheShell) {
  Put("runpath", work);
  WriteFileBytes(Join(work, "kerfwise.hlp"), "?_\x03\x00 not really a help file");
  Open();
  InvokeMenuKeys(main, "hh");  // Help > Help
  // The shell's handler for .hlp files under Wine is winhlp32.exe.
  WaitUntil([] { return KillByName("winhlp32.exe") > 0; }, "the help viewer started");
  Close(main);
  app.Wait();
}

TEST_F(Window, AddThroughTheOpenDialogAndTwiceWithADrop) {
  std::string src = Source("picked.txt", 100);
  Open();
  Click(main, ids::Button1);
  HWND dlg = WaitTop(app, "#32770", "Open");
  Click(dlg, IDCANCEL);
  WaitGone(dlg, "open-file dialog");
  Settle(main);  // the click's handler, which opened the dialog, has ended
  EXPECT_EQ(Count(list), 0u) << "Cancel adds nothing";

  InvokeMenu(main, ids::Add1);
  dlg = WaitTop(app, "#32770", "Open");
  HWND name = FindChild(dlg, 0x47c);  // the file name box (cmb13), or edt1
  SetText(name ? name : Child(dlg, 0x480), src);
  InvokeMenu(dlg, IDOK);  // WM_COMMAND IDOK, as the Open button sends it
  WaitGone(dlg, "open-file dialog");
  WaitUntil([&] { return Count(list) == 1; }, "the picked file listed");
  DropFiles(Child(main, ids::dp1), {src});
  WaitUntil([&] { return Count(list) == 2; }, "the same file listed twice");
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{src, src}));
  Close(main);
  app.Wait();
}

TEST_F(Window, DroppedFilesListedSortedAndRemoved) {
  Open();
  HWND panel = Child(main, ids::dp1);
  DropFiles(panel, {"C:\\b\\two.doc", "C:\\a\\one.doc", "C:\\c\\three.doc"});
  WaitUntil([&] { return Count(list) == 3; }, "three files listed");
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{"C:\\a\\one.doc", "C:\\b\\two.doc", "C:\\c\\three.doc"}));
  DropFiles(panel, {"C:\\a\\one.doc"});
  WaitUntil([&] { return Count(list) == 4; }, "the same file listed twice");

  ClickHandled(Child(main, ids::Button2));  // nothing selected: nothing goes
  EXPECT_EQ(ListItems(list).size(), 4u);
  SelectItems(list, {1});
  Click(main, ids::Button2);
  WaitUntil([&] { return Count(list) == 3; }, "one removed");
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{"C:\\a\\one.doc", "C:\\b\\two.doc", "C:\\c\\three.doc"}));
  SelectItems(list, {0, 2});
  InvokeMenu(main, ids::Delete1);
  WaitUntil([&] { return Count(list) == 1; }, "two removed");
  EXPECT_EQ(ListItems(list), std::vector<std::string>{"C:\\b\\two.doc"});
  InvokeMenu(main, ids::Clear1);
  WaitUntil([&] { return Count(list) == 0; }, "Clear empties the list");
  DropFiles(panel, {"C:\\x.doc", "C:\\y.doc"});
  WaitUntil([&] { return Count(list) == 2; }, "dropped again");
  Click(main, ids::Button3);
  WaitUntil([&] { return Count(list) == 0; }, "Remove All empties the list");
  Close(main);
  app.Wait();
}

TEST_F(Window, DroppedFolderIsRefusedByName) {
  std::string file = Source("kept.doc", 100);
  std::string folder = Join(work, "Photos");
  CreateDirectoryA(folder.c_str(), nullptr);
  Open();
  DropFiles(Child(main, ids::dp1), {folder, file});
  uikit::MsgBox box = uikit::WaitMsgBox(app, "Kerfwise");
  EXPECT_NE(box.text.find(folder), std::string::npos) << box.text;
  uikit::Answer(box, IDOK);
  EXPECT_EQ(ListItems(list), std::vector<std::string>{file});
  Close(main);
  app.Wait();
}

TEST_F(Window, FilesDroppedDuringARunWaitForTheNextRun) {
  std::string first = Source("first.bin", 5000, 1), later = Source("later.bin", 3000, 2);
  EmptyFolder(DriveA());
  Open();
  DropFiles(Child(main, ids::dp1), {first});
  WaitUntil([&] { return Count(list) == 1; }, "one file listed");
  Click(main, ids::RadioButton2);
  Click(main, ids::Button5);
  // The run waits at the disk prompt: a drop now comes during the run.
  MsgBox box = WaitMsgBox(app, "Confirm");
  DropFiles(Child(main, ids::dp1), {later});
  WaitUntil([&] { return Count(list) == 2; }, "the file dropped during the run listed");
  Answer(box, IDOK);
  WaitIdle(main);
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{first, later}));
  EXPECT_TRUE(FileExists(Join(DriveA(), "first.s10")));
  EXPECT_FALSE(FileExists(Join(DriveA(), "later.s10"))) << "the run slices the list it started with";
  EmptyFolder(DriveA());
  // The next run takes it.
  SelectItems(list, {0});
  Click(main, ids::Button2);
  WaitUntil([&] { return Count(list) == 1; }, "the sliced file removed");
  Click(main, ids::Button5);
  Answer(WaitMsgBox(app, "Confirm"), IDOK);
  WaitUntil([&] { return FileExists(Join(DriveA(), "laters.exe")); }, "the dropped file sliced", kExitWait);
  WaitIdle(main);
  EXPECT_EQ(ReadFileBytes(Join(DriveA(), "later.s10")), ReadFileBytes(later));
  EmptyFolder(DriveA());
  Close(main);
  app.Wait();
}

TEST_F(Window, SliceBesideTheSourceAndIntoAFolder) {
  std::string a = Source("alpha.bin", 10000, 1), b = Source("My Beta.dat", 5000, 2);
  Open();
  SetText(Child(main, ids::slicesize), "@4096");
  DropFiles(Child(main, ids::dp1), {b, a});
  WaitUntil([&] { return Count(list) == 2; }, "two files listed");
  Click(main, ids::Button5);
  WaitUntil([&] { return FileExists(Join(work, "My Betas.exe")); }, "the second source sliced", kExitWait);
  WaitIdle(main);
  EXPECT_EQ(FilesStarting(work, "alpha."), (std::vector<std::string>{"alpha.bin", "alpha.s10", "alpha.s11", "alpha.s12", "alpha.ssc", "alpha.sss"}));
  EXPECT_EQ(ReadFileBytes(Join(work, "alpha.s10")).size(), 4096u);
  EXPECT_EQ(Joined(work, {"alpha.s10", "alpha.s11", "alpha.s12"}), ReadFileBytes(a));
  EXPECT_EQ(ReadFileBytes(Join(work, "alpha.sss")), "NODEL\r\nalpha.bin\r\nalpha.s10\r\nalpha.s11\r\nalpha.s12\r\n");
  EXPECT_TRUE(FileExists(Join(work, "alphas.bat")));
  EXPECT_EQ(CompareFiles(Join(work, "alphas.exe"), Join(DistDir(), "unkerf.exe")), "");
  EXPECT_EQ(Joined(work, {"My Beta.s10", "My Beta.s11"}), ReadFileBytes(b));
  EXPECT_FALSE(FileExists(Join(work, "My Betas.bat"))) << "no batch file for a path with a space";

  // Into a folder, deleting the source, slices to be deleted after the join.
  std::string out = TempDir("kwout");
  std::string c = Source("gamma.txt", 3000, 3);
  std::string keep = ReadFileBytes(c);
  Click(main, ids::Button3);
  DropFiles(Child(main, ids::dp1), {c});
  WaitUntil([&] { return Count(list) == 1; }, "one file listed");
  Click(main, ids::RadioButton3);
  SetText(Child(main, ids::eSlicePath), out);
  SetCheck(Child(main, ids::delfile), true);
  SetCheck(Child(main, ids::delcat), true);
  SetText(Child(main, ids::slicesize), "@2048");
  InvokeMenu(main, ids::Slicethem1);
  WaitUntil([&] { return FileExists(Join(out, "gammas.exe")); }, "sliced into the folder", kExitWait);
  WaitIdle(main);
  EXPECT_EQ(ListFolder(out), (std::vector<std::string>{"gamma.s10", "gamma.s11", "gamma.ssc", "gamma.sss", "gammas.bat", "gammas.exe"}));
  EXPECT_EQ(Joined(out, {"gamma.s10", "gamma.s11"}), keep);
  EXPECT_FALSE(FileExists(c)) << "Del FILE after Slice";
  EXPECT_EQ(ReadFileBytes(Join(out, "gamma.sss")).substr(0, 5), "DEL\r\n");
  std::string bat = ReadFileBytes(Join(out, "gammas.bat"));
  EXPECT_NE(bat.find("copy /b gamma.s10 + gamma.s11 gamma.txt\r\n"), std::string::npos) << bat;
  EXPECT_NE(bat.find("if not exist gamma.txt goto failed\r\nDEL gamma.s10\r\nDEL gamma.s11\r\n"), std::string::npos)
      << "DEL only once the file is there: " << bat;
  Close(main);
  app.Wait();
}

TEST_F(Window, SliceOntoFloppiesSwappedAtEachPrompt) {
  std::string src = Source("floppy.img", 1000000, 4);
  std::string disks = TempDir("kwdisks");
  EmptyFolder(DriveA());
  Open();
  DropFiles(Child(main, ids::dp1), {src});
  WaitUntil([&] { return Count(list) == 1; }, "one file listed");
  Click(main, ids::RadioButton2);
  SetText(Child(main, ids::slicesize), "0.50");
  Click(main, ids::Button5);
  // 479,232 bytes a slice: three disks, while the estimate says two.
  for (int disk = 1; disk <= 3; ++disk) {
    MsgBox box = WaitMsgBox(app, "Confirm");
    EXPECT_EQ(box.text, "Please insert Disk " + std::to_string(disk) + " of 2");
    EXPECT_EQ(box.icon, Icon::Question);
    EXPECT_TRUE(box.HasButton(IDOK) && box.HasButton(IDCANCEL));
    // The user takes the full disk out and puts an empty one in.
    std::string held = Join(disks, "disk" + std::to_string(disk - 1));
    CreateDirectoryA(held.c_str(), nullptr);
    for (const auto& n : ListFolder(DriveA()))
      ASSERT_TRUE(MoveFileA(Join(DriveA(), n).c_str(), Join(held, n).c_str())) << n;
    Answer(box, IDOK);
  }
  WaitIdle(main);
  EXPECT_EQ(ListFolder(Join(disks, "disk1")), std::vector<std::string>{"floppy.s10"});
  EXPECT_EQ(ListFolder(Join(disks, "disk2")), std::vector<std::string>{"floppy.s11"});
  EXPECT_EQ(ListFolder(DriveA()), (std::vector<std::string>{"floppy.s12", "floppy.ssc", "floppy.sss", "floppys.bat", "floppys.exe"}));
  std::string all = ReadFileBytes(Join(disks, "disk1\\floppy.s10")) + ReadFileBytes(Join(disks, "disk2\\floppy.s11")) +
                    ReadFileBytes(Join(DriveA(), "floppy.s12"));
  EXPECT_EQ(all.size(), 1000000u);
  EXPECT_TRUE(all == ReadFileBytes(src));
  EmptyFolder(DriveA());

  // Cancel at the first prompt closes the program, settings saved.
  Click(main, ids::Button5);
  Answer(WaitMsgBox(app, "Confirm"), IDCANCEL);
  EXPECT_EQ(app.Wait(), 0u);
  EXPECT_EQ(Get("fdir"), "true");
  EXPECT_EQ(Get("format"), "0.50");
  EXPECT_TRUE(ListFolder(DriveA()).empty());
}

TEST_F(Window, StopLeavesPartialSlicesAndSwapsTheButtonsBack) {
  std::string big = Source("big.bin", 40u << 20, 5);
  std::string later = Source("later.bin", 5000, 6);
  Open();
  DropFiles(Child(main, ids::dp1), {big, later});
  WaitUntil([&] { return Count(list) == 2; }, "two files listed");
  SetText(Child(main, ids::slicesize), "1.44");
  Click(main, ids::Button5);
  HWND stop = Child(main, ids::Button4);
  WaitUntil([&] { return Visible(stop); }, "Stop shown");
  EXPECT_FALSE(Visible(Child(main, ids::Button6)));
  EXPECT_FALSE(Enabled(Child(main, ids::Button5))) << "other controls are frozen during a run";
  EXPECT_TRUE(Enabled(Child(main, ids::dp1))) << "but the list keeps taking drops";
  Click(stop);  // at once: a fast machine gets through 40 MB in about a second
  WaitIdle(main);
  EXPECT_TRUE(Enabled(Child(main, ids::Button5)));
  EXPECT_EQ(ProgressPos(Child(main, ids::bar)), 0);
  size_t written = 0;
  std::vector<std::string> slices = FilesStarting(work, "big.s");
  ASSERT_FALSE(slices.empty());
  EXPECT_EQ(slices.front(), "big.s10");
  for (const auto& n : slices) written += ReadFileBytes(Join(work, n)).size();
  EXPECT_LT(written, size_t(40u << 20)) << "stopped before the end";
  EXPECT_FALSE(FileExists(Join(work, "big.sss")));
  EXPECT_FALSE(FileExists(Join(work, "bigs.exe")));
  EXPECT_FALSE(FileExists(Join(work, "later.s10"))) << "the later source is untouched";
  EXPECT_TRUE(app.Running()) << "a stopped run leaves the program open";
  Close(main);
  app.Wait();
}
