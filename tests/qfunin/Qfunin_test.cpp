// qfunin.exe under Wine as a user meets it: a package installed through the
// wizard, then exactly the command its uninstall entry holds, answered through
// the windows; lists it must refuse; files in use gone after a restart.
#include "tests/wizard/RoadTest.h"

#include "qfunin/QfuninIds.h"

using namespace uikit;
namespace ids = qfunin::ids;

namespace {

const char* kEntry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KerfDemoQfunin";
const char* kDemoKey = "Software\\Quillfen\\KerfDemo";
const char* kSharedKey = "Software\\Quillfen\\Shared";
const char* kAppDefaults = "Software\\Wine\\AppDefaults\\qfunin.exe";
const char* kLogon = "Network\\Logon";

void SetRegText(HKEY root, const char* key, const char* name, const std::string& data) {
  RegSetKeyValueA(root, key, name, REG_SZ, data.c_str(), DWORD(data.size() + 1));
}

// qfunin.exe answers as Windows 95 while this lives; the prefix is left as
// found even when a check fails.
struct SeenAsWindows95 {
  SeenAsWindows95() { SetRegText(HKEY_CURRENT_USER, kAppDefaults, "Version", "win95"); }
  ~SeenAsWindows95() { RegDeleteTreeA(HKEY_CURRENT_USER, kAppDefaults); }
};

std::string SharedFile() { return WindowsFolder() + "\\System\\kwshared.dll"; }

std::string ShortPath(const std::string& path) {
  char buf[MAX_PATH];
  DWORD n = GetShortPathNameA(path.c_str(), buf, sizeof buf);
  return std::string(buf, n);
}

void ForgetDemo() {
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kEntry, ProgramView(), 0);
  RegDeleteTreeA(HKEY_CURRENT_USER, kDemoKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kSharedKey);
  RegDeleteTreeA(HKEY_CLASSES_ROOT, ".kwdq");
  RegDeleteTreeA(HKEY_CLASSES_ROOT, ".kwdr");
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kLogon, "PrimaryProvider");
  RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kLogon, "PreviousProvider");
  DeleteFileA(SharedFile().c_str());
}

// Held open without sharing deletion, as a running program holds its files.
class Held {
 public:
  explicit Held(const std::string& path)
      : h_(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {
    if (h_ == INVALID_HANDLE_VALUE) throw Failure("cannot open " + path);
  }
  ~Held() { Release(); }
  void Release() {
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_;
};

// The restart that carries out WININIT.INI and the delayed deletions.
void Restart() {
  Process boot = Process::Start("wineboot.exe -r");
  boot.Wait(120000);
}

// The package through every wizard page into `dest`; the closing box answered
// No ("run now") or OK ("complete"). A 32-bit road installs the 32-bit uninstaller.
void Install(const std::string& dest) {
  road::UsePackage(Join(BinDir(), Road95() ? "tests\\qfunin\\package32" : "tests\\qfunin\\package"));
  Process setup;
  HWND wiz = road::RunToWizard(setup);
  road::InstallInto(wiz, dest);
  MsgBox end = WaitMsgBox(setup, "", 60000);
  Answer(end, end.HasButton(IDNO) ? IDNO : IDOK);
  EXPECT_EQ(setup.Wait(), 0u);
  ASSERT_TRUE(FileExists(Join(dest, "unin.ini")));
}

// Starts the command as the list of installed programs would and says Yes.
Process StartUninstall(const std::string& command) {
  Process un = Process::Start(command);
  MsgBox ask = WaitMsgBox(un, "Uninstall");
  EXPECT_EQ(ask.text, "Are you sure you want to remove Kerf Demo 1.0 and all of its components?");
  EXPECT_EQ(ask.icon, Icon::Question);
  EXPECT_TRUE(ask.HasButton(IDYES) && ask.HasButton(IDNO));
  Answer(ask, IDYES);
  return un;
}

// The closing box of a removal that took everything, and its exit code.
void ExpectAllRemoved(Process& un) {
  MsgBox done = WaitMsgBox(un, "Uninstall", 60000);
  EXPECT_EQ(done.text, "Kerf Demo 1.0 was removed from your computer.");
  EXPECT_EQ(done.icon, Icon::Information);
  Answer(done, IDOK);
  EXPECT_EQ(un.Wait(), DWORD(ids::kExitRemoved));
}

HWND WaitShared(const Process& un) {
  HWND box = WaitTop(un, "TfShared", "Remove Shared File?", 60000);
  WaitText(Child(box, ids::kSharedText),
           "The file\r\n\r\n" + SharedFile() +
               "\r\n\r\nlies in the Windows folder and may be shared by other programs, which may "
               "not work without it. Remove it?");
  return box;
}

class Uninstaller : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetDemo();
    // Windows 95/98 always have it; a fresh wine64 prefix may not.
    CreateDirectoryA((WindowsFolder() + "\\System").c_str(), nullptr);
    work_ = TempDir("qfunin");
    dest_ = Join(work_, "Kerf Demo");
    programs_ = road::MakePrograms(work_);
    menu_ = Join(programs_, "Kerf Demo");
    record_ = std::make_unique<road::ProgramsFolder>(programs_);
  }
  void TearDown() override {
    record_.reset();
    ForgetDemo();
    RemoveFolder(work_);
  }
  std::string work_, dest_, programs_, menu_;
  std::unique_ptr<road::ProgramsFolder> record_;
};

}  // namespace

