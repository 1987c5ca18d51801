// The sample project of the author's guide as its user meets it: installed
// from drive A: through every wizard page, then removed through the command
// its uninstall entry holds. sample.sh makes the disks with mksetup first.
#include "tests/wizard/RoadTest.h"

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

namespace {

const char kEntry[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\QuillfenHello";
const char kKey[] = "Software\\Quillfen\\Hello";

DWORD RegNumber(HKEY root, const char* key, const char* name) {
  DWORD v = 0, size = sizeof v;
  return RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &v, &size) == ERROR_SUCCESS ? v : 0xFFFFFFFF;
}

}  // namespace

TEST(Sample, HelloInstalledAndRemovedThroughItsEntry) {
  const std::string sample = Env("KW_SAMPLE");
  UsePackage(Env("KW_PACKAGE"));
  const std::string work = TempDir("sample-hello");
  const std::string dest = Join(work, "Hello");
  const std::string programs = MakePrograms(work);
  const std::string menu = Join(programs, "Hello");
  ProgramsFolder record(programs);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);

  // The question and the side box name the program: mksetup wrote copyBrin.txt.
  Process setup;
  std::vector<std::string> prompts;
  HWND wiz = RunToWizard(setup, &prompts);
  EXPECT_EQ(prompts, std::vector<std::string>{"This program will install Hello 1.0"});
  EXPECT_EQ(Text(wiz), "Hello 1.0");
  EXPECT_EQ(Text(Ctl(wiz, ids::kCopyRight)), "Hello 1.0\r\n");
  EXPECT_EQ(Text(Ctl(wiz, ids::kWarning)).substr(0, 36), "Hello is the mksetup sample package.");
  Next(wiz, "license");
  EXPECT_EQ(Text(Ctl(wiz, ids::kLicense)).substr(0, 20), "HELLO SAMPLE LICENSE");
  Next(wiz, "readme");
  Next(wiz, "paths");
  EXPECT_EQ(Text(Ctl(wiz, ids::kDestination)), "C:\\Program Files\\Hello");
  SetText(Ctl(wiz, ids::kDestination), dest);
  Next(wiz, "finish");
  Click(Ctl(wiz, ids::kNext));
  DeclineRunNow(setup, "Hello 1.0");

  for (const char* f : {"hello.txt", "readme.txt", "settings.ini"})
    EXPECT_EQ(CompareFiles(Join(dest, f), Join(sample, f)), "") << f;
  EXPECT_TRUE(FileExists(Join(menu, "Hello.lnk")));
  EXPECT_EQ(CompareFiles(Join(menu, "readme.txt"), Join(sample, "readme.txt")), "");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kKey, "Folder"), dest);
  EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, kKey, "Installed"), 1u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kEntry, "DisplayName"), "Hello 1.0 (sample package)");
  // The :WIN line mksetup --uninstaller added put the uninstaller where the entry looks.
  const std::string command = RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString");
  EXPECT_EQ(command, std::string(windows) + "\\qfunin.exe \"" + dest + "\\unin.ini\"");
  EXPECT_EQ(CompareFiles(std::string(windows) + "\\qfunin.exe", Join(DistDir(), "qfunin.exe")), "");

  Process un = Process::Start(command);
  MsgBox ask = WaitMsgBox(un, "Uninstall", 60000);
  EXPECT_EQ(ask.text, "Are you sure you want to remove Hello 1.0 and all of its components?");
  Answer(ask, IDYES);
  MsgBox gone = WaitMsgBox(un, "Uninstall", 60000);
  EXPECT_EQ(gone.text, "Hello 1.0 was removed from your computer.");
  Answer(gone, IDOK);
  un.Wait();

  EXPECT_FALSE(FolderExists(dest));
  EXPECT_FALSE(FolderExists(menu));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));

  RegDeleteTreeA(HKEY_LOCAL_MACHINE, kEntry);
  RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
  RemoveFolder(work);
}
