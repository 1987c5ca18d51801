// A package that mksetup made, installed as a user would: setup.exe from
// drive A:, the disks swapped at its prompts, the wizard walked to Finish; the
// installed files must be the project's. install.sh runs it once over the disk
// folders and once over the files taken out of the FAT12 images; both are
// disk folders side by side, which setup.exe started from disk1 needs no disks for.
#include "tests/wizard/RoadTest.h"

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

TEST(MksetupInstall, ThreeDisksFromDriveA) {
  const std::string project = Env("KW_PROJECT");
  UsePackage(Env("KW_PACKAGE"));
  const std::string work = TempDir("mksetup-install");
  const std::string dest = Join(work, "Kerf Demo");
  const std::string programs = MakePrograms(work);
  ProgramsFolder record(programs);

  Process setup;
  std::vector<std::string> prompts;
  HWND wiz = RunToWizard(setup, &prompts);
  EXPECT_EQ(prompts, (std::vector<std::string>{"This program will install Kerf Demo 1.0",
                                                "Please insert setup disk number 2",
                                                "Please insert setup disk number 3",
                                                "Please re-insert setup disk number 1"}));
  EXPECT_EQ(Text(wiz), "Kerf Demo 1.0");
  EXPECT_EQ(Text(Ctl(wiz, ids::kWarning)).substr(0, 35), "Kerf Demo came to you on three flop");
  Next(wiz, "license");
  EXPECT_EQ(Text(Ctl(wiz, ids::kLicense)).substr(0, 27), "KERF DEMO LICENSE AGREEMENT");
  Next(wiz, "readme");
  Next(wiz, "paths");
  EXPECT_EQ(Text(Ctl(wiz, ids::kDestination)), "C:\\Program Files\\Kerf Demo");
  SetText(Ctl(wiz, ids::kDestination), dest);
  Next(wiz, "finish");
  Click(Ctl(wiz, ids::kNext));
  DeclineRunNow(setup, "Kerf Demo 1.0");

  EXPECT_EQ(CompareFiles(Join(dest, "kwdemo.exe"), Join(project, "kwdemo.ex_")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "data.bin"), Join(project, "data.bin")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "readme.txt"), Join(project, "readme.txt")), "");
  EXPECT_EQ(CompareFiles(Join(dest, "extra.txt"), Join(project, "disk1\\extra.txt")), "");
  EXPECT_TRUE(FileExists(Join(dest, "unin.ini")));
  EXPECT_TRUE(FileExists(Join(programs, "Kerf Demo\\Kerf Demo.lnk")));
  // The uninstaller mksetup packed, where the uninstall entry names it.
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string unin = Join(windows, "qfunin.exe");
  EXPECT_EQ(CompareFiles(unin, Join(DistDir(), "qfunin.exe")), "");
  char command[1024] = "";
  DWORD size = sizeof command;
  RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", RRF_RT_REG_SZ, nullptr, command, &size);
  EXPECT_EQ(std::string(command), unin + " \"" + dest + "\\unin.ini\"");
  DeleteFileA(unin.c_str());

  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RemoveFolder(work);
}

// The disk folders copied side by side (a CD, a network folder): started from
// disk1, setup.exe finds the other parts in disk2 and disk3 beside it, both
// interactively, with no disk asked for, and with /S.
TEST(MksetupInstall, DiskFoldersSideBySide) {
  const std::string project = Env("KW_PROJECT");
  const std::string disk1 = Join(Env("KW_PACKAGE"), "disk1");
  const std::string setup = "\"" + Join(disk1, "setup.exe") + "\"";
  const std::string work = TempDir("mksetup-side");
  const std::string programs = MakePrograms(work);
  ProgramsFolder record(programs);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string unin = Join(windows, "qfunin.exe");

  Process p = Process::Start(setup, disk1);
  HWND wiz = nullptr, box = nullptr;
  WaitUntil(
      [&] {
        box = FindTop(p.Id(), "#32770", "");
        wiz = FindTop(p.Id(), "TfSetup", "");
        return box || wiz || !p.Running();
      },
      "the wizard of setup.exe", 60000);
  ASSERT_TRUE(wiz && !box) << (box ? ReadMsgBox(box).text : "setup.exe ended");
  const std::string dest = Join(work, "Kerf Demo");
  InstallInto(wiz, dest);
  DeclineRunNow(p, "Kerf Demo 1.0");
  EXPECT_EQ(p.Wait(), 0u);
  EXPECT_EQ(CompareFiles(Join(dest, "data.bin"), Join(project, "data.bin")), "");
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);

  const std::string silent = Join(work, "Silent Demo");
  p = Process::Start(setup + " /S /D=" + silent, disk1);
  EXPECT_EQ(p.Wait(60000), 0u);
  EXPECT_EQ(CompareFiles(Join(silent, "data.bin"), Join(project, "data.bin")), "");
  EXPECT_EQ(CompareFiles(Join(silent, "kwdemo.exe"), Join(project, "kwdemo.ex_")), "");
  EXPECT_TRUE(FileExists(Join(programs, "Kerf Demo\\Kerf Demo.lnk")));

  DeleteFileA(unin.c_str());
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RemoveFolder(work);
}