// Everything the installation made goes: files, the shared file (Yes), the
// shortcut and the copied document in the Start Menu, their folder, values and
// keys, the uninstall entry, the list, the destination folder.
TEST_F(Uninstaller, RemovesWhatTheInstallationMade) {
  Install(dest_);
  std::string win = WindowsFolder();
  EXPECT_TRUE(FileExists(SharedFile()));
  EXPECT_TRUE(FileExists(Join(menu_, "Kerf Demo.lnk")));
  EXPECT_TRUE(FileExists(Join(menu_, "readme.txt")));
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kSharedKey, "KerfDemo"), dest_);
  std::string command = RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString");
  ASSERT_EQ(command, win + "\\qfunin.exe \"" + dest_ + "\\unin.ini\"");

  Process un = StartUninstall(command);
  HWND shared = WaitShared(un);
  // No is the default; the progress window waits behind the question.
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  GetGUIThreadInfo(GetWindowThreadProcessId(shared, nullptr), &gui);
  EXPECT_EQ(gui.hwndFocus, Child(shared, ids::kNo));
  EXPECT_EQ(Text(Child(shared, ids::kYes)), "&Yes");
  EXPECT_EQ(Text(Child(shared, ids::kYesToAll)), "Yes to &All");
  EXPECT_EQ(Text(Child(shared, ids::kNo)), "&No");
  EXPECT_EQ(Text(Child(shared, ids::kNoToAll)), "No to A&ll");
  HWND progress = FindTop(un.Id(), "TfUninstall", "Uninstall");
  ASSERT_TRUE(progress);
  EXPECT_EQ(Text(Child(progress, ids::kItem)), SharedFile());
  EXPECT_GT(ProgressPos(Child(progress, ids::kGauge)), 0);
  road::Shot(shared, Join(BinDir(), "qfunin-shots"), "shared");
  road::Shot(progress, Join(BinDir(), "qfunin-shots"), "progress");
  Click(Child(shared, ids::kYes));

  ExpectAllRemoved(un);

  EXPECT_FALSE(FolderExists(dest_));
  EXPECT_FALSE(FileExists(SharedFile()));
  EXPECT_FALSE(FolderExists(menu_));
  EXPECT_TRUE(FolderExists(Join(programs_, "Accessories")));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDemoKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSharedKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kwdq"));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kLogon, "PrimaryProvider"), "<missing>");
  // The uninstall entries of other packages start the same program.
  EXPECT_TRUE(FileExists(win + "\\qfunin.exe"));
}

