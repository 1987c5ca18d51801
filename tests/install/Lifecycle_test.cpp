// An installation's life as a user lives it, with the real setup.exe and the
// uninstaller it installs: destinations typed on the folders page, removal
// through exactly the command of the uninstall entry, installing again before
// the restart that finishes a removal (`wineboot -r` restarts), and an
// installer killed while its post-installation program runs.
#include "tests/wizard/RoadTest.h"

#include <algorithm>
#include <memory>

#include "tests/install/InstallFixture.h"

using namespace uikit;
using setup::test::ClearPendingMoves;
using setup::test::PendingMoves;
namespace ids = setup::ids;

namespace {

const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KwLifeTest";

std::string UninstallString() {
  char buf[1024];
  DWORD size = sizeof buf;
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kEntry, 0, KEY_READ | ProgramView(), &k) != ERROR_SUCCESS)
    return "";
  LSTATUS rc = RegGetValueA(k, nullptr, "UninstallString", RRF_RT_REG_SZ, nullptr, buf, &size);
  RegCloseKey(k);
  return rc == ERROR_SUCCESS ? buf : "";
}

// Both programs answer as Windows 95 while this lives (the 32-bit road's kit
// tells them so itself).
class SeenAsWindows95 {
 public:
  SeenAsWindows95() {
    if (Road95()) return;
    for (const char* exe : {"setup.exe", "qfunin.exe"})
      RegSetKeyValueA(HKEY_CURRENT_USER, Key(exe).c_str(), "Version", REG_SZ, "win95", 6);
  }
  ~SeenAsWindows95() {
    if (Road95()) return;
    for (const char* exe : {"setup.exe", "qfunin.exe"}) RegDeleteTreeA(HKEY_CURRENT_USER, Key(exe).c_str());
  }

 private:
  static std::string Key(const char* exe) { return std::string("Software\\Wine\\AppDefaults\\") + exe; }
};

// A floppy folder with setup.exe, the uninstaller in :WIN and the files
// `extra` adds to :INSTALL; the uninstall list goes beside the files.
class Life : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = TempDir("life");
    disk_ = Join(work_, "Setup Disk");
    dest_ = Join(work_, "Program Files\\KwLife");
    Forget();
  }
  void TearDown() override {
    Forget();
    RemoveFolder(work_);
  }
  void Forget() { RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kEntry, ProgramView(), 0); }

  void MakeDisk(const std::string& version, const std::vector<std::string>& extra = {}) {
    EmptyFolder(disk_);
    for (const char* f : {"setup.exe", "UNPACK32.DLL", "qfunin.exe"})
      CopyFileTo(Join(DistDir(), f), Join(disk_, f));
    std::string install;
    for (const std::string& f : extra) install += f + "\n";
    WriteTextFile(Join(disk_, "setup.ini"),
                  "\\KwLife\nKwLife\nKwLife Test\n:UNINSTALL\nKwLifeTest\nKwLife Test\nqfunin.exe\nr\n"
                  ":INSTALL\nlife.txt\nheld.txt\n" + install + ":\n:WIN\nqfunin.exe\n:\n");
    WriteTextFile(Join(disk_, "license.txt"), "Terms.\n");
    WriteTextFile(Join(disk_, "readme.txt"), "Read me.\n");
    WriteFileBytes(Join(disk_, "life.txt"), "life " + version);
    WriteFileBytes(Join(disk_, "held.txt"), "held " + version);
  }

  Process StartSetup() { return Process::Start("\"" + Join(disk_, "setup.exe") + "\"", disk_); }

  // The wizard up to the folders page.
  HWND ToFolders(Process& setup) {
    HWND wiz = WaitTop(setup, "TfSetup", "", 60000);
    road::Next(wiz, "license");
    road::Next(wiz, "readme");
    road::Next(wiz, "paths");
    return wiz;
  }

  // Answers every box until the program ends: Cancel to the restart question
  // (the user restarts later), Yes to the uninstaller's question and to a
  // shared file, OK to the rest. Returns "caption: text" of each box.
  static std::vector<std::string> AnswerBoxes(Process& p) {
    std::vector<std::string> seen;
    auto messageBox = [&] {
      for (HWND w : TopWindows(p.Id())) {
        try {
          if (IsMessageBox(w)) return w;
        } catch (const Failure&) {
          // gone, or busy a moment (a 32-bit program under emulation): looked at again
        }
      }
      return HWND{};
    };
    for (;;) {
      HWND box = nullptr, shared = nullptr;
      WaitUntil([&] {
        return (box = messageBox()) || (shared = FindTop(p.Id(), "TfShared", "")) || !p.Running();
      }, "a box of " + p.Name() + ", or its end", 60000);
      if (shared) {
        seen.push_back("shared file");
        PressKey(shared, 'Y');
        WaitGone(shared, "the shared file question");
        continue;
      }
      if (!box) return seen;
      MsgBox m = ReadMsgBox(box);
      seen.push_back(m.caption + ": " + m.text);
      Answer(m, m.caption == "Information" ? IDCANCEL : m.HasButton(IDYES) ? IDYES : IDOK);
    }
  }

  // Removes the installation the way the list of installed programs does.
  std::vector<std::string> Uninstall() {
    std::string command = UninstallString();
    if (command.empty()) throw Failure("no uninstall entry");
    Process un = Process::Start(command);
    return AnswerBoxes(un);
  }

  std::string work_, disk_, dest_;
};

