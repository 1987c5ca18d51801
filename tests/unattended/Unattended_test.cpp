// setup.exe and qfunin.exe run by a script: /S, /D=, /G=, /LOG=, the exit
// codes, and not one window of either program ever visible.
#include "tests/wizard/RoadTest.h"

#include <algorithm>

using namespace uikit;

namespace {

const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KerfDemoQfunin";
const char* kDemoKey = "Software\\Quillfen\\KerfDemo";
const char* kSharedKey = "Software\\Quillfen\\Shared";

std::string SharedFile() { return WindowsFolder() + "\\System\\kwshared.dll"; }

void Forget() {
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kEntry, ProgramView(), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kSharedKey);
  DeleteFileA(SharedFile().c_str());
}

// Starts the command and waits for its end, watching all along that the
// program never shows a window; returns the exit code.
DWORD RunUnseen(const std::string& command, const std::string& dir = "") {
  Process p = Process::Start(command, dir);
  std::vector<std::string> seen;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows(p.Id())) {
          std::string what = Describe(w) + " '" + Text(w) + "'";
          if (std::find(seen.begin(), seen.end(), what) == seen.end()) seen.push_back(what);
        }
        return !p.Running();
      },
      p.Name() + " ending", 120000);
  EXPECT_EQ(seen, std::vector<std::string>{}) << command;
  return p.Wait();
}

std::vector<std::string> LogLines(const std::string& path) {
  std::string bytes = ReadFileBytes(path);
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "the log's last line ends in CR LF";
  for (const std::string& l : lines) EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos) << l;
  return lines;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A disk 1 copied with the installer beside it into `dir`, out of drive A:.
std::string CopyDisk1(const std::string& package, const std::string& dir) {
  CopyFolder(Join(package, "disk1"), dir);
  CopyFileTo(Join(DistDir(), "setup.exe"), Join(dir, "setup.exe"));
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(dir, "UNPACK32.DLL"));
  return "\"" + Join(dir, "setup.exe") + "\"";
}

class Unattended : public ::testing::Test {
 protected:
  void SetUp() override {
    Forget();
    CreateDirectoryA((WindowsFolder() + "\\System").c_str(), nullptr);
    work_ = TempDir("unattended");
    programs_ = road::MakePrograms(work_);
    record_ = std::make_unique<road::ProgramsFolder>(programs_);
  }
  void TearDown() override {
    record_.reset();
    Forget();
    RemoveFolder(work_);
  }
  std::string work_, programs_;
  std::unique_ptr<road::ProgramsFolder> record_;
};

}  // namespace

