// The installer as a user meets it: unpacked and packed distributions, setup
// disks in drive A:, the full-screen background, and every way preparation ends.
#include <gtest/gtest.h>

#include "setup/SetupIds.h"
#include "tests/setup/SetupRun.h"
#include "tests/setup/StoredZip.h"

using namespace uikit;
using namespace setuptest;
namespace ids = setup::ids;

namespace {

const std::string kIni = "\\Foo\\\r\nFoo Group\r\nFoo Program\r\n:INSTALL\r\nfoo.exe\r\n:\r\n";
const std::string kIntro =
    "This utility will install Foo Program.  It is recommended that you close all other windows "
    "programs.  You can switch to other Windows programs by pressing CTRL and TAB.\r\n";

class SetupStart : public ::testing::Test {
 protected:
  void SetUp() override { RemoveQfinstFolders(); }
  void TearDown() override { RemoveQfinstFolders(); }
};

// Blue of row y of a black-to-blue gradient of height h: the last band that
// starts at or above the row wins; band i is blue i, the last one 255.
int ExpectedBlue(int y, int h) {
  for (int i = 255; i >= 1; --i)
    if ((i - 1) * h / 255 <= y) return i;
  return 0;
}

std::string StoredText(HWND w) {
  char buf[256] = "";
  GetWindowTextA(w, buf, sizeof buf);
  return buf;
}

}  // namespace

TEST_F(SetupStart, UnpackedLayoutGoesStraightToTheWizard) {
  std::string exe = MakeDistribution(TempDir("unpacked"), {{"setup.ini", kIni}});
  Process p = StartSetup(exe);
  HWND wizard = WaitTop(p, "TfSetup", "Foo Program");
  EXPECT_EQ(FindTop(p.Id(), "#32770", ""), nullptr) << "no prompt in the unpacked layout";
  EXPECT_EQ(QfinstFolders(), std::vector<std::string>()) << "no temporary folder";
  EXPECT_EQ(Text(Child(wizard, ids::kIntro)), kIntro);
  EXPECT_EQ(Text(Child(wizard, ids::kNext)), "Next");
  EXPECT_EQ(Text(Child(wizard, ids::kBack)), "Back");
  EXPECT_EQ(Text(Child(wizard, ids::kCancel)), "Cancel");
  RECT client = ClientRect(wizard);
  EXPECT_EQ(client.right - client.left, 416);
  EXPECT_EQ(client.bottom - client.top, 284);

  HWND back = FindTop(p.Id(), "TfBack", "Setup");
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(Text(Child(back, ids::kBackLabel1)), "Foo Program");
  RECT r = WindowRect(back);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));

  // The bands, down a column left of the label and of the wizard, once painted.
  RECT c = ClientRect(back);
  int h = c.bottom - c.top;
  EXPECT_EQ(h / 255 + 1, 3) << "bands of 3 pixels on an 800 x 600 screen";
  Image screen;
  auto faults = [&](bool say) {
    int wrong = 0;
    for (int y = c.top; y < c.bottom && y < screen.height; ++y) {
      COLORREF want = RGB(0, 0, ExpectedBlue(y - c.top, h));
      for (int x : {c.left + 4, c.right - 5})
        if (!SameColor(screen.Pixel(x, y), want) && wrong++ < 5 && say)
          ADD_FAILURE() << "row " << y << " x " << x << ": " << ColorText(screen.Pixel(x, y))
                        << " instead of " << ColorText(want);
    }
    return wrong;
  };
  try {
    WaitUntil([&] { return screen = CaptureScreen(), faults(false) == 0; }, "the bands", 5000);
  } catch (const Failure&) {  // said row by row below
  }
  screen.SaveBmp(Join(BinDir(), "setup-background.bmp"));
  const int wrong = faults(true);
  EXPECT_EQ(wrong, 0);

  Click(wizard, ids::kCancel);
  EXPECT_EQ(p.Wait(), 1602u);
}