bool Has(const std::vector<std::string>& seen, const std::string& part) {
  for (const std::string& s : seen)
    if (s.find(part) != std::string::npos) return true;
  return false;
}

// A destination that is no full path is refused on the folders page with its
// reason and the page stays; "/" is taken as "\", so the list the uninstaller
// gets names the folder it knows, and it removes the whole installation.
TEST_F(Life, DestinationMustBeAFullPath) {
  MakeDisk("1");
  Process setup = StartSetup();
  HWND wiz = ToFolders(setup);
  HWND edit = road::Ctl(wiz, ids::kDestination);
  for (auto [typed, reason] : std::vector<std::pair<std::string, std::string>>{
           {"MyApp", "\"MyApp\" is not a full path."},
           {"", "Please type the folder to install to."},
           {"C:\\", "\"C:\\\" is the root of a drive."},
           {"C:\\Program Files.\\App", "ends in a dot or blank"}}) {
    SCOPED_TRACE(typed);
    SetText(edit, typed);
    Click(road::Ctl(wiz, ids::kNext));
    MsgBox box = WaitMsgBox(setup, "Warning");
    EXPECT_NE(box.text.find(reason), std::string::npos) << box.text;
    EXPECT_EQ(box.icon, Icon::Warning);
    Answer(box, IDOK);
    EXPECT_EQ(road::Page(wiz), "paths");
  }
  std::string slashed = dest_;
  for (char& c : slashed)
    if (c == '\\') c = '/';
  SetText(edit, slashed + "/");
  road::Next(wiz, "finish");
  EXPECT_EQ(Text(road::Ctl(wiz, ids::kProgFiles)), dest_);
  Click(road::Ctl(wiz, ids::kNext));
  EXPECT_EQ(AnswerBoxes(setup), (std::vector<std::string>{"Confirm: Installation is complete"}));
  EXPECT_EQ(ReadFileBytes(Join(dest_, "life.txt")), "life 1");
  std::string list = ReadFileBytes(Join(dest_, "unin.ini"));
  EXPECT_EQ(list.substr(0, list.find("\r\n", list.find("\r\n") + 2)), "KwLife Test\r\n" + dest_);
  EXPECT_EQ(UninstallString(), WindowsFolder() + "\\qfunin.exe \"" + dest_ + "\\unin.ini\"");

  Uninstall();
  EXPECT_FALSE(FolderExists(dest_));
  EXPECT_EQ(UninstallString(), "");
}

// Killed while its post-installation program runs (as by a power cut, or a
// program that restarts Windows), the installer has already left a list that
// names what it installed: the entry's command removes all of it.
TEST_F(Life, CutOffInstallationCanBeRemoved) {
  MakeDisk("1", {"_setup.ex_"});
  CopyFileTo(Join(BinDir(), "tests\\execfile\\kw_probe.exe"), Join(disk_, "_setup.ex_"));
  std::string temp = WindowsFolder() + "\\TEMP";
  std::vector<std::string> before = ListFolder(temp);
  SetEnvironmentVariableA("KW_PROBE_SLEEP", "600000");
  Process setup = StartSetup();
  SetEnvironmentVariableA("KW_PROBE_SLEEP", nullptr);
  road::InstallInto(WaitTop(setup, "TfSetup", "", 60000), dest_);
  WaitUntil([] { return !AwaitNoProcess("_setup.exe", 0); }, "the post-installation program", 60000);
  setup.Kill();
  EXPECT_EQ(KillByName("_setup.exe"), 1);
  // The killed installer's temporary folder is left; the prefix is not.
  for (const std::string& name : ListFolder(temp))
    if (std::find(before.begin(), before.end(), name) == before.end()) RemoveFolder(Join(temp, name));
  ASSERT_TRUE(FileExists(Join(dest_, "life.txt")));

  std::vector<std::string> seen = Uninstall();
  EXPECT_FALSE(Has(seen, "Nothing was removed")) << ::testing::PrintToString(seen);
  EXPECT_FALSE(FolderExists(dest_)) << ::testing::PrintToString(ListFolder(dest_));
  EXPECT_EQ(UninstallString(), "");
}