// Every section of the uninstaller's package, installed with /S into a folder
// with blanks and a Start Menu folder of its own, then removed through the
// entry's own command with /S added: the shared file stays, the rest goes.
TEST_F(Unattended, SilentInstallAndRemoval) {
  std::string package = Join(BinDir(), Road95() ? "tests\\qfunin\\package32" : "tests\\qfunin\\package");
  std::string setup = CopyDisk1(package, Join(work_, "cd"));
  std::string dest = Join(work_, "Kerf Demo"), menu = Join(programs_, "Kerf Tools");
  std::string log = Join(work_, "setup log.txt"), win = WindowsFolder();
  DWORD code = RunUnseen(setup + " /s /log=\"" + log + "\" /G=\"Kerf Tools\" /D=" + dest, work_);
  EXPECT_EQ(code, 0u);

  EXPECT_EQ(CompareFiles(Join(dest, "readme.txt"), Join(package, "pkg\\readme.txt")), "");
  EXPECT_TRUE(FileExists(Join(dest, "kwdemo.exe")));
  EXPECT_TRUE(FileExists(Join(win, "qfunin.exe")));
  EXPECT_TRUE(FileExists(SharedFile()));
  EXPECT_TRUE(FileExists(Join(menu, "Kerf Demo.lnk")));
  EXPECT_TRUE(FileExists(Join(menu, "readme.txt")));
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kDemoKey, "Path"), dest);
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kDemoKey, "Runs"), "3");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kSharedKey, "KerfDemo"), dest);
  std::string command = RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString");
  EXPECT_EQ(command, win + "\\qfunin.exe \"" + dest + "\\unin.ini\"");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kEntry, "DisplayName"), "Kerf Demo 1.0");
  std::string list = ReadFileBytes(Join(dest, "unin.ini"));
  EXPECT_EQ(list.rfind("Kerf Demo 1.0\r\n" + dest + "\r\n", 0), 0u) << list;
  EXPECT_NE(list.find("\r\n" + Join(dest, "kwdemo.exe") + "\r\n"), std::string::npos) << list;
  EXPECT_NE(list.find(Join(menu, "Kerf Demo") + "\r\n"), std::string::npos) << list;

  std::vector<std::string> lines = LogLines(log);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front().rfind("Setup started: ", 0), 0u) << lines.front();
  for (const std::string& want : std::vector<std::string>{
           "Copied " + Join(dest, "kwdemo.exe"), "Copied " + Join(dest, "readme.txt"),
        "Copied " + Join(win, "qfunin.exe"), "Copied " + SharedFile(),
        "Shortcut " + Join(menu, "Kerf Demo.lnk") + " to " + Join(dest, "kwdemo.exe"),
        "Copied " + Join(menu, "readme.txt"),
        std::string("Registry value HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo\\Runs = #3#"),
        "Uninstall entry HKEY_LOCAL_MACHINE\\" + std::string(kEntry) + ": " + command,
        "Uninstall list " + Join(dest, "unin.ini"),
        "Installing Kerf Demo 1.0 into " + dest + ", Start Menu folder " + menu})
    EXPECT_TRUE(Has(lines, want)) << want;
  EXPECT_EQ(lines.back(), "Exit code 0: done");

  // Removal: exactly the entry's command, with /S and a log added.
  const std::string unlog = Join(work_, "removal log.txt");
  EXPECT_EQ(RunUnseen(command + " /S /LOG=\"" + unlog + "\""), 0u);
  lines = LogLines(unlog);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "Uninstall started: " + command + " /S /LOG=\"" + unlog + "\"");
  for (const std::string& want : std::vector<std::string>{
           "Removed " + Join(dest, "kwdemo.exe"), "Removed " + Join(menu, "Kerf Demo.lnk"),
           "Kept the shared file " + SharedFile(), "Removed the folder " + dest, "Removed the folder " + menu,
           std::string("Removed registry value HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo\\Path"),
           "Removed registry value HKEY_LOCAL_MACHINE\\" + std::string(kEntry) + "\\UninstallString"})
    EXPECT_TRUE(Has(lines, want)) << want;
  EXPECT_EQ(lines.back(), "Exit code 0: done");
  EXPECT_FALSE(FolderExists(dest));
  EXPECT_FALSE(FolderExists(menu));
  EXPECT_TRUE(FileExists(SharedFile()));
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kDemoKey, "Path"), "<missing>");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString"), "<missing>");
  DeleteFileA(Join(win, "qfunin.exe").c_str());
}

// A part missing from every place it may be in: nothing waits for a disk,
// nothing is installed, the log names the part.
TEST_F(Unattended, MissingPartFails) {
  std::string package = Join(BinDir(), "tests\\wizard\\package");
  std::string setup = CopyDisk1(package, Join(work_, "disk1"));
  CopyFolder(Join(package, "disk3"), Join(work_, "disk3"));
  std::string dest = Join(work_, "Kerf Demo"), log = Join(work_, "setup.log");
  EXPECT_EQ(RunUnseen(setup + " /S /LOG=" + log + " /D=" + dest), 1603u);
  EXPECT_FALSE(FolderExists(dest));
  std::vector<std::string> lines = LogLines(log);
  EXPECT_TRUE(Has(lines, "Part kwdemo.1 taken from " + Join(work_, "disk1\\kwdemo.1")));
  EXPECT_TRUE(Has(lines, "Warning: Setup disk number 2 is missing: there is no " +
                             Join(work_, "disk1\\kwdemo.2") + " or " + Join(work_, "disk2\\kwdemo.2") + "."));
  EXPECT_EQ(lines.back(), "Exit code 1603: failed or incomplete");
}

// A command line it cannot follow ends the run before anything is done; a log
// that cannot be written does not stop a silent run.
TEST_F(Unattended, RefusedCommandLines) {
  std::string setup = CopyDisk1(Join(BinDir(), "tests\\wizard\\package"), Join(work_, "disk1"));
  std::string log = Join(work_, "bad.log");
  for (const char* args : {" /S /D=MyApp", " /S /D=", " /S /X", " /S /G="}) {
    EXPECT_EQ(RunUnseen(setup + " /LOG=" + log + args), 1639u) << args;
    std::vector<std::string> lines = LogLines(log);
    ASSERT_EQ(lines.size(), 3u) << args;
    EXPECT_EQ(lines[1].rfind("Warning: ", 0), 0u) << lines[1];
    EXPECT_EQ(lines[2], "Exit code 1639: bad command line");
  }
  EXPECT_EQ(RunUnseen(setup + " /S /LOG=" + Join(work_, "no such folder\\a.log") + " /D=MyApp"), 1639u);
}

