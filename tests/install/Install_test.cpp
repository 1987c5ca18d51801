// RunInstall under Wine: real package files, target folders, registry,
// WININIT.INI and programs, with a recording host for the windows.
#include "setup/engine/Install.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "InstallFixture.h"
#include "setup/engine/Folders.h"
#include "tests/kit/UiKit.h"

using namespace setup;
using namespace setup::test;

namespace {

const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

// The file side of a whole list: the system backup, removals with both macros,
// the three copy sections with a starred entry over an existing file, .ex_
// programs and a file held open in the Windows folder; Cancel on the restart
// question.
TEST_F(InstallTest, BackupRemovalsAndCopiesWithAFileInUse) {
  std::string dest = root + "\\Program Files\\KwApp";
  state.DestDir = dest;
  CopyFileA(ProbeExe().c_str(), (pkg + "\\main.ex_").c_str(), FALSE);
  Package("readme.txt", "read me");
  Package("keep.ini", "new settings");
  Package("kwt_win.txt", "windows file");
  Package("kwt_lock.dll", "new library");
  Package("kwt_sys.dll", "system library");
  NeedSystemFolder();
  for (const char* f : {"\\kwt_win.txt", "\\kwt_old.txt", "\\kwt_lock.dll", "\\kwt_lock.MQF",
                        "\\System\\kwt_sys.dll", "\\CONFIG.KWB", "\\AUTOEXEC.KWB", "\\WININIT.INI"})
    Shared(win + f);
  // What the target system already holds.
  ForceFolders(dest);
  WriteText(dest + "\\keep.ini", "user settings", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  WriteText(dest + "\\old.txt", "obsolete");
  WriteText(win + "\\kwt_old.txt", "obsolete");
  WriteText(win + "\\kwt_lock.dll", "old library");
  const DWORD kProtected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
  WriteText(Shared("C:\\CONFIG.SYS"), "FILES=40", kProtected);
  WriteText(Shared("C:\\AUTOEXEC.BAT"), "PATH C:\\DOS");
  Remove("C:\\MSDOS.SYS");
  WriteText(win + "\\CONFIG.KWB", "older backup",
            FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  Remove(win + "\\WININIT.INI");
  Remove(win + "\\kwt_lock.MQF");
  ClearPendingMoves();
  held = CreateFileA((win + "\\kwt_lock.dll").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                     nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  List({"\\KwApp", "KwApp Menu", "KwApp",
        ":NOTRUNNING", "KwNoClass,KwNoTitle", ":",
        ":SYSBACKUP", "KWB", ":",
        ":REMOVEFILES", "<INSTALL>old.txt", "<WINDIR>\\kwt_old.txt", ":",
        ":INSTALL", "readme.txt", "main.EX_", "*keep.ini", ":",
        ":WIN", "kwt_win.txt", "kwt_lock.dll", ":",
        ":SYSTEM", "kwt_sys.dll", ":"});
  host.answers = {IDCANCEL};
  Run();
  CloseHandle(held);
  held = INVALID_HANDLE_VALUE;

  // Progress: 12 steps; the backup shows three, the copies one each.
  EXPECT_EQ(host.progress, (std::vector<int>{8, 16, 25, 41, 50, 58, 66, 75, 83}));
  ASSERT_GE(host.log.size(), 4u);
  EXPECT_EQ(host.log[0], "place 412");
  EXPECT_EQ(host.log[1], "show");
  EXPECT_EQ(host.log[2], "name Backing up system");
  EXPECT_TRUE(host.Logged("name main.EX_"));
  EXPECT_TRUE(host.Logged("name keep.ini")) << "the star is not shown";

  // System backup: the user's files keep their protection, the copies do not.
  EXPECT_EQ(Attrs("C:\\CONFIG.SYS") & kProtected, kProtected);
  EXPECT_EQ(ReadText(win + "\\CONFIG.KWB"), "FILES=40");
  EXPECT_EQ(Attrs(win + "\\CONFIG.KWB"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(ReadText(win + "\\AUTOEXEC.KWB"), "PATH C:\\DOS");
  EXPECT_FALSE(Exists(win + "\\MSDOS.KWB"));

  // Removals with both macros.
  EXPECT_FALSE(Exists(dest + "\\old.txt"));
  EXPECT_FALSE(Exists(win + "\\kwt_old.txt"));

  // Copies.
  EXPECT_EQ(ReadText(dest + "\\readme.txt"), "read me");
  EXPECT_EQ(Attrs(dest + "\\readme.txt"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_TRUE(FileExists(dest + "\\main.exe"));
  EXPECT_FALSE(FileExists(dest + "\\main.EX_"));
  EXPECT_EQ(ReadText(dest + "\\keep.ini"), "user settings");
  EXPECT_EQ(Attrs(dest + "\\keep.ini"), DWORD(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(ReadText(win + "\\kwt_win.txt"), "windows file");
  EXPECT_EQ(ReadText(win + "\\System\\kwt_sys.dll"), "system library");

  // The file in use: left alone, a .MQF copy beside it, and (Wine answering
  // as the NT family) two delayed moves instead of WININIT.INI lines.
  EXPECT_EQ(ReadText(win + "\\kwt_lock.dll"), "old library");
  EXPECT_EQ(ReadText(win + "\\kwt_lock.MQF"), "new library");
  EXPECT_FALSE(Exists(win + "\\WININIT.INI"));
  std::string lock = "\\??\\" + win + "\\kwt_lock";
  EXPECT_EQ(PendingMoves(), (std::vector<std::string>{lock + ".dll", lock + ".BAK", lock + ".MQF",
                                                        "!" + lock + ".dll"}));
  ClearPendingMoves();
  EXPECT_TRUE(RebootNeeded);

  // The end: restart question (Cancel), then the plain completion message.
  EXPECT_EQ(host.Messages(),
            (std::vector<std::string>{
                "Information: Installation must reboot your computer. (" +
                    std::to_string(MB_OKCANCEL | MB_ICONINFORMATION) + ")",
                "Confirm: Installation is complete (" +
                    std::to_string(MB_OK | MB_ICONQUESTION) + ")"}));
  EXPECT_FALSE(host.Logged("restart"));
}

// The program side of a whole list: the uninstall entry, the post-installation
// program, shortcuts, :RUNFILE, the registry with :DINK, the uninstall list that
// names every target, and Yes to "run now".
TEST_F(InstallTest, ProgramShortcutsRegistryAndUninstallList) {
  std::string dest = root + "\\Program Files\\KwApp";
  std::string sm = root + "\\Programs\\KwApp Menu";
  state.DestDir = dest;
  CopyFileA(ProbeExe().c_str(), (pkg + "\\main.ex_").c_str(), FALSE);
  CopyFileA(ProbeExe().c_str(), (pkg + "\\_setup.ex_").c_str(), FALSE);
  Package("readme.txt", "read me");
  Package("kwt_win.txt", "windows file");
  Shared(win + "\\kwt_win.txt");
  std::string un = std::string(kUninstallKey) + "KwEngineTest";
  SharedKey(HKEY_CURRENT_USER, "Software\\KwEngineTest");
  SharedKey(HKEY_LOCAL_MACHINE, un);
  RegSetString(HKEY_CURRENT_USER, "Software\\KwEngineTest\\Stale", "x", "y");

  List({"\\KwApp", "KwApp Menu", "KwApp",
        ":UNINSTALL", "KwEngineTest", "KwApp Test", "kwt_unin.exe", "r", ":",
        ":INSTALL", "readme.txt", "main.EX_", "_setup.ex_", ":",
        ":WIN", "kwt_win.txt", ":",
        ":SHORTCUTS", "KwApp", "main.exe", "readme.txt", "readme.txt", ":",
        ":DINK",
        ":RUNFILE", "main.exe", ":",
        ":reg",
        "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Path", "r",
        "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Open", "p",
        "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Count", "#5#", ":"});
  host.answers = {IDYES};
  Run();

  // The post-installation program ran with PackageDir, was waited for, is gone.
  // (Wine hands the child its program path in quotes when it holds a blank.)
  std::string setupReport = ReadText(dest + "\\_setup.exe.txt");
  EXPECT_NE(setupReport.find("\\_setup.exe"), std::string::npos) << setupReport;
  EXPECT_NE(setupReport.find(" " + pkg + "\r\n"), std::string::npos) << setupReport;
  EXPECT_FALSE(Exists(dest + "\\_setup.exe"));

  // Shortcuts: a link to the program, the read-me copied itself.
  EXPECT_EQ(state.StartMenuFolder, sm);
  EXPECT_TRUE(FileExists(sm + "\\KwApp.lnk"));
  EXPECT_EQ(ReadText(sm + "\\readme.txt"), "read me");

  // Registry values (the :DINK key was emptied first) and the uninstall entry.
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Software\\KwEngineTest", "Path"), dest);
  EXPECT_EQ(RegString(HKEY_CURRENT_USER, "Software\\KwEngineTest", "Open"),
            dest + "\\main.exe %1");
  EXPECT_EQ(RegNumber(HKEY_CURRENT_USER, "Software\\KwEngineTest", "Count"), 5u);
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, "Software\\KwEngineTest\\Stale"));
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, un, "DisplayName"), "KwApp Test");
  EXPECT_EQ(RegString(HKEY_LOCAL_MACHINE, un, "UninstallString"),
            win + "\\kwt_unin.exe \"" + dest + "\\unin.ini\"");

  // The uninstall list names every target, whatever happened to it.
  EXPECT_EQ(ReadText(dest + "\\unin.ini"),
            Join({"KwApp", dest, dest + "\\readme.txt", dest + "\\main.exe",
                  dest + "\\_setup.exe", win + "\\kwt_win.txt", sm + "\\KwApp",
                  sm + "\\readme.txt", "+" + sm, "", ":reg",
                  "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Path", dest,
                  "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Open", dest + "\\main.exe %1",
                  "HKEY_CURRENT_USER", "Software\\KwEngineTest", "Count", "#5#", ":"}));

  // The end: no restart question; "run now?" (Yes) opens the program.
  EXPECT_EQ(host.Messages(),
            (std::vector<std::string>{
                "Information: Installation is complete, would you like to run KwApp now? (" +
                std::to_string(MB_YESNO | MB_ICONINFORMATION) + ")"}));
  EXPECT_FALSE(RebootNeeded);
  EXPECT_TRUE(host.Logged("open " + dest + "\\main.exe in " + dest));
  EXPECT_TRUE(RunAtEnd);
  ASSERT_TRUE(AwaitFile(dest + "\\main.exe.txt", 10000)) << "the main program did not start";
  EXPECT_NE(ReadText(dest + "\\main.exe.txt").find("cwd=" + dest + "\r\n"), std::string::npos);
  EXPECT_TRUE(uikit::AwaitNoProcess("main.exe")) << "the program must end before its folder is removed";
}

// The progress of a backup and four files; :REBOOT answered with OK removes
// the temporary folder and asks for the restart, with no completion message.
TEST_F(InstallTest, RestartAcceptedAfterBackupAndFourFiles) {
  std::string dest = root + "\\deep\\er\\dest";
  state.DestDir = dest;
  state.TempDir = root + "\\QFINST1";
  ForceFolders(state.TempDir + "\\EXTRA");
  WriteText(state.TempDir + "\\a.zip", "zip", FILE_ATTRIBUTE_READONLY);
  WriteText(state.TempDir + "\\EXTRA\\x.txt", "x", FILE_ATTRIBUTE_HIDDEN);
  for (const char* f : {"a.txt", "b.txt", "c.txt", "d.txt"}) Package(f, f);
  for (const char* f : {"C:\\MSDOS.SYS", "C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT"}) Remove(f);
  List({"\\x", "Menu", "Prog", ":SYSBACKUP", ":", ":INSTALL", "a.txt", "b.txt", "c.txt", "d.txt",
        ":", ":REBOOT"});
  host.answers = {IDOK};
  Run();

  EXPECT_EQ(host.progress, (std::vector<int>{12, 25, 37, 62, 75, 87, 100}));
  EXPECT_EQ(ReadText(dest + "\\d.txt"), "d.txt") << "DestDir made with its parents";
  EXPECT_FALSE(Exists(win + "\\CONFIG.QFS")) << "nothing to back up";
  EXPECT_FALSE(Exists(dest + "\\unin.ini")) << "no :UNINSTALL, no list";
  EXPECT_FALSE(RebootNeeded);
  EXPECT_FALSE(RunAtEnd);
  EXPECT_FALSE(FolderExists(state.TempDir));
  EXPECT_EQ(host.Messages().size(), 1u) << "no completion message after OK";
  EXPECT_TRUE(host.Logged("pump"));
  EXPECT_EQ(host.log.back(), "restart");
}

// A temporary folder that cannot go (a file in it held open) is tried 120
// times, and the restart is asked for all the same.
TEST_F(InstallTest, RestartGivesUpOnAHeldTemporaryFolder) {
  state.DestDir = root + "\\app";
  state.TempDir = root + "\\QFINST2";
  ForceFolders(state.TempDir);
  WriteText(state.TempDir + "\\held.bin", "x");
  HANDLE held = CreateFileA((state.TempDir + "\\held.bin").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  List({"h", "h", "h", ":REBOOT"});
  host.answers = {IDOK};
  Run();
  CloseHandle(held);
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), "pump"), 120);
  EXPECT_EQ(host.log.back(), "restart");
  EXPECT_TRUE(FolderExists(state.TempDir));
}

TEST_F(InstallTest, CompletionMessages) {
  state.DestDir = root + "\\app";
  Package("a.txt", "a");
  // Without :RUNFILE: one OK box, also with shortcuts.
  List({"h", "h", "h", ":INSTALL", "a.txt", ":", ":SHORTCUTS", "A", "a.txt", ":"});
  Run();
  EXPECT_EQ(host.Messages(), (std::vector<std::string>{
                                 "Confirm: Installation is complete (" +
                                 std::to_string(MB_OK | MB_ICONQUESTION) + ")"}));
  // With it, No opens nothing.
  host = TestHost();
  host.answers = {IDNO};
  List({"h", "h", "h", ":RUNFILE", "a.txt"});
  Run();
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_NE(host.Messages()[0].find("would you like to run KwApp now?"), std::string::npos);
  for (const std::string& line : host.log) EXPECT_NE(line.rfind("open ", 0), 0u) << line;
}

// A copy section without its ":" line stops the engine before anything is
// written or shown.
TEST_F(InstallTest, CopySectionWithoutTerminator) {
  state.DestDir = root + "\\cut";
  Package("a.txt", "a");
  std::string un = std::string(kUninstallKey) + "KwEngineCut";
  List({"h", "h", "h", ":UNINSTALL", "KwEngineCut", "Cut", "u.exe", "r", ":", ":INSTALL", "a.txt"});
  try {
    Run();
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds");
  }
  EXPECT_TRUE(host.log.empty());
  EXPECT_FALSE(FolderExists(state.DestDir));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, un));
}

// An error while the copy-progress window is shown ends the run there: the
// window stays, nothing later is done.
TEST_F(InstallTest, ErrorLeavesTheCopyWindowOpen) {
  state.DestDir = root + "\\short";
  Package("a.txt", "a");
  List({"h", "h", "h", ":INSTALL", "a.txt", ":", ":UNINSTALL", "KwEngineShort", "Short"});
  EXPECT_THROW(Run(), ListIndexError);
  EXPECT_EQ(host.log, (std::vector<std::string>{"place 412", "show"}));
  EXPECT_FALSE(Exists(state.DestDir + "\\a.txt"));
}

}  // namespace