// Removed while one of its files was in use, then installed again before the
// restart that deletes that file: the new copy waits to land after the
// deletion (restart asked for), so the file is there after the restart; on
// Windows 95 through WININIT.INI, on the NT family through delayed moves.
class Reinstall : public Life, public ::testing::WithParamInterface<bool> {};

TEST_P(Reinstall, BeforeTheRestartThatFinishesARemoval) {
  const bool win95 = GetParam();
  std::string wininit = WindowsFolder() + "\\WININIT.INI";
  DeleteFileA(wininit.c_str());
  DeleteFileA((WindowsFolder() + "\\WININIT.BAK").c_str());
  ClearPendingMoves();
  std::unique_ptr<SeenAsWindows95> seen(win95 ? new SeenAsWindows95 : nullptr);

  MakeDisk("1");
  Process first = StartSetup();
  road::InstallInto(WaitTop(first, "TfSetup", "", 60000), dest_);
  EXPECT_EQ(AnswerBoxes(first), (std::vector<std::string>{"Confirm: Installation is complete"}));
  {
    HANDLE held = CreateFileA(Join(dest_, "held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::vector<std::string> boxes = Uninstall();
    CloseHandle(held);
    ASSERT_TRUE(Has(boxes, "Restart Windows")) << ::testing::PrintToString(boxes);
  }
  ASSERT_EQ(ReadFileBytes(Join(dest_, "held.txt")), "held 1");
  if (win95)
    ASSERT_NE(ReadFileBytes(wininit).find("NUL="), std::string::npos);
  else
    ASSERT_FALSE(PendingMoves().empty());

  MakeDisk("2");
  Process second = StartSetup();
  road::InstallInto(WaitTop(second, "TfSetup", "", 60000), dest_);
  EXPECT_EQ(AnswerBoxes(second),
            (std::vector<std::string>{"Information: Installation must reboot your computer.",
                                      "Confirm: Installation is complete"}));
  EXPECT_EQ(ReadFileBytes(Join(dest_, "held.txt")), "held 2");

  Process boot = Process::Start("wineboot.exe -r");
  boot.Wait(120000);
  EXPECT_EQ(ReadFileBytes(Join(dest_, "held.txt")), "held 2");
  EXPECT_EQ(ReadFileBytes(Join(dest_, "life.txt")), "life 2");
  for (const std::string& name : ListFolder(dest_))
    EXPECT_EQ(name.find(".MQF"), std::string::npos) << name << " left behind";
  EXPECT_FALSE(FileExists(wininit));
  EXPECT_EQ(PendingMoves(), std::vector<std::string>());

  // The second installation's list still removes all of it.
  Uninstall();
  EXPECT_FALSE(FolderExists(dest_));
  DeleteFileA((WindowsFolder() + "\\WININIT.BAK").c_str());
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, Reinstall, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Windows95" : "NT"; });

// Current Windows asks for administrator rights before either program starts:
// a manifest with only the trustInfo request, in the form XP also reads.
TEST(Manifest, SetupAndUninstallerAskForAdministratorRights) {
  for (const char* exe : {"setup.exe", "qfunin.exe"}) {
    SCOPED_TRACE(exe);
    HMODULE m = LoadLibraryExA(Join(DistDir(), exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(m);
    HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(r) << "no manifest";
    std::string text(static_cast<const char*>(LockResource(LoadResource(m, r))), SizeofResource(m, r));
    FreeLibrary(m);
    EXPECT_NE(text.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v2\">"), std::string::npos);
    EXPECT_NE(text.find("<requestedExecutionLevel level=\"requireAdministrator\" uiAccess=\"false\"/>"),
              std::string::npos);
    EXPECT_EQ(text.find("dependency"), std::string::npos) << "no Common Controls 6, no other assembly";
  }
}

}  // namespace