// A file the user added, values the package did not write, a shared file
// answered No (Enter: the default), an installed file held open: all stay,
// the message says where, and the held file goes at the next start.
TEST_F(Uninstaller, KeepsWhatIsNotItsOwnAndQueuesFilesInUse) {
  SetRegText(HKEY_CURRENT_USER, kSharedKey, "Other", "kept");
  SetRegText(HKEY_LOCAL_MACHINE, kLogon, "PrimaryProvider", "Old Net");
  Install(dest_);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kLogon, "PreviousProvider"), "Old Net");
  WriteTextFile(Join(dest_, "notes.txt"), "the user's own\n");
  // Another program's empty folder in the destination, and a file type it took over.
  CreateDirectoryA(Join(dest_, "Other Tool").c_str(), nullptr);
  SetRegText(HKEY_CLASSES_ROOT, ".kwdq", "Content Type", "text/x-other");
  Held held(Join(dest_, "readme.txt"));

  Process un = StartUninstall(RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString"));
  PressKey(WaitShared(un), VK_RETURN);
  MsgBox done = WaitMsgBox(un, "Uninstall", 60000);
  EXPECT_EQ(done.text, "Kerf Demo 1.0 was removed, but some items could not be removed. You can remove "
                       "them yourself; look in:\r\n\r\n" + dest_ +
                       "\r\n\r\nSome files were in use. Restart Windows to finish removing them.");
  EXPECT_EQ(done.icon, Icon::Warning);
  Answer(done, IDOK);
  EXPECT_EQ(un.Wait(), DWORD(ids::kExitStayed));

  EXPECT_EQ(ListFolder(dest_), (std::vector<std::string>{"Other Tool\\", "notes.txt", "readme.txt"}));
  EXPECT_TRUE(FileExists(SharedFile()));
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, ".kwdq", "Content Type"), "text/x-other");
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".kwdr"));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kLogon, "PrimaryProvider"), "Old Net");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kSharedKey, "Other"), "kept");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, kSharedKey, "KerfDemo"), "<missing>");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kDemoKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  EXPECT_FALSE(FolderExists(menu_));

  held.Release();
  Restart();
  EXPECT_EQ(ListFolder(dest_), (std::vector<std::string>{"Other Tool\\", "notes.txt"}));
}

// As Windows 95 (Wine's per-program version): two files in use land in
// WININIT.INI's [Rename] section under short names, both, and go at the restart.
TEST_F(Uninstaller, Windows95QueuesInWininit) {
  std::string dir = Join(work_, "Long Folder Name");
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string a = Join(dir, "First Long Name.txt"), b = Join(dir, "second.txt");
  WriteTextFile(a, "a\n");
  WriteTextFile(b, "b\n");
  std::string list = Join(dir, "unin.ini");
  WriteTextFile(list, "Kerf Demo 1.0\n" + dir + "\n" + a + "\n" + b + "\n\n");
  // Another program's pending deletion stays queued beside them, though a
  // power cut left that program's new text beside WININIT.INI, the old aside.
  std::string c = Join(work_, "queued by another.txt");
  WriteTextFile(c, "c\n");
  std::string ini = WindowsFolder() + "\\WININIT.INI";
  std::string other = "[Rename]\r\nNUL=" + ShortPath(c) + "\r\n";
  DeleteFileA(ini.c_str());
  WriteFileBytes(WindowsFolder() + "\\WININIT.QFN", other);
  WriteFileBytes(WindowsFolder() + "\\WININIT.QFO", "[Rename]\r\n");
  std::string expect = other + "NUL=" + ShortPath(a) + "\r\nNUL=" + ShortPath(b) + "\r\n";
  {
    SeenAsWindows95 win95;
    Held ha(a), hb(b);
    Process un = StartUninstall("\"" + Join(DistDir(), "qfunin.exe") + "\" " + list);
    MsgBox done = WaitMsgBox(un, "Uninstall", 60000);
    EXPECT_NE(done.text.find("Restart Windows"), std::string::npos) << done.text;
    Answer(done, IDOK);
    un.Wait();
  }
  EXPECT_EQ(ReadFileBytes(ini), expect);
  EXPECT_FALSE(FileExists(WindowsFolder() + "\\WININIT.QFN"));
  EXPECT_FALSE(FileExists(WindowsFolder() + "\\WININIT.QFO"));
  EXPECT_FALSE(FileExists(list));
  Restart();
  EXPECT_FALSE(FileExists(a));
  EXPECT_FALSE(FileExists(b));
  EXPECT_FALSE(FileExists(c));
  EXPECT_FALSE(FileExists(ini));
  DeleteFileA((WindowsFolder() + "\\WININIT.BAK").c_str());
}

