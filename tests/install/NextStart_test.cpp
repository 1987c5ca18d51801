// The real setup.exe under Wine, seen as Windows 95 (Wine's per-program
// Version) or as the NT family, installs over FOO.EXE and FOO.DLL held open:
// each waits for the next start under names of its own, WININIT.INI lines in
// short names on 95, delayed moves on NT, never both. `wineboot -r` then does
// what a restart does. The same road meets a missing package file and a folder
// in a file's place (one warning), a read-only target, and a post-installation
// program below "Program Files" beside a Program.exe.
#include "tests/wizard/RoadTest.h"

#include "tests/install/InstallFixture.h"

using namespace uikit;
using setup::test::ClearPendingMoves;
using setup::test::PendingMoves;
namespace ids = setup::ids;

namespace {

const char* kAppDefaults = "Software\\Wine\\AppDefaults\\setup.exe";

// setup.exe answers as Windows 95 while this lives.
class SeenAsWindows95 {
 public:
  SeenAsWindows95() {
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
      throw Failure("cannot open Wine's AppDefaults");
    RegSetValueExA(k, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win95"), 6);
    RegCloseKey(k);
  }
  ~SeenAsWindows95() { RegDeleteTreeA(HKEY_CURRENT_USER, kAppDefaults); }
};

// The [Rename] lines of WININIT.INI.
std::vector<std::string> RenameLines(const std::string& wininit) {
  std::vector<std::string> lines;
  std::string text = FileExists(wininit) ? ReadFileBytes(wininit) : "";
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find('=') != std::string::npos) lines.push_back(line);
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

// A path a DOS-mode program can open: every name 8.3, without blanks.
bool IsShortPath(const std::string& path) {
  size_t at = path.find('\\');
  if (at == std::string::npos) return false;
  while (at < path.size()) {
    size_t end = path.find('\\', at + 1);
    std::string name = path.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
    size_t dot = name.find('.');
    std::string stem = name.substr(0, dot), ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (name.empty() || stem.size() > 8 || ext.size() > 3 || ext.find('.') != std::string::npos ||
        name.find(' ') != std::string::npos)
      return false;
    at = end == std::string::npos ? path.size() : end;
  }
  return true;
}

HANDLE Hold(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) throw Failure("cannot hold " + path);
  return h;
}

// Answers every box until setup.exe ends: Cancel to the restart question (the
// user restarts later), OK to the others. Returns "caption: text (icon)" of each.
std::vector<std::string> AnswerBoxes(Process& setup) {
  std::vector<std::string> seen;
  for (;;) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindTop(setup.Id(), "#32770", "")) || !setup.Running(); },
              "a box of setup.exe, or its end", 60000);
    if (!box) return seen;
    MsgBox m = ReadMsgBox(box);
    seen.push_back(m.caption + ": " + m.text + " (" + IconName(m.icon) + ")");
    Answer(m, m.caption == "Information" ? IDCANCEL : IDOK);
  }
}

class NextStartRoad : public ::testing::TestWithParam<bool> {};

