// The installer driven as a user would under Wine: a three-disk package from
// drive A:, every page of the wizard, the installation, and what it left.
#include "tests/wizard/RoadTest.h"

#include <algorithm>

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

namespace {

DWORD RegNumber(HKEY root, const char* key, const char* name) {
  const std::string t = RegText(root, key, name);
  return t == "<missing>" ? 0 : DWORD(std::stoul(t));
}

std::vector<std::string> TempInstallFolders() {
  std::vector<std::string> found;
  for (const std::string& n : ListFolder(WindowsFolder() + "\\TEMP"))
    if (n.rfind("QFINST", 0) == 0) found.push_back(n);
  return found;
}

std::string ShotDir() { return Join(BinDir(), "wizard-shots"); }

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

}  // namespace

// The whole road: disks 1 to 3 and back, every page there and back again, an
// existing Start Menu folder picked, Finish, "run now" answered Yes.
TEST(WizardRoad, ThreeDisksToInstalledProgram) {
  std::string work = TempDir("road");
  std::string dest = Join(work, "Kerf Demo");
  std::string programs = MakePrograms(work);
  ProgramsFolder record(programs);
  std::vector<std::string> before = TempInstallFolders();

  Process setup;
  std::vector<std::string> prompts;
  HWND wiz = RunToWizard(setup, &prompts);
  EXPECT_EQ(prompts, (std::vector<std::string>{"This program will install Kerf Demo 1.0",
                                                "Please insert setup disk number 2",
                                                "Please insert setup disk number 3",
                                                "Please re-insert setup disk number 1"}));
  EXPECT_EQ(Text(wiz), "Kerf Demo 1.0");
  std::vector<std::string> temp = TempInstallFolders();
  ASSERT_EQ(temp.size(), before.size() + 1);
  std::string source;
  for (const std::string& t : temp)
    if (std::find(before.begin(), before.end(), t) == before.end())
      source = WindowsFolder() + "\\TEMP\\" + t;
  source.pop_back();  // ListFolder marks folders with '\'

  // Introduction: Back does nothing; Next has the focus.
  EXPECT_EQ(Page(wiz), "intro");
  EXPECT_EQ(NextCaption(wiz), "Next");
  EXPECT_EQ(CancelCaption(wiz), "Cancel");
  EXPECT_EQ(Text(Ctl(wiz, ids::kBack)), "Back");
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(wiz, nullptr), &gui);
  EXPECT_EQ(gui.hwndFocus, Ctl(wiz, ids::kNext));
  EXPECT_EQ(Text(Ctl(wiz, ids::kWarning)),
            "Kerf Demo came to you on three floppy disks.\r\n\r\nPress Next to read the license.\r\n");
  Shot(wiz, ShotDir(), "1-intro");
  ClickHandled(Ctl(wiz, ids::kBack));
  EXPECT_EQ(Page(wiz), "intro");

  Next(wiz, "license");
  EXPECT_EQ(NextCaption(wiz), "Yes");
  EXPECT_EQ(CancelCaption(wiz), "No");
  EXPECT_EQ(Text(Ctl(wiz, ids::kLicense)).substr(0, 29), "KERF DEMO LICENSE AGREEMENT\r\n");
  Shot(wiz, ShotDir(), "2-license");
  // Back to the introduction, and the licence is read again on the way in.
  Back(wiz, "intro");
  EXPECT_EQ(NextCaption(wiz), "Next");
  EXPECT_EQ(CancelCaption(wiz), "Cancel");
  WriteTextFile(source + "\\license.txt", "Changed terms.\n");
  Next(wiz, "license");
  EXPECT_EQ(Text(Ctl(wiz, ids::kLicense)), "Changed terms.\r\n");

  Next(wiz, "readme");
  EXPECT_EQ(NextCaption(wiz), "Next");
  EXPECT_EQ(CancelCaption(wiz), "Cancel");
  EXPECT_EQ(Text(Ctl(wiz, ids::kReadme)).substr(0, 15), "Kerf Demo 1.0\r\n");
  Shot(wiz, ShotDir(), "3-readme");
  Back(wiz, "license");
  EXPECT_EQ(NextCaption(wiz), "Yes");
  EXPECT_EQ(CancelCaption(wiz), "No");
  Next(wiz, "readme");

  Next(wiz, "paths");
  HWND eDest = Ctl(wiz, ids::kDestination), eStart = Ctl(wiz, ids::kStartMenu);
  HWND list = Ctl(wiz, ids::kStartMenuList);
  EXPECT_EQ(Text(eDest), "C:\\Program Files\\Kerf Demo");
  EXPECT_EQ(Text(eStart), "Kerf Demo");
  EXPECT_EQ(Text(Ctl(wiz, ids::kInstallLabel)),
            "Setup will install Kerf Demo 1.0 to the following folder:");
  EXPECT_EQ(Sorted(ListItems(list)),
            (std::vector<std::string>{"Accessories", "Notes.lnk", "StartUp"}));
  EXPECT_GT(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
  Shot(wiz, ShotDir(), "4-paths");
  // An edit left with Back is lost: the page is refilled from the stored values.
  SetText(eDest, "C:\\Abandoned");
  SetText(eStart, "Abandoned");
  Back(wiz, "readme");
  Next(wiz, "paths");
  EXPECT_EQ(Text(eDest), "C:\\Program Files\\Kerf Demo");
  EXPECT_EQ(Text(eStart), "Kerf Demo");

  SetText(eDest, dest);
  auto items = ListItems(list);
  int acc = int(std::find(items.begin(), items.end(), "Accessories") - items.begin());
  SelectItem(list, acc);
  WaitUntil([&] { return Text(eStart) == "Accessories"; }, "Accessories in eStartMenu");
  Next(wiz, "finish");
  EXPECT_EQ(NextCaption(wiz), "Finish");
  EXPECT_EQ(CancelCaption(wiz), "Cancel");
  EXPECT_EQ(Text(Ctl(wiz, ids::kProgramName)), "Kerf Demo 1.0");
  EXPECT_EQ(Text(Ctl(wiz, ids::kProgFiles)), dest);
  EXPECT_EQ(Text(Ctl(wiz, ids::kStartMenuName)), "Accessories");
  Shot(wiz, ShotDir(), "5-finish");
  // Confirmed values come back through Back, Back, Next.
  Back(wiz, "paths");
  EXPECT_EQ(NextCaption(wiz), "Next");
  Back(wiz, "readme");
  Next(wiz, "paths");
  EXPECT_EQ(Text(eDest), dest);
  EXPECT_EQ(Text(eStart), "Accessories");
  Next(wiz, "finish");

  Click(Ctl(wiz, ids::kNext));
  MsgBox done = WaitMsgBox(setup, "Information", 60000);
  EXPECT_EQ(done.text, "Installation is complete, would you like to run Kerf Demo 1.0 now?");
  EXPECT_EQ(done.icon, Icon::Information);
  EXPECT_TRUE(done.HasButton(IDYES) && done.HasButton(IDNO));
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kNext)));
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kBack)));
  EXPECT_FALSE(Enabled(Ctl(wiz, ids::kCancel)));
  Answer(done, IDYES);
  setup.Wait();

  // The program ran from its folder; the temporary folder is gone.
  WaitUntil([&] { return FileExists(Join(dest, "ran.txt")); }, "ran.txt of the started program");
  EXPECT_EQ(ReadFileBytes(Join(dest, "ran.txt")), dest);
  EXPECT_TRUE(AwaitNoProcess("kwdemo.exe", kExitWait)) << "the started program still runs";
  EXPECT_FALSE(FolderExists(source));
  EXPECT_EQ(CompareFiles(Join(dest, "kwdemo.exe"), Join(PackageDir(), "pkg\\kwdemo.ex_")), "");
  EXPECT_EQ(ReadFileBytes(Join(dest, "extra.txt")),
            "This file came from disk 1, beside the installer.\r\n");
  EXPECT_TRUE(FileExists(Join(dest, "readme.txt")));
  EXPECT_FALSE(FileExists(Join(dest, "kwdemo.ex_")));
  std::string menu = Join(programs, "Accessories");
  EXPECT_TRUE(FileExists(Join(menu, "Kerf Demo.lnk")));

  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Kerf Demo 1.0");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
            WindowsFolder() + "\\kwunin.exe \"" + dest + "\\unin.ini\"");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kDemoKey, "Path"), dest);
  EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, kDemoKey, "Runs"), 3u);
  std::string unin = "Kerf Demo 1.0\r\n" + dest + "\r\n" + dest + "\\kwdemo.exe\r\n" + dest +
                     "\\readme.txt\r\n" + dest + "\\extra.txt\r\n" + menu + "\\Kerf Demo\r\n+" +
                     menu + "\r\n\r\n:reg\r\nHKEY_CURRENT_USER\r\nSoftware\\Quillfen\\KerfDemo\r\n" +
                     "Path\r\n" + dest + "\r\nHKEY_CURRENT_USER\r\nSoftware\\Quillfen\\KerfDemo\r\n" +
                     "Runs\r\n#3#\r\n:\r\n";
  EXPECT_EQ(ReadFileBytes(Join(dest, "unin.ini")), unin);

  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, ProgramView(), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RemoveFolder(work);
}