// Lists it must not follow: each is refused with its reason and nothing goes;
// a good list answered No changes nothing either.
TEST_F(Uninstaller, RefusesDamagedAndHostileLists) {
  CreateDirectoryA(dest_.c_str(), nullptr);
  std::string bait = Join(work_, "bait.txt"), own = Join(dest_, "own.txt");
  WriteTextFile(bait, "x\n");
  WriteTextFile(own, "x\n");
  std::string head = "Kerf Demo 1.0\n" + dest_ + "\n" + own + "\n";
  std::string docs = Join(work_, "My Documents");
  CreateDirectoryA(docs.c_str(), nullptr);
  WriteTextFile(Join(docs, "letter.txt"), "x\n");
  std::string many = head;
  for (int i = 0; i < 10000; ++i) many += dest_ + "\\f" + std::to_string(i) + "\n";
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += char(i * 7);
  struct Case {
    const char* name;
    std::string text, reason;
  } cases[] = {
      {"root", head + "C:\\\n\n", "it names \"C:\\\", which lies outside the program's folders"},
      {"windows", "P\n" + WindowsFolder() + "\n" + own + "\n\n", "which lies outside the program's folders"},
      {"dotted", "P\n" + WindowsFolder() + ".\n" + WindowsFolder() + ".\\kwbait.dll\n\n",
       "its destination folder"},
      {"blank", head + dest_ + "\\sub \\x.txt\n\n", "which lies outside the program's folders"},
      {"menu", head + docs + "\\letter.txt\n+" + docs + "\n\n", "its Start Menu folder"},
      {"dotdot", head + dest_ + "\\..\\bait.txt\n\n", "which lies outside the program's folders"},
      {"relative", head + "..\\bait.txt\n\n", "which lies outside the program's folders"},
      {"many", many + bait + "\n\n", "it names \"" + bait + "\""},
      {"binary", binary, "it is not a text file"},
      {"noname", "\n" + dest_ + "\n" + own + "\n\n", "it names no program"},
      {"cut", head, "it is cut short"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string list = Join(work_, std::string(c.name) + ".ini");
    WriteFileBytes(list, c.text);
    Process un = Process::Start("\"" + Join(DistDir(), "qfunin.exe") + "\" \"" + list + "\"");
    MsgBox box = WaitMsgBox(un, "Uninstall");
    EXPECT_EQ(box.icon, Icon::Error);
    EXPECT_EQ(box.text.rfind("The uninstall list \"" + list + "\" cannot be used: ", 0), 0u) << box.text;
    EXPECT_NE(box.text.find(c.reason), std::string::npos) << box.text;
    EXPECT_NE(box.text.find("Nothing was removed."), std::string::npos);
    Answer(box, IDOK);
    EXPECT_EQ(un.Wait(), DWORD(ids::kExitRefused));
    EXPECT_TRUE(FileExists(list));
  }
  std::string missing = Join(work_, "missing.ini");
  Process un = Process::Start("\"" + Join(DistDir(), "qfunin.exe") + "\" " + missing);
  MsgBox box = WaitMsgBox(un, "Uninstall");
  EXPECT_EQ(box.text, "The uninstall list \"" + missing + "\" cannot be read.\r\n\r\nNothing was removed.");
  Answer(box, IDOK);
  EXPECT_EQ(un.Wait(), DWORD(ids::kExitRefused));

  std::string good = Join(dest_, "unin.ini");
  WriteTextFile(good, head + "\n");
  un = Process::Start("\"" + Join(DistDir(), "qfunin.exe") + "\" \"" + good + "\"");
  Answer(WaitMsgBox(un, "Uninstall"), IDNO);
  EXPECT_EQ(un.Wait(), DWORD(ids::kExitCancelled));

  EXPECT_TRUE(FileExists(bait));
  EXPECT_TRUE(FileExists(own));
  EXPECT_TRUE(FileExists(good));
  EXPECT_TRUE(FileExists(Join(docs, "letter.txt")));
}

// A Start Menu line outside the Start Menu makes the list no shortcut list:
// refused whole, the documents stay. Also on the Windows 95 road.
TEST_F(Uninstaller, RefusesAStartMenuLineOutsideTheStartMenu) {
  CreateDirectoryA(dest_.c_str(), nullptr);
  std::string docs = Join(work_, "My Documents"), own = Join(dest_, "own.txt");
  CreateDirectoryA(docs.c_str(), nullptr);
  WriteTextFile(Join(docs, "letter.txt"), "x\n");
  WriteTextFile(own, "x\n");
  std::string list = Join(dest_, "unin.ini");
  WriteTextFile(list, "Kerf Demo 1.0\n" + dest_ + "\n" + own + "\n" + docs + "\\letter\n+" + docs + "\n\n");
  Process un = Process::Start("\"" + Join(DistDir(), "qfunin.exe") + "\" \"" + list + "\"");
  MsgBox box = WaitMsgBox(un, "Uninstall");
  EXPECT_EQ(box.text, "The uninstall list \"" + list + "\" cannot be used: its Start Menu folder \"" + docs +
                          "\" is not one it may remove.\r\n\r\nNothing was removed.");
  Answer(box, IDOK);
  EXPECT_EQ(un.Wait(), DWORD(ids::kExitRefused));
  EXPECT_TRUE(FileExists(Join(docs, "letter.txt")));
  EXPECT_TRUE(FileExists(own));
}

// Lists the installer writes are followed: "/" for "\\", the Program Files
// folder itself spelled short as the destination. The listed files go; the
// folder stays, and so does another program's empty folder in it.
TEST_F(Uninstaller, FollowsAProtectedDestinationWithoutSweepingIt) {
  std::string pf = RegText(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir");
  ASSERT_TRUE(FolderExists(pf)) << pf;
  std::string other = Join(pf, "Kerf Other Empty"), sub = Join(pf, "Kerf Sub");
  std::string listed = Join(pf, "kwlisted.txt"), inSub = Join(sub, "kwsub.txt");
  CreateDirectoryA(other.c_str(), nullptr);
  CreateDirectoryA(sub.c_str(), nullptr);
  WriteTextFile(listed, "x\n");
  WriteTextFile(inSub, "x\n");
  std::string slashed = inSub;
  for (char& ch : slashed)
    if (ch == '\\') ch = '/';
  std::string list = Join(work_, "unin.ini");
  WriteTextFile(list, "Kerf Demo 1.0\n" + ShortPath(pf) + "\n" + ShortPath(listed) + "\n" + slashed + "\n\n");
  Process un = StartUninstall("\"" + Join(DistDir(), "qfunin.exe") + "\" \"" + list + "\"");
  ExpectAllRemoved(un);
  EXPECT_FALSE(FileExists(listed));
  EXPECT_FALSE(FolderExists(sub));
  EXPECT_TRUE(FolderExists(other));
  EXPECT_TRUE(FolderExists(pf));
  RemoveDirectoryA(other.c_str());
  RemoveFolder(sub);
  DeleteFileA(listed.c_str());
}

// An entry whose list is gone offers to take itself out of the list of
// installed programs; No keeps it.
TEST_F(Uninstaller, AnEntryWhoseListIsGoneCanBeTakenOut) {
  Install(dest_);
  std::string list = Join(dest_, "unin.ini"), command = RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString");
  ASSERT_TRUE(DeleteFileA(list.c_str()));
  std::string question = "The uninstall list \"" + list +
                         "\" of Kerf Demo 1.0 is missing, so its files cannot be removed.\r\n\r\n"
                         "Remove Kerf Demo 1.0 from the list of installed programs?";
  for (int answer : {IDNO, IDYES}) {
    Process un = Process::Start(command);
    MsgBox box = WaitMsgBox(un, "Uninstall");
    EXPECT_EQ(box.text, question);
    EXPECT_EQ(box.icon, Icon::Question);
    Answer(box, answer);
    EXPECT_EQ(un.Wait(), DWORD(answer == IDYES ? ids::kExitRemoved : ids::kExitCancelled));
    EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kEntry), answer == IDNO);
  }
  // Nothing else was touched.
  EXPECT_TRUE(FileExists(Join(dest_, "kwdemo.exe")));
}

