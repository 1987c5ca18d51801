// Floppies as users have them, with disks that mksetup made: disk 2 of another
// package offered first, a part and an :EXTRA file held open by another
// program when first read, disk 3 with changed bytes of the same size. Each is
// named, the right disk is asked for again, and the installation ends with the
// project's files. disk-faults.sh makes the two packages first.
#include "tests/wizard/RoadTest.h"

#include <algorithm>

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

namespace {

std::string Packages() { return Join(BinDir(), "tests\\mksetup\\faults"); }

std::string TempFolder() { return WindowsFolder() + "\\TEMP"; }

std::vector<std::string> InstallFolders() {
  std::vector<std::string> found;
  for (const std::string& n : ListFolder(TempFolder()))
    if (n.rfind("QFINST", 0) == 0) found.push_back(n);
  return found;
}

// Holds a file open with no sharing, as another program might.
struct Held {
  HANDLE h;
  explicit Held(const std::string& path)
      : h(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~Held() { Release(); }
  void Release() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

void InsertFrom(const std::string& package, int disk) {
  UsePackage(Join(Packages(), package));
  InsertDisk(disk);
  UsePackage(Join(Packages(), "ours"));
}

MsgBox Expect(const Process& setup, const std::string& caption, const std::string& text, int yes, int no) {
  MsgBox box = WaitMsgBox(setup, caption, 60000);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(box.icon, caption == "Warning" ? Icon::Warning : Icon::Question) << box.text;
  EXPECT_TRUE(box.HasButton(yes) && box.HasButton(no)) << box.text;
  return box;
}

}  // namespace

TEST(DiskFaults, WrongDamagedAndBusyDisksThenTheInstallation) {
  const std::string project = Join(Packages(), "project");
  UsePackage(Join(Packages(), "ours"));
  const std::string work = TempDir("disk-faults");
  const std::string dest = Join(work, "Kerf Demo");
  ProgramsFolder record(MakePrograms(work));
  const std::vector<std::string> before = InstallFolders();

  const std::string exe = PrepareDriveA();
  Held extra(DriveA() + "extra.txt");
  ASSERT_NE(extra.h, INVALID_HANDLE_VALUE);
  Process setup = Process::Start(exe, DriveA());
  Answer(Expect(setup, "Confirm", "This program will install Kerf Demo 1.0", IDOK, IDCANCEL), IDOK);

  // An :EXTRA file another program holds: named with its disk, read on Retry.
  MsgBox box = Expect(setup, "Warning",
                      "Setup disk 1 cannot be read: A:\\extra.txt. Check the disk in the drive and click Retry.",
                      IDRETRY, IDCANCEL);
  extra.Release();
  Answer(box, IDRETRY);

  // Disk 2 of another package, whose part has the same name.
  box = Expect(setup, "Confirm", "Please insert setup disk number 2", IDOK, IDCANCEL);
  std::vector<std::string> now = InstallFolders();
  ASSERT_EQ(now.size(), before.size() + 1);
  std::string temp;
  for (const std::string& t : now)
    if (std::find(before.begin(), before.end(), t) == before.end()) temp = Join(TempFolder(), t.substr(0, t.size() - 1));
  EXPECT_EQ(ReadFileBytes(Join(temp, "EXTRA\\extra.txt")), ReadFileBytes(Join(project, "disk1\\extra.txt")));
  InsertFrom("other", 2);
  Answer(box, IDOK);
  const std::string notDisk2 = "This is not disk 2 of Kerf Demo 1.0, or it is damaged. Insert disk 2 and click OK.";
  box = Expect(setup, "Warning", notDisk2, IDOK, IDCANCEL);
  EXPECT_TRUE(FileExists(Join(temp, "package.1")));
  EXPECT_FALSE(FileExists(Join(temp, "package.2"))) << "a part that failed its check is not kept";
  // Still the wrong disk: asked again.
  Answer(box, IDOK);
  box = Expect(setup, "Warning", notDisk2, IDOK, IDCANCEL);

  // The right disk, its part held open by another program when first read.
  InsertDisk(2);
  Held part(DriveA() + "package.2");
  ASSERT_NE(part.h, INVALID_HANDLE_VALUE);
  Answer(box, IDOK);
  box = Expect(setup, "Warning",
               "Setup disk 2 cannot be read: A:\\package.2. Check the disk in the drive and click Retry.", IDRETRY,
               IDCANCEL);
  part.Release();
  Answer(box, IDRETRY);

  // Disk 3 with changed bytes, of the same size.
  box = Expect(setup, "Confirm", "Please insert setup disk number 3", IDOK, IDCANCEL);
  InsertDisk(3);
  std::string bytes = ReadFileBytes(DriveA() + "package.3");
  ASSERT_GT(bytes.size(), 1000u);
  bytes[bytes.size() / 2] ^= 0x20;
  bytes[bytes.size() / 2 + 1] ^= 0x01;
  WriteFileBytes(DriveA() + "package.3", bytes);
  Answer(box, IDOK);
  box = Expect(setup, "Warning", "This is not disk 3 of Kerf Demo 1.0, or it is damaged. Insert disk 3 and click OK.",
               IDOK, IDCANCEL);
  EXPECT_FALSE(FileExists(Join(temp, "package.3")));
  InsertDisk(3);
  Answer(box, IDOK);

  box = Expect(setup, "Confirm", "Please re-insert setup disk number 1", IDOK, IDCANCEL);
  InsertDisk(1);
  Answer(box, IDOK);

  InstallInto(WaitTop(setup, "TfSetup", "Kerf Demo 1.0", 60000), dest);
  DeclineRunNow(setup, "Kerf Demo 1.0");

  EXPECT_EQ(CompareFiles(Join(dest, "kwdemo.exe"), Join(project, "kwdemo.ex_")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "data.bin"), Join(project, "data.bin")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "readme.txt"), Join(project, "readme.txt")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "extra.txt"), Join(project, "disk1\\extra.txt")), "");
  EXPECT_FALSE(FolderExists(temp)) << "the temporary folder is removed at the end";

  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  DeleteFileA(Join(windows, "qfunin.exe").c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RemoveFolder(work);
}