TEST_F(SetupStart, ThreeDisksInDriveA) {
  // Many small files make the extraction last long enough to be seen.
  Files package = {{"setup.ini", "\\Test\\\r\nTest Group\r\nTest Program\r\n"},
                   {"data.txt", "from the package"}};
  for (int i = 0; i < 400; ++i)
    package.push_back({"f" + std::to_string(i) + ".txt", std::string(50 + i % 100, char('a' + i % 26))});
  std::string zip = testzip::StoredZip(package);
  // Parts are joined last listed first: a.3 holds the start of the archive.
  size_t third = zip.size() / 3;
  std::string a3 = zip.substr(0, third), a2 = zip.substr(third, third), a1 = zip.substr(2 * third);
  const std::string lst = ":EXTRA\r\ndata.txt\r\n:\r\n:PACKAGE\r\na.1\r\na.2\r\na.3\r\n:\r\n";
  Floppies drive({{{"setup.lst", lst},
                   {"copyBrin.txt", "Test Installer\r\nsecond line\r\n"},
                   {"data.txt", "from disk 1"},
                   {"a.1", a1}},
                  {{"a.2", a2}},
                  {{"a.3", a3}}});
  // Folders of earlier runs are skipped and left alone.
  CreateDirectoryA(QfinstDir(1).c_str(), nullptr);
  CreateDirectoryA(QfinstDir(2).c_str(), nullptr);
  WriteFileBytes(Join(QfinstDir(1), "keep.txt"), "1");
  WriteFileBytes(Join(QfinstDir(2), "keep.txt"), "2");
  std::string temp = QfinstDir(3);

  Process p = StartSetup(drive.SetupPath());
  MsgBox box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "This program will install Test Installer");
  EXPECT_EQ(box.icon, Icon::Question);
  EXPECT_TRUE(box.HasButton(IDOK) && box.HasButton(IDCANCEL));
  Answer(box, IDOK);

  box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "Please insert setup disk number 2") << "none for disk 1";
  EXPECT_EQ(ReadFileBytes(Join(temp, "a.1")), a1);
  EXPECT_EQ(ReadFileBytes(Join(temp, "EXTRA\\data.txt")), "from disk 1");
  drive.Insert(1);
  Answer(box, IDOK);

  box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "Please insert setup disk number 3");
  drive.Insert(2);
  Answer(box, IDOK);

  box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "Please re-insert setup disk number 1");
  Answer(box, IDOK);  // disk 3 is still in the drive: asked again
  box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "Please re-insert setup disk number 1");
  drive.Insert(0);
  Answer(box, IDOK);

  // The program does not answer messages while it extracts: texts are read
  // the way the system keeps them, without asking the window.
  HWND progress = WaitTop(p, "TfCopy", "");
  EXPECT_EQ(StoredText(progress), "Extracting Setup Files");
  EXPECT_EQ(StoredText(FindChild(progress, ids::kCopyLabel1)), "Extracting file:");

  HWND wizard = WaitTop(p, "TfSetup", "Test Program", 60000);
  EXPECT_EQ(FindTop(p.Id(), "TfCopy", ""), nullptr) << "the progress window is gone";
  EXPECT_EQ(Text(Child(FindTop(p.Id(), "TfBack", ""), ids::kBackLabel1)), "Test Program");
  EXPECT_EQ(Text(Child(wizard, ids::kCopyRight)), "Test Installer\r\nsecond line\r\n");
  EXPECT_EQ(ReadFileBytes(Join(temp, "a.zip")), zip) << "joined a.3, a.2, a.1";
  EXPECT_EQ(ReadFileBytes(Join(temp, "f399.txt")), package.back().second);
  EXPECT_EQ(ReadFileBytes(Join(temp, "data.txt")), "from disk 1") << ":EXTRA laid over";
  EXPECT_EQ(ReadFileBytes(Join(QfinstDir(1), "keep.txt")), "1");
  EXPECT_EQ(ReadFileBytes(Join(QfinstDir(2), "keep.txt")), "2");

  Click(wizard, ids::kCancel);
  EXPECT_EQ(p.Wait(), 1602u);
  EXPECT_FALSE(FolderExists(temp)) << "temporary folder removed at the end";
  EXPECT_TRUE(FileExists(Join(QfinstDir(1), "keep.txt")));
  EXPECT_TRUE(FileExists(Join(QfinstDir(2), "keep.txt")));
}