// Listed as a user profile while this lives: HKLM's ProfileList entry `sid`.
class Profile {
 public:
  Profile(const std::string& sid, const std::string& folder) : key_(std::string(kProfiles) + "\\" + sid) {
    SetRegText(HKEY_LOCAL_MACHINE, key_.c_str(), "ProfileImagePath", folder);
  }
  ~Profile() { RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), ProgramView(), 0); }

 private:
  static constexpr const char* kProfiles = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
  std::string key_;
};

// A list another user's installation wrote names that user's Start Menu
// folder, found below their profile as this user's is below this one's.
TEST_F(Uninstaller, RemovesAnotherUsersStartMenuFolder) {
  Profile me("S-1-5-21-0-0-0-1098", work_), ann("S-1-5-21-0-0-0-1099", Join(work_, "Ann"));
  const std::string annPrograms = Join(work_, "Ann") + programs_.substr(work_.size());
  const std::string annMenu = Join(annPrograms, "Kerf Demo");
  CreateDirectoryA(Join(work_, "Ann").c_str(), nullptr);
  CreateDirectoryA(annPrograms.c_str(), nullptr);
  CreateDirectoryA(annMenu.c_str(), nullptr);
  CreateDirectoryA(dest_.c_str(), nullptr);
  WriteTextFile(Join(annMenu, "Kerf Demo.lnk"), "link");
  WriteTextFile(Join(dest_, "kwdemo.exe"), "program");
  const std::string list = Join(dest_, "unin.ini");
  WriteTextFile(list, "Kerf Demo 1.0\n" + dest_ + "\n" + Join(dest_, "kwdemo.exe") + "\n" +
                          Join(annMenu, "Kerf Demo") + "\n+" + annMenu + "\n\n");
  Process un = StartUninstall("\"" + Join(DistDir(), "qfunin.exe") + "\" \"" + list + "\"");
  ExpectAllRemoved(un);
  EXPECT_FALSE(FolderExists(dest_));
  EXPECT_FALSE(FolderExists(annMenu));
  EXPECT_TRUE(FolderExists(annPrograms)) << "her Programs folder itself stays";
}