// Interactively too: /D and /G fill the folders page, Cancel gives 1602 (the
// disks copied side by side, no disk is asked for on the way); a bad switch
// is shown.
TEST_F(Unattended, InteractiveExitCodes) {
  std::string package = Join(BinDir(), "tests\\wizard\\package");
  std::string setup = CopyDisk1(package, Join(work_, "disk1"));
  CopyFolder(Join(package, "disk2"), Join(work_, "disk2"));
  CopyFolder(Join(package, "disk3"), Join(work_, "disk3"));
  Process p = Process::Start(setup + " /G=\"Given Group\" /D=C:\\Given Folder");
  HWND wiz = WaitTop(p, "TfSetup", "", 60000);
  road::Next(wiz, "license");
  road::Next(wiz, "readme");
  road::Next(wiz, "paths");
  EXPECT_EQ(Text(road::Ctl(wiz, setup::ids::kDestination)), "C:\\Given Folder");
  EXPECT_EQ(Text(road::Ctl(wiz, setup::ids::kStartMenu)), "Given Group");
  Click(road::Ctl(wiz, setup::ids::kCancel));
  EXPECT_EQ(p.Wait(), 1602u);

  p = Process::Start(setup + " /D=MyApp");
  MsgBox box = WaitMsgBox(p, "Warning");
  EXPECT_NE(box.text.find("\"MyApp\""), std::string::npos) << box.text;
  Answer(box, IDOK);
  EXPECT_EQ(p.Wait(), 1639u);
}

// A list that asks for a restart, unpacked in a folder: with /S the restart is
// not started, the exit code asks for it.
TEST_F(Unattended, RestartIsLeftToTheCaller) {
  std::string src = Join(work_, "unpacked"), dest = Join(work_, "Restart Demo");
  CreateDirectoryA(src.c_str(), nullptr);
  WriteTextFile(Join(src, "setup.ini"), "\\Restart Demo\nRestart Demo\nRestart Demo 1.0\n"
                                        ":INSTALL\nnote.txt\n:\n:REBOOT\n:\n");
  WriteTextFile(Join(src, "note.txt"), "installed\n");
  CopyFileTo(Join(DistDir(), "setup.exe"), Join(src, "setup.exe"));
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(src, "UNPACK32.DLL"));
  std::string log = Join(work_, "restart.log");
  EXPECT_EQ(RunUnseen("\"" + Join(src, "setup.exe") + "\" /S /LOG=" + log + " /D=" + dest), 3010u);
  EXPECT_TRUE(FileExists(Join(dest, "note.txt")));
  std::vector<std::string> lines = LogLines(log);
  EXPECT_TRUE(Has(lines, "Copied " + Join(dest, "note.txt")));
  EXPECT_EQ(lines.back(), "Exit code 3010: done, Windows must restart to finish");
}

// qfunin.exe /S: a file in use goes at the next start (3010); a list it cannot
// read is refused without a box (1603).
TEST_F(Unattended, SilentRemovalExitCodes) {
  std::string dir = Join(work_, "Held Demo");
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string held = Join(dir, "held.txt"), free = Join(dir, "free.txt"), list = Join(dir, "unin.ini");
  WriteTextFile(held, "h\n");
  WriteTextFile(free, "f\n");
  WriteTextFile(list, "Held Demo 1.0\n" + dir + "\n" + held + "\n" + free + "\n\n");
  std::string qfunin = "\"" + Join(DistDir(), "qfunin.exe") + "\"";
  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const std::string log = Join(work_, "un.log");
  EXPECT_EQ(RunUnseen(qfunin + " /S \"" + list + "\" /LOG=" + log), 3010u);
  CloseHandle(h);
  EXPECT_FALSE(FileExists(free));
  EXPECT_FALSE(FileExists(list));
  std::vector<std::string> lines = LogLines(log);
  EXPECT_TRUE(Has(lines, "Removed " + free));
  EXPECT_TRUE(Has(lines, "Queued for the restart " + held));
  EXPECT_EQ(lines.back(), "Exit code 3010: done, Windows must restart to finish");
  EXPECT_EQ(RunUnseen(qfunin + " \"" + list + "\" /s /LOG=" + log), 1603u);
  lines = LogLines(log);
  EXPECT_EQ(lines.size(), 3u) << "written anew";
  EXPECT_TRUE(Has(lines, "Uninstall: The uninstall list \"" + list + "\" cannot be read. Nothing was removed."));
}