TEST_F(SetupStart, FirstPartNamedLikeTheArchive) {
  std::string zip = testzip::StoredZip({{"setup.ini", kIni}});
  std::string exe = MakeDistribution(
      TempDir("zippart"), {{"setup.lst", ":PACKAGE\r\npkg.zip\r\n:\r\n"}, {"pkg.zip", zip}});
  Process p = StartSetup(exe);
  HWND wizard = WaitTop(p, "TfSetup", "Foo Program");
  EXPECT_EQ(ReadFileBytes(Join(QfinstDir(1), "pkg.zip")), zip);
  EXPECT_EQ(ReadFileBytes(Join(QfinstDir(1), "setup.ini")), kIni);
  Click(wizard, ids::kCancel);
  EXPECT_EQ(p.Wait(), 1602u);
}

// ---- Every way preparation ends the program

TEST_F(SetupStart, FloppyConfirmationRefused) {
  Floppies drive(std::vector<Files>{{{"setup.lst", ":PACKAGE\r\na.1\r\n:\r\n"}, {"a.1", "x"}}});
  Process p = StartSetup(drive.SetupPath());
  // Without copyBrin.txt the side box's default first line is named.
  ExpectFailureEnd(p, "Confirm", "This program will install Quillfen Setup", Icon::Question,
                   IDCANCEL);
}

// The Windows folder's TEMP is a file while this lives; the folder comes back
// even when a check fails, for every later test of the shared prefix.
class TempIsAFile {
 public:
  TempIsAFile() : temp_(WindowsTemp()), saved_(temp_ + ".saved") {
    moved = MoveFileA(temp_.c_str(), saved_.c_str());
    if (moved) WriteFileBytes(temp_, "not a folder");
  }
  ~TempIsAFile() {
    if (!moved) return;
    DeleteFileA(temp_.c_str());
    EXPECT_TRUE(MoveFileA(saved_.c_str(), temp_.c_str())) << "TEMP not restored";
  }
  bool moved = false;

 private:
  std::string temp_, saved_;
};

TEST_F(SetupStart, TemporaryFolderCannotBeMade) {
  // TEMP replaced by a file: no folder can be made under it.
  TempIsAFile swap;
  ASSERT_TRUE(swap.moved);
  std::string exe = MakeDistribution(TempDir("notemp"), {{"setup.lst", ":PACKAGE\r\na.1\r\n:\r\n"}});
  Process p = StartSetup(exe);
  MsgBox box = WaitMsgBox(p, "Warning");
  EXPECT_EQ(box.text, "Could not create temporary installation folder");
  Answer(box, IDOK);
  EXPECT_EQ(p.Wait(), 1603u);
}