// A power cut between the two moves that put a new list in place on 95/98
// leaves the old list as unin.ini.old and the new one as unin.ini.new. The
// next run of either program finishes the move, taking the newer list.
TEST_F(Uninstaller, AListSaveCutOffByAPowerCutIsFinished) {
  Install(dest_);
  const std::string list = Join(dest_, "unin.ini"), command = RegText(HKEY_LOCAL_MACHINE, kEntry, "UninstallString");
  ASSERT_TRUE(MoveFileA(list.c_str(), (list + ".old").c_str()));
  Install(dest_);
  EXPECT_FALSE(FileExists(list + ".old")) << "the installation again finishes the move before its own saves";
  EXPECT_FALSE(FileExists(list + ".new"));

  std::string older = ReadFileBytes(list);
  const size_t program = older.find("\\kwdemo.exe\r\n");
  ASSERT_NE(program, std::string::npos) << older;
  const size_t start = older.rfind("\r\n", program) + 2;
  older.erase(start, program + 13 - start);
  ASSERT_TRUE(MoveFileA(list.c_str(), (list + ".new").c_str()));
  WriteFileBytes(list + ".old", older);  // an earlier save, without the program
  Process un = StartUninstall(command);
  Click(Child(WaitShared(un), ids::kYes));
  ExpectAllRemoved(un);
  EXPECT_FALSE(FolderExists(dest_)) << "the program, both lists and the folder gone";
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
}