TEST_P(NextStartRoad, FilesInUseReplacedAtTheNextStart) {
  const bool win95 = GetParam();
  std::string work = TempDir(win95 ? "nextstart95" : "nextstartnt");
  std::string dist = Join(work, "Setup Disk");
  std::string dest = Join(work, "Program Files\\KwNext");
  std::string win = WindowsFolder(), wininit = win + "\\WININIT.INI";
  EmptyFolder(dist);
  CopyFileTo(Join(DistDir(), "setup.exe"), Join(dist, "setup.exe"));
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(dist, "UNPACK32.DLL"));
  std::string probe = Join(BinDir(), "tests\\execfile\\kw_probe.exe");
  CopyFileTo(probe, Join(dist, "_setup.ex_"));
  CopyFileTo(probe, Join(work, "Program.exe"));
  WriteTextFile(Join(dist, "setup.ini"),
                "\\KwNext\nKwNext\nKwNext Test\n:INSTALL\nFOO.EXE\nFOO.DLL\nreadonly.txt\n"
                "missing.txt\nconflict.txt\nFOO.EX_\n_setup.ex_\n:\n");
  WriteTextFile(Join(dist, "license.txt"), "Terms.\n");
  WriteTextFile(Join(dist, "readme.txt"), "Read me.\n");
  for (const char* f : {"FOO.EXE", "FOO.DLL", "readonly.txt", "conflict.txt"})
    WriteFileBytes(Join(dist, f), std::string("new ") + f);
  WriteFileBytes(Join(dist, "FOO.EX_"), "newer FOO.EXE");
  // The installed version: two files of one base name in use, a read-only file,
  // a folder where the package has a file.
  EmptyFolder(dest);
  WriteFileBytes(Join(dest, "FOO.EXE"), "old FOO.EXE");
  WriteFileBytes(Join(dest, "FOO.DLL"), "old FOO.DLL");
  WriteFileBytes(Join(dest, "readonly.txt"), "old");
  SetFileAttributesA(Join(dest, "readonly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  CreateDirectoryA(Join(dest, "conflict.txt").c_str(), nullptr);
  DeleteFileA(wininit.c_str());
  DeleteFileA((win + "\\WININIT.BAK").c_str());
  ClearPendingMoves();
  // On 95 the uninstaller's swap of WININIT.INI was cut off by a power cut:
  // its new text, with another program's line, beside; the old one aside.
  std::string queued = Join(work, "queued.txt");
  if (win95) {
    WriteFileBytes(queued, "another program's");
    char shortName[MAX_PATH];
    const DWORD n = GetShortPathNameA(queued.c_str(), shortName, MAX_PATH);
    WriteFileBytes(win + "\\WININIT.QFN", "[Rename]\r\nNUL=" + std::string(shortName, n) + "\r\n");
    WriteFileBytes(win + "\\WININIT.QFO", "[Rename]\r\n");
  }
  HANDLE exe = Hold(Join(dest, "FOO.EXE")), dll = Hold(Join(dest, "FOO.DLL"));

  {
    std::unique_ptr<SeenAsWindows95> seen(win95 ? new SeenAsWindows95 : nullptr);
    Process setup = Process::Start("\"" + Join(dist, "setup.exe") + "\"", dist);
    road::InstallInto(WaitTop(setup, "TfSetup", "", 60000), dest);
    EXPECT_EQ(AnswerBoxes(setup),
              (std::vector<std::string>{
                  "Setup: The installation is incomplete. These files could not be installed:\n\n" +
                      Join(dest, "missing.txt") + "\n" + Join(dest, "conflict.txt") + " (warning)",
                  "Information: Installation must reboot your computer. (information)",
                  "Confirm: Installation is complete (question)"}));
  }
  CloseHandle(exe);
  CloseHandle(dll);

  // Nothing replaced yet; the swap queued one way only.
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO.EXE")), "old FOO.EXE");
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO.DLL")), "old FOO.DLL");
  std::vector<std::string> lines = RenameLines(wininit);
  if (win95) {
    EXPECT_EQ(lines.size(), 5u) << "the other program's line and four of its own";
    EXPECT_FALSE(FileExists(win + "\\WININIT.QFN"));
    EXPECT_FALSE(FileExists(win + "\\WININIT.QFO"));
    for (const std::string& line : lines) {
      size_t eq = line.find('=');
      if (line.rfind("NUL=", 0) == 0) continue;  // the other program's
      EXPECT_TRUE(IsShortPath(line.substr(0, eq))) << line;
      EXPECT_TRUE(IsShortPath(line.substr(eq + 1))) << line;
    }
    EXPECT_EQ(PendingMoves(), std::vector<std::string>());
  } else {
    EXPECT_FALSE(FileExists(wininit));
    EXPECT_EQ(PendingMoves().size(), 8u) << "two moves for each file in use";
  }
  // The read-only file replaced, the folder left alone; the post-installation
  // program started by its quoted path, with the package folder quoted.
  EXPECT_EQ(ReadFileBytes(Join(dest, "readonly.txt")), "new readonly.txt");
  EXPECT_TRUE(FolderExists(Join(dest, "conflict.txt")));
  std::string report = ReadFileBytes(Join(dest, "_setup.exe.txt"));
  EXPECT_EQ(report.substr(0, report.find("\r\n")),
            "cmd=\"" + Join(dest, "_setup.exe") + "\" \"" + dist + "\"");
  EXPECT_FALSE(FileExists(Join(work, "Program.exe.txt"))) << "C:\\...\\Program.exe ran";

  // The restart: each file holds its own new bytes, the old ones are kept aside.
  Process boot = Process::Start("wineboot.exe -r");
  boot.Wait(60000);
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO.EXE")), "newer FOO.EXE");
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO.DLL")), "new FOO.DLL");
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO.BAK")), "old FOO.EXE");
  EXPECT_EQ(ReadFileBytes(Join(dest, "FOO1.BAK")), "old FOO.DLL");
  for (const std::string& name : ListFolder(dest))
    EXPECT_EQ(name.find(".MQF"), std::string::npos) << name << " left behind";
  EXPECT_FALSE(FileExists(wininit));
  EXPECT_EQ(PendingMoves(), std::vector<std::string>());
  EXPECT_FALSE(FileExists(queued)) << "the other program's line was carried out too";

  DeleteFileA((win + "\\WININIT.BAK").c_str());
  RemoveFolder(work);
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, NextStartRoad, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Windows95" : "NT"; });

}  // namespace