TEST_F(SetupStart, NoPackageSection) {
  std::string exe = MakeDistribution(TempDir("nopackage"), {{"setup.lst", ":EXTRA\r\n:\r\n"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "No install package information.", Icon::Warning);
}

TEST_F(SetupStart, DiskPromptCancelled) {
  std::string exe = MakeDistribution(TempDir("nodisk"), {{"setup.lst", ":PACKAGE\r\na.1\r\n:\r\n"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Confirm", "Please insert setup disk number 1", Icon::Question, IDCANCEL);
}

TEST_F(SetupStart, PartCannotBeCopied) {
  // The part lies in a sub-folder that the temporary folder does not have.
  std::string dir = TempDir("nocopy");
  std::string exe = MakeDistribution(dir, {{"setup.lst", ":PACKAGE\r\nsub\\a.1\r\n:\r\n"}});
  CreateDirectoryA(Join(dir, "sub").c_str(), nullptr);
  WriteFileBytes(Join(dir, "sub\\a.1"), "x");
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "Could not create temporary install files", Icon::Warning);
}

TEST_F(SetupStart, DiskOneNotReinserted) {
  Floppies drive({{{"setup.lst", ":PACKAGE\r\na.1\r\na.2\r\n:\r\n"}, {"a.1", "x"}}, {{"a.2", "y"}}});
  Process p = StartSetup(drive.SetupPath());
  Answer(WaitMsgBox(p, "Confirm"), IDOK);  // floppy confirmation
  MsgBox box = WaitMsgBox(p, "Confirm");
  EXPECT_EQ(box.text, "Please insert setup disk number 2");
  drive.Insert(1);
  Answer(box, IDOK);
  ExpectFailureEnd(p, "Confirm", "Please re-insert setup disk number 1", Icon::Question, IDCANCEL);
}

TEST_F(SetupStart, EmptyPackageSection) {
  std::string exe = MakeDistribution(TempDir("emptypackage"), {{"setup.lst", ":PACKAGE\r\n:\r\n"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "Error decompressing install package.", Icon::Warning);
}

TEST_F(SetupStart, NoInstallationList) {
  std::string exe = MakeDistribution(TempDir("noini"), {{"readme.txt", "x"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "Could not find installation list", Icon::Warning);
}

TEST_F(SetupStart, PackageWithoutInstallationList) {
  std::string zip = testzip::StoredZip({{"readme.txt", "x"}});
  std::string exe = MakeDistribution(
      TempDir("zipnoini"), {{"setup.lst", ":PACKAGE\r\np.1\r\n:\r\n"}, {"p.1", zip}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "Could not find installation list", Icon::Warning);
}

TEST_F(SetupStart, DamagedPackageIsNotInstalled) {
  std::string zip = testzip::StoredZip({{"setup.ini", kIni}, {"foo.exe", "MZ"}}, true);
  std::string exe = MakeDistribution(
      TempDir("badcrc"), {{"setup.lst", ":PACKAGE\r\np.1\r\n:\r\n"}, {"p.1", zip}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Warning", "Error decompressing install package.", Icon::Warning);
}

TEST_F(SetupStart, PackageThatIsNoArchive) {
  std::string exe = MakeDistribution(
      TempDir("notzip"), {{"setup.lst", ":PACKAGE\r\np.1\r\n:\r\n"}, {"p.1", "just some text"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Setup", "Error 1 reading Zip File", Icon::Error);
  EXPECT_EQ(FindTop(0, "TfCopy", "Extracting Setup Files"), nullptr);
}

TEST_F(SetupStart, InstallationListOfTwoLines) {
  std::string exe = MakeDistribution(TempDir("short"), {{"setup.ini", "\\Foo\r\nFoo Group\r\n"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Setup", "List index out of bounds", Icon::Error);
}

// An error in the wizard's show step (the running-program check reading past
// the list's end) ends the run like a failed preparation.
TEST_F(SetupStart, NotRunningAsTheLastLine) {
  std::string zip = testzip::StoredZip({{"setup.ini", kIni + ":NOTRUNNING\r\n"}});
  std::string exe = MakeDistribution(
      TempDir("notrunning"), {{"setup.lst", ":PACKAGE\r\np.1\r\n:\r\n"}, {"p.1", zip}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Setup", "List index out of bounds", Icon::Error);
}

TEST_F(SetupStart, SectionWithoutTerminator) {
  std::string exe = MakeDistribution(TempDir("noend"), {{"setup.lst", ":PACKAGE\r\na.1\r\n"}, {"a.1", "x"}});
  Process p = StartSetup(exe);
  ExpectFailureEnd(p, "Setup", "List index out of bounds", Icon::Error);
}

TEST_F(SetupStart, NoRoomForThePartsIsSaidBeforeAnyDisk) {
  // Records that claim more than a drive holds; a.2 is on no disk, so a disk
  // prompt would come next if the room were not checked first.
  const std::string lst =
      ":PACKAGE\r\na.1\r\na.2\r\n:\r\n:PARTS\r\na.1 900000000000000 00000000\r\na.2 1 00000000\r\n:\r\n";
  std::string exe = MakeDistribution(TempDir("noroom"), {{"setup.lst", lst}, {"a.1", "x"}});
  Process p = StartSetup(exe);
  for (int i = 0; i < 2; ++i) {
    MsgBox box = WaitMsgBox(p, "Warning");
    const std::string head =
        "There is not enough room on drive C:\\ for the temporary installation files in " + QfinstDir(1) + ": 1,800,000,000,0";
    EXPECT_EQ(box.text.substr(0, head.size()), head);
    EXPECT_NE(box.text.find(" bytes are needed, "), std::string::npos) << box.text;
    const std::string tail = " are free. Make room on the drive and click Retry.";
    EXPECT_EQ(box.text.substr(box.text.size() - std::min(box.text.size(), tail.size())), tail);
    EXPECT_EQ(box.icon, Icon::Warning);
    EXPECT_TRUE(box.HasButton(IDRETRY) && box.HasButton(IDCANCEL));
    Answer(box, i == 0 ? IDRETRY : IDCANCEL);  // Retry looks again: still no room
  }
  EXPECT_EQ(p.Wait(), 1602u);  // cancelled
  EXPECT_EQ(QfinstFolders(), std::vector<std::string>());
}
