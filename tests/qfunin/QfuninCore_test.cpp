// The uninstaller's list reader, its path and key rules, the WININIT.INI text
// and the removal run's order, against a fake system.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "qfunin/PathRules.h"
#include "qfunin/Removal.h"
#include "qfunin/UninList.h"
#include "qfunin/WininitText.h"
#include "toolkit/PathText.h"

using namespace qfunin;

namespace {

const std::string kDest = "C:\\Program Files\\Kerf Demo";
const std::string kMenu = "C:\\WINDOWS\\Start Menu\\Programs\\Kerf Demo";

Places TestPlaces() {
  return {"C:\\WINDOWS", "C:\\WINDOWS\\System", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\Start Menu\\Programs",
          "C:\\Program Files"};
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

// The list an installation of the demo package leaves.
std::string DemoList() {
  return Lines({"Kerf Demo 1.0", kDest, kDest + "\\kwdemo.exe", kDest + "\\sub\\readme.txt",
                "C:\\WINDOWS\\qfunin.exe", "C:\\WINDOWS\\System\\kwshared.dll", kMenu + "\\Kerf Demo",
                kMenu + "\\Read me", "+" + kMenu, "", ":reg", "HKEY_CURRENT_USER",
                "Software\\Quillfen\\KerfDemo", "Path", kDest, "HKEY_CURRENT_USER",
                "Software\\Quillfen\\KerfDemo", "Runs", "#3#", "HKEY_LOCAL_MACHINE",
                "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KerfDemo", "x", ":"});
}

std::string Parse(const std::string& text, UninList* out = nullptr) {
  UninList l;
  std::string fault = ParseUninList(text, l);
  if (fault.empty()) fault = CheckUninList(l, TestPlaces());
  if (out) *out = l;
  return fault;
}

std::string Key(const std::string& p) { return kw::LowerAscii(NormalPath(p)); }

// A disk and a registry in memory; every change is logged in order.
class FakeHost : public RemovalHost {
 public:
  std::set<std::string> files, folders, inUse, locked, queued;
  std::map<std::string, std::set<std::string>> keys;  // "root\key" -> value names
  std::map<std::string, RegData> data;                // "root\key\name", when not empty text
  std::vector<SharedAnswer> answers;
  std::vector<std::string> asked, log, keysAsked;
  std::string self = "C:\\WINDOWS\\qfunin.exe";
  int lastPercent = -1;

  void AddFile(const std::string& p) {
    files.insert(Key(p));
    for (std::string f = ParentFolder(p); !f.empty() && !IsDriveRoot(f); f = ParentFolder(f))
      folders.insert(Key(f));
  }
  bool Has(const std::string& p) const { return files.count(Key(p)) || folders.count(Key(p)); }

  void Progress(int percent, const std::string&) override {
    EXPECT_GE(percent, lastPercent);
    EXPECT_LE(percent, 100);
    lastPercent = percent;
  }
  SharedAnswer AskShared(const std::string& path) override {
    asked.push_back(path);
    if (answers.empty()) return SharedAnswer::kNo;
    SharedAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  bool FileExists(const std::string& path) override { return files.count(Key(path)) > 0; }
  Deleted RemoveFile(const std::string& path) override {
    if (!files.count(Key(path))) return Deleted::kMissing;
    if (inUse.count(Key(path))) return Deleted::kInUse;
    if (locked.count(Key(path))) return Deleted::kFailed;
    files.erase(Key(path));
    log.push_back("file " + path);
    return Deleted::kGone;
  }
  bool DeleteAtRestart(const std::string& path) override {
    queued.insert(Key(path));
    log.push_back("restart " + path);
    return true;
  }
  bool IsSelf(const std::string& path) override { return SamePath(path, self); }
  bool FolderExists(const std::string& path) override { return folders.count(Key(path)) > 0; }
  std::vector<FolderEntry> ListFolder(const std::string& path) override {
    std::vector<FolderEntry> out;
    std::string prefix = Key(path) + "\\";
    for (const auto* set : {&files, &folders})
      for (const std::string& p : *set)
        if (p.rfind(prefix, 0) == 0 && p.find('\\', prefix.size()) == std::string::npos)
          out.push_back({p.substr(prefix.size()), set == &folders});
    return out;
  }
  bool RemoveFolder(const std::string& path) override {
    if (!ListFolder(path).empty()) return false;
    folders.erase(Key(path));
    log.push_back("folder " + path);
    return true;
  }
  bool DeleteRegValue(const std::string& root, const std::string& key,
                      const std::string& name) override {
    auto it = keys.find(root + "\\" + key);
    if (it != keys.end()) it->second.erase(name);
    log.push_back("value " + name);
    return true;
  }
  bool DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) override {
    keysAsked.push_back(root + "\\" + key);
    auto it = keys.find(root + "\\" + key);
    if (it != keys.end() && it->second.empty()) {
      keys.erase(it);
      log.push_back("key " + key);
    }
    return true;
  }
  RegData ReadRegValue(const std::string& root, const std::string& key, const std::string& name) override {
    auto it = keys.find(root + "\\" + key);
    if (it == keys.end() || !it->second.count(name)) return {};
    auto d = data.find(root + "\\" + key + "\\" + name);
    return d == data.end() ? RegData{RegData::kText, "", 0} : d->second;
  }
  bool WriteRegText(const std::string& root, const std::string& key, const std::string& name,
                    const std::string& text) override {
    keys[root + "\\" + key].insert(name);
    data[root + "\\" + key + "\\" + name] = {RegData::kText, text, 0};
    log.push_back("write " + name + "=" + text);
    return true;
  }
  void SetText(const std::string& rootKey, const std::string& name, const std::string& text) {
    keys[rootKey].insert(name);
    data[rootKey + "\\" + name] = {RegData::kText, text, 0};
  }
  void DeleteUninstallEntry(const std::string& listPath) override { log.push_back("entry " + listPath); }
};

struct Fixture {
  UninList list;
  FakeHost host;
  std::string listPath = kDest + "\\unin.ini";

  Fixture() {
    EXPECT_EQ(Parse(DemoList(), &list), "");
    for (const std::string& f : list.files) host.AddFile(f);
    host.AddFile(kMenu + "\\Kerf Demo.lnk");
    host.AddFile(kMenu + "\\Read me");
    host.AddFile(listPath);
    host.keys["HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo"] = {"Path", "Runs"};
    host.SetText("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KerfDemo", "x");
  }
  Outcome Go() {
    Places places = TestPlaces();
    return Removal(list, places, listPath, host).Run();
  }
};

}  // namespace

TEST(PathRulesDoubleByte, SecondBytesAreNoSeparatorsOrForbiddenCharacters) {
  kw::UseCodePage(932);  // Shift JIS: "表" is 0x95 0x5C, "ポ" 0x83 0x7C ('|')
  EXPECT_TRUE(IsCleanAbsolute("C:\\Prog\\\x83\x7C.txt"));
  EXPECT_EQ(ParentFolder("C:\\Prog\\\x95\x5C"), "C:\\Prog");
  EXPECT_EQ(NormalPath("C:\\\x95\x5C\\"), "C:\\\x95\x5C");
  EXPECT_TRUE(IsInside("C:\\\x95\x5C\\a.txt", "C:\\\x95\x5C"));
  kw::UseCodePage(1252);
}

TEST(UninListRead, TheInstallersListAndItsParts) {
  UninList l;
  ASSERT_EQ(Parse(DemoList(), &l), "");
  EXPECT_EQ(l.programName, "Kerf Demo 1.0");
  EXPECT_EQ(l.destDir, kDest);
  EXPECT_EQ(l.files.size(), 4u);
  EXPECT_EQ(l.shortcuts, (std::vector<std::string>{kMenu + "\\Kerf Demo", kMenu + "\\Read me"}));
  EXPECT_EQ(l.menuFolder, kMenu);
  ASSERT_EQ(l.values.size(), 3u);
  EXPECT_EQ(l.values[1].name, "Runs");
  EXPECT_EQ(l.values[1].data, "#3#");

  // Without shortcuts or registry; LF-only lines; a ":" as data inside a group.
  ASSERT_EQ(Parse("P\n" + kDest + "\n" + kDest + "\\a.exe\n\n", &l), "");
  EXPECT_TRUE(l.shortcuts.empty() && l.values.empty() && l.menuFolder.empty());
  ASSERT_EQ(Parse(Lines({"P", kDest, "", ":reg", "HKEY_CURRENT_USER", "Software\\X", "v", ":", ":"}), &l), "");
  EXPECT_EQ(l.values.at(0).data, ":");
  // A doubled backslash from a destination typed with a trailing one.
  EXPECT_EQ(Parse(Lines({"P", kDest + "\\", kDest + "\\\\a.exe", ""})), "");
}

TEST(UninListRead, DamagedListsAreRefused) {
  std::string good = DemoList();
  EXPECT_NE(Parse(""), "");
  EXPECT_NE(Parse("\r\n" + kDest + "\r\n\r\n"), "");                   // no program name
  EXPECT_NE(Parse(good.substr(0, good.find("+"))), "");               // cut before the empty line
  EXPECT_NE(Parse(good.substr(0, good.size() - 3)), "");              // registry part without ":"
  EXPECT_NE(Parse(Lines({"P", kDest, "", ":reg", "HKEY_CURRENT_USER", "K", ":"})), "");  // short group
  EXPECT_NE(Parse(Lines({"P", kDest, "", "junk"})), "");
  EXPECT_NE(Parse(Lines({"P", kDest, "+" + kMenu, kMenu + "\\late", ""})), "");
  std::string binary = good;
  binary[20] = '\0';
  EXPECT_NE(Parse(binary), "");
  EXPECT_NE(Parse(std::string(kMaxListBytes + 1, 'a')), "");
}

TEST(UninListRead, HostileLinesAreRefused) {
  auto with = [](const std::string& line) { return Parse(Lines({"P", kDest, line, ""})); };
  EXPECT_EQ(with(kDest + "\\ok.txt"), "");
  EXPECT_EQ(with("c:\\windows\\SYSTEM\\x.dll"), "");
  for (const std::string& bad :
       {std::string("C:\\"), std::string("C:"), std::string("C:\\WINDOWS"), std::string("C:\\WINDOWS\\System"),
        std::string("D:\\boot.ini"), std::string("C:\\autoexec.bat"), std::string("x.exe"),
        std::string("\\Program Files\\Kerf Demo\\x.exe"), kDest + "\\..\\..\\autoexec.bat",
        kDest + "\\...\\x", kDest + "\\*.*", kDest + "\\a:stream", kDest + "\\.\\x",
        std::string("C:\\Program Files\\Other\\x.exe")})
    EXPECT_NE(with(bad), "") << bad;
  // Parts Windows reads without their trailing dot or blank.
  for (const std::string& bad : {std::string("C:\\WINDOWS.\\x.dll"), kDest + "\\sub \\x", kDest + "\\x.",
                                 kDest + "\\..\\x"})
    EXPECT_NE(with(bad), "") << bad;
  // No path at all, or one Windows reads otherwise than it is written.
  for (const std::string& dest : {"C:", "C:\\WINDOWS\\..", "Kerf", "C:\\WINDOWS.", "C:\\WINDOWS \\Kerf"})
    EXPECT_NE(Parse(Lines({"P", dest, ""})), "") << dest;
  // A Start Menu line outside the Start Menu takes its lines with it.
  EXPECT_NE(Parse(Lines({"P", kDest, "C:\\x", "+C:\\", ""})), "");
  EXPECT_NE(Parse(Lines({"P", kDest, "C:\\My Documents\\letter", "+C:\\My Documents", ""})), "");
  EXPECT_NE(Parse(Lines({"P", kDest, "C:\\WINDOWS\\Start Menu\\x", "+C:\\WINDOWS\\Start Menu", ""})), "");
  EXPECT_NE(Parse(Lines({"P", kDest, "C:\\WINDOWS\\Desktop\\x", "+C:\\WINDOWS\\Desktop", ""})), "");
  // The Programs folder itself is a valid Start Menu line (an empty folder name),
  // and so is the Windows folder's own tree.
  EXPECT_EQ(Parse(Lines({"P", kDest, TestPlaces().programs + "\\S", "+" + TestPlaces().programs, ""})), "");
  Places elsewhere = TestPlaces();
  elsewhere.programs = "C:\\Profiles\\Ann\\Programs";
  UninList l;
  ASSERT_EQ(ParseUninList(DemoList(), l), "");
  EXPECT_EQ(CheckUninList(l, elsewhere), "");
  elsewhere.windows = "D:\\WIN";
  EXPECT_NE(CheckUninList(l, elsewhere).find("Start Menu folder"), std::string::npos);
  // A list another user's installation wrote names that user's Programs
  // folder: found below each profile as this user's is below its own.
  const std::vector<std::string> profiles = {"C:\\Users\\Ann", "C:\\Users\\Bo", "C:\\Users\\Annette", "relative"};
  EXPECT_EQ(OtherProgramsFolders("C:\\Users\\Annette\\Start Menu\\Programs", profiles),
            (std::vector<std::string>{"C:\\Users\\Ann\\Start Menu\\Programs", "C:\\Users\\Bo\\Start Menu\\Programs"}));
  EXPECT_EQ(OtherProgramsFolders("C:\\WINDOWS\\Start Menu\\Programs", profiles), std::vector<std::string>{});
  const std::string annMenu = "C:\\Users\\Ann\\Start Menu\\Programs\\Kerf Demo";
  UninList ann;
  ASSERT_EQ(ParseUninList(Lines({"P", kDest, annMenu + "\\S.lnk", "+" + annMenu, ""}), ann), "");
  Places bo = TestPlaces();
  bo.programs = "C:\\Users\\Bo\\Start Menu\\Programs";
  EXPECT_NE(CheckUninList(ann, bo), "");
  bo.otherPrograms = OtherProgramsFolders(bo.programs, {"C:\\Users\\Bo", "C:\\Users\\Ann"});
  EXPECT_EQ(CheckUninList(ann, bo), "") << "Ann's list, removed by Bo";
  EXPECT_TRUE(IsProtectedFolder("C:\\Users\\Ann\\Start Menu", bo)) << "another user's Programs folder is never removed";
}

// What the installer writes is never refused: "/" for "\\", a protected folder
// as the destination.
TEST(UninListRead, ListsTheInstallerWrites) {
  UninList l;
  ASSERT_EQ(Parse(Lines({"P", "C:/Program Files/Kerf Demo/", "C:/Program Files/Kerf Demo//a.exe",
                         kMenu + "/S", "+" + kMenu, ""}), &l), "");
  EXPECT_EQ(l.destDir, kDest);
  EXPECT_EQ(l.files, (std::vector<std::string>{kDest + "\\a.exe"}));
  EXPECT_EQ(l.shortcuts, (std::vector<std::string>{kMenu + "\\S"}));
  for (const std::string& dest : {"C:\\", "C:\\WINDOWS", "D:\\Program Files", "C:\\Program Files"})
    EXPECT_EQ(Parse(Lines({"P", dest, ""})), "") << dest;
  EXPECT_EQ(Parse(Lines({"P", "C:\\Program Files", "C:\\Program Files\\kd.exe", ""})), "");
  // A protected destination still bounds the files: no folder, nothing beside it.
  EXPECT_NE(Parse(Lines({"P", "C:\\Program Files", "C:\\Program Files", ""})), "");
  EXPECT_NE(Parse(Lines({"P", "C:\\Program Files", "D:\\x.exe", ""})), "");
}

// Short 8.3 spellings are compared as the folders they stand for.
TEST(UninListRead, ShortSpellingsAreTheirLongFolders) {
  static auto longPath = [](const std::string& p) {
    std::string out = p;
    for (auto [s, l] : {std::pair<const char*, const char*>{"PROGRA~1", "Program Files"},
                        {"STARTM~1", "Start Menu"}, {"KERFDE~1", "Kerf Demo"}, {"WIN*", "WINDOWS"}}) {
      size_t at = out.find(s);
      if (at != std::string::npos) out.replace(at, std::string(s).size(), l);
    }
    return out;
  };
  UninList l;
  Places places = TestPlaces();
  places.programFiles = "C:\\PROGRA~1";
  ASSERT_EQ(ParseUninList(Lines({"P", "C:\\PROGRA~1", "C:\\PROGRA~1\\KERFDE~1\\a.exe",
                                 "C:\\WINDOWS\\STARTM~1\\Programs\\KERFDE~1\\S", "+" + kMenu, ""}),
                          l),
            "");
  EXPECT_TRUE(l.shortcuts.empty());
  UseLongForms(l, places, +longPath);
  EXPECT_EQ(l.destDir, "C:\\Program Files");
  EXPECT_EQ(places.programFiles, "C:\\Program Files");
  EXPECT_EQ(l.files, (std::vector<std::string>{kDest + "\\a.exe"}));
  EXPECT_EQ(l.shortcuts, (std::vector<std::string>{kMenu + "\\S"}));
  EXPECT_TRUE(IsProtectedFolder(l.destDir, places));
  // A wildcard is never handed to the system to resolve.
  ASSERT_EQ(ParseUninList(Lines({"P", kDest, "C:\\WIN*\\x.dll", ""}), l), "");
  UseLongForms(l, places, +longPath);
  EXPECT_NE(CheckUninList(l, places), "");
}

TEST(UninListRead, CommandLineAndPathRules) {
  EXPECT_EQ(ListPathArgument(" \"C:\\Program Files\\K\\unin.ini\" "), "C:\\Program Files\\K\\unin.ini");
  EXPECT_EQ(ListPathArgument("C:\\Program Files\\K\\unin.ini  "), "C:\\Program Files\\K\\unin.ini");
  EXPECT_EQ(ListPathArgument("\"C:\\x.ini"), "C:\\x.ini");
  EXPECT_EQ(ListPathArgument("   "), "");
  // /S either side of the entry's command, the unquoted path with blanks kept.
  for (const char* line : {"/S \"C:\\My Dir\\unin.ini\"", "\"C:\\My Dir\\unin.ini\" /s",
                           "C:\\My Dir\\unin.ini /S", " /s C:\\My Dir\\unin.ini  "}) {
    UninstallArguments a = ParseUninstallArguments(line);
    EXPECT_TRUE(a.silent) << line;
    EXPECT_EQ(a.list, "C:\\My Dir\\unin.ini") << line;
  }
  EXPECT_FALSE(ParseUninstallArguments("C:\\Dirs\\unin.ini").silent);
  EXPECT_EQ(ParseUninstallArguments("C:\\Dir /Stuff\\unin.ini").list, "C:\\Dir /Stuff\\unin.ini");
  EXPECT_EQ(ParseUninstallArguments("/S").list, "");
  EXPECT_TRUE(ParseUninstallArguments("/S").silent);
  // /LOG=<file> either side of the entry's command, with /S or alone.
  for (const char* line : {"/LOG=C:\\un.log \"C:\\My Dir\\unin.ini\"", "\"C:\\My Dir\\unin.ini\" /s /log=C:\\un.log",
                           "/S /LOG=\"C:\\un.log\" C:\\My Dir\\unin.ini", "C:\\My Dir\\unin.ini /LOG=\"C:\\un.log\""}) {
    UninstallArguments a = ParseUninstallArguments(line);
    EXPECT_EQ(a.log, "C:\\un.log") << line;
    EXPECT_EQ(a.list, "C:\\My Dir\\unin.ini") << line;
  }
  EXPECT_EQ(ParseUninstallArguments("\"C:\\a\\unin.ini\" /LOG=\"C:\\my logs\\un.log\"").log, "C:\\my logs\\un.log");
  EXPECT_EQ(NormalPath("C:\\a\\\\b\\"), "C:\\a\\b");
  EXPECT_EQ(NormalPath("C:\\"), "C:\\");
  EXPECT_TRUE(IsInside("c:\\a\\b", "C:\\A"));
  EXPECT_FALSE(IsInside("C:\\ab", "C:\\a"));
  EXPECT_FALSE(IsInside("C:\\a", "C:\\a\\"));
  EXPECT_EQ(ParentFolder("C:\\a"), "C:\\");
  EXPECT_EQ(ParentFolder("C:\\"), "");
  Places p = TestPlaces();
  for (const char* f : {"C:\\", "c:\\windows", "C:\\Windows\\system", "D:\\program files",
                        "C:\\WINDOWS\\Start Menu", "C:\\WINDOWS\\Start Menu\\Programs"})
    EXPECT_TRUE(IsProtectedFolder(f, p)) << f;
  EXPECT_FALSE(IsProtectedFolder(kDest, p));
  EXPECT_FALSE(IsProtectedFolder(kMenu, p));
}

TEST(UninListRead, SystemKeysAndTheirParentsStay) {
  EXPECT_TRUE(MayDeleteKey("HKEY_CURRENT_USER", "Software\\Quillfen\\KerfDemo"));
  EXPECT_TRUE(MayDeleteKey("HKEY_CLASSES_ROOT", ".kwd"));
  EXPECT_TRUE(MayDeleteKey("HKEY_LOCAL_MACHINE",
                           "\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\kwdemo.exe"));
  for (const char* k : {"Software", "Software\\Microsoft", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                        "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\", "Network\\Logon", ""})
    EXPECT_FALSE(MayDeleteKey("HKEY_LOCAL_MACHINE", k)) << k;
  EXPECT_FALSE(MayDeleteKey("HKEY_CLASSES_ROOT", "CLSID"));
  EXPECT_FALSE(MayDeleteKey("hkey_current_user", "Software\\Quillfen\\KerfDemo"));
  // "/" is a character of a key's name: this is a key of the first level.
  EXPECT_FALSE(MayDeleteKey("HKEY_CURRENT_USER", "Software/Quillfen"));
  // Other spellings of the same keys.
  for (const char* k : {"\\\\Software", "\\Software\\", "software\\\\microsoft", "\\\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                        "Software\\Microsoft\\Windows\\CurrentVersion\\\\Run", "\\", "\\\\"})
    EXPECT_FALSE(MayDeleteKey("HKEY_LOCAL_MACHINE", k)) << k;
}

// A list may name any value, as the installer may have written it anywhere:
// the named values go where they are still the installation's, but no system
// key or parent of one, however spelt, and nothing under a root the installer
// does not know.
TEST(RemovalRun, HostileRegistryLinesTakeOnlyTheNamedValues) {
  Fixture r;
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  r.list.values = {{"HKEY_LOCAL_MACHINE", "\\" + run + "\\", "Other", ""},
                   {"HKEY_LOCAL_MACHINE", "\\\\software", "", ""},
                   {"HKEY_LOCAL_MACHINE", "SOFTWARE\\\\Microsoft", "x", ""},
                   {"HKEY_LOCAL_MACHINE", "", "", ""},
                   {"HKEY_CLASSES_ROOT", "clsid\\", "", ""},
                   {"HKEY_USERS", ".DEFAULT", "", ""},
                   {"hkey_current_user", "Software\\Quillfen\\KerfDemo", "Path", ""},
                   {"HKEY_CURRENT_USER\\Software", "Quillfen\\KerfDemo", "Runs", ""},
                   {"HKEY_CURRENT_USER", "Software\\Quillfen\\KerfDemo", "Runs", ""}};
  r.Go();
  EXPECT_EQ(r.host.keysAsked, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo"}));
  // Unknown roots are passed over; in shared and system keys a value goes
  // only while it holds what the list recorded (none does here); the
  // package's own value goes.
  std::vector<std::string> values;
  for (const std::string& l : r.host.log)
    if (l.rfind("value ", 0) == 0) values.push_back(l);
  EXPECT_EQ(values, (std::vector<std::string>{"value Runs"}));
  EXPECT_EQ(r.host.keys.count("HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo"), 1u) << "Path stays";
}

TEST(Wininit, DeletionsAddUpInTheRenameSection) {
  std::string ini = AddWininitDelete("", "C:\\PROGRA~1\\KERFDE~1\\KWDEMO.EXE");
  EXPECT_EQ(ini, "[Rename]\r\nNUL=C:\\PROGRA~1\\KERFDE~1\\KWDEMO.EXE\r\n");
  ini = AddWininitDelete(ini, "C:\\WINDOWS\\X.DLL");
  EXPECT_EQ(ini, "[Rename]\r\nNUL=C:\\PROGRA~1\\KERFDE~1\\KWDEMO.EXE\r\nNUL=C:\\WINDOWS\\X.DLL\r\n");
  // The installer's replacements stay in place, other sections too.
  std::string before = "[Other]\r\na=b\r\n[rename]\r\nC:\\X.BAK=C:\\X.DLL\r\n\r\n[Tail]\r\nc=d";
  EXPECT_EQ(AddWininitDelete(before, "C:\\Y"),
            "[Other]\r\na=b\r\n[rename]\r\nC:\\X.BAK=C:\\X.DLL\r\nNUL=C:\\Y\r\n\r\n[Tail]\r\nc=d");
  EXPECT_EQ(AddWininitDelete("[Rename]\r\nA=B", "C:\\Y"), "[Rename]\r\nA=B\r\nNUL=C:\\Y\r\n");
  EXPECT_EQ(AddWininitDelete("[Tail]\r\nc=d", "C:\\Y"), "[Tail]\r\nc=d\r\n[Rename]\r\nNUL=C:\\Y\r\n");
}

TEST(RemovalRun, EverythingInOrderAndNothingElse) {
  Fixture r;
  r.host.answers = {SharedAnswer::kYes};
  r.host.AddFile("C:\\WINDOWS\\other.dll");
  r.host.keys["HKEY_CURRENT_USER\\Software\\Quillfen"] = {"Other"};
  Outcome o = r.Go();
  EXPECT_TRUE(o.stayed.empty());
  EXPECT_FALSE(o.restart);
  EXPECT_EQ(r.host.asked, (std::vector<std::string>{"C:\\WINDOWS\\System\\kwshared.dll"}));
  EXPECT_EQ(r.host.log,
            (std::vector<std::string>{
                "file " + kDest + "\\kwdemo.exe", "file " + kDest + "\\sub\\readme.txt",
                "file C:\\WINDOWS\\System\\kwshared.dll", "file " + kMenu + "\\Kerf Demo.lnk",
                "file " + kMenu + "\\Read me", "folder " + kMenu, "value Path", "value Runs",
                "key Software\\Quillfen\\KerfDemo", "value KerfDemo", "entry " + r.listPath,
                "file " + r.listPath, "folder " + kDest + "\\sub", "folder " + kDest}));
  // Its own program stays for the other programs' entries; so do what was not listed.
  EXPECT_TRUE(r.host.Has("C:\\WINDOWS\\qfunin.exe"));
  EXPECT_TRUE(r.host.Has("C:\\WINDOWS\\other.dll"));
  EXPECT_TRUE(r.host.keys.count("HKEY_CURRENT_USER\\Software\\Quillfen"));
  EXPECT_TRUE(r.host.keys.count("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  EXPECT_EQ(r.host.lastPercent, 100);
  EXPECT_EQ(ClosingText("Kerf Demo 1.0", o), "Kerf Demo 1.0 was removed from your computer.");
}

TEST(RemovalRun, SharedAnswersAddedFilesAndFilesInUse) {
  Fixture r;
  r.list.files.push_back("C:\\WINDOWS\\b.dll");
  r.list.files.push_back("C:\\WINDOWS\\c.dll");
  r.host.AddFile("C:\\WINDOWS\\b.dll");
  r.host.AddFile("C:\\WINDOWS\\c.dll");
  r.host.answers = {SharedAnswer::kNo, SharedAnswer::kNoToAll};
  r.host.AddFile(kDest + "\\sub\\mine.doc");   // the user's own
  r.host.inUse.insert(Key(kDest + "\\kwdemo.exe"));
  Outcome o = r.Go();
  // No to All answers for the rest.
  EXPECT_EQ(r.host.asked.size(), 2u);
  EXPECT_TRUE(r.host.Has("C:\\WINDOWS\\System\\kwshared.dll"));
  EXPECT_TRUE(r.host.Has("C:\\WINDOWS\\c.dll"));
  EXPECT_TRUE(r.host.queued.count(Key(kDest + "\\kwdemo.exe")));
  EXPECT_TRUE(o.restart);
  // The folder with the user's file stays, and so does its parent.
  EXPECT_EQ(o.stayed, (std::vector<std::string>{kDest + "\\sub", kDest}));
  EXPECT_TRUE(r.host.Has(kDest + "\\sub\\mine.doc"));
  std::string text = ClosingText("Kerf Demo 1.0", o);
  EXPECT_NE(text.find("could not be removed"), std::string::npos);
  EXPECT_NE(text.find("\r\n" + kDest + "\\sub"), std::string::npos);
  EXPECT_NE(text.find("Restart Windows"), std::string::npos);
}

TEST(RemovalRun, YesToAllAndAFolderLeftToTheRestart) {
  Fixture r;
  r.list.files.push_back("C:\\WINDOWS\\b.dll");
  r.host.AddFile("C:\\WINDOWS\\b.dll");
  r.host.answers = {SharedAnswer::kYesToAll};
  r.host.inUse.insert(Key(kDest + "\\sub\\readme.txt"));
  r.host.locked.insert(Key(kMenu + "\\Read me"));
  Outcome o = r.Go();
  EXPECT_EQ(r.host.asked.size(), 1u);
  EXPECT_FALSE(r.host.Has("C:\\WINDOWS\\b.dll"));
  // The folders holding only the queued file follow it at the next start.
  EXPECT_TRUE(r.host.queued.count(Key(kDest + "\\sub")));
  EXPECT_TRUE(r.host.queued.count(Key(kDest)));
  // A file that would not go leaves its menu folder reported.
  EXPECT_EQ(o.stayed, (std::vector<std::string>{kMenu}));
}

TEST(RemovalRun, ShortcutFoldersBelowTheMenuFolderGoWhenEmpty) {
  Fixture r;
  r.list.shortcuts.push_back(kMenu + "\\Tools\\Deep\\Kerf Tool");
  r.host.AddFile(kMenu + "\\Tools\\Deep\\Kerf Tool.pif");
  r.host.AddFile(kMenu + "\\Tools\\Other.lnk");
  Outcome o = r.Go();
  EXPECT_FALSE(r.host.Has(kMenu + "\\Tools\\Deep"));
  EXPECT_TRUE(r.host.Has(kMenu + "\\Tools\\Other.lnk"));
  // A Start Menu folder that holds what is not ours stays unreported.
  EXPECT_TRUE(o.stayed.empty());
}

// Only folders the list's files lie in are swept: an empty folder of another
// program in a shared destination stays, and a protected destination keeps
// itself and every folder the list does not name.
TEST(RemovalRun, SweepsOnlyTheFoldersTheListUsed) {
  Fixture r;
  r.host.folders.insert(Key(kDest + "\\Other Tool\\Empty"));
  r.host.folders.insert(Key(kDest + "\\Other Tool"));
  Outcome o = r.Go();
  EXPECT_FALSE(r.host.Has(kDest + "\\sub"));
  EXPECT_TRUE(r.host.Has(kDest + "\\Other Tool\\Empty"));
  EXPECT_EQ(o.stayed, (std::vector<std::string>{kDest}));

  FakeHost host;
  const std::string pf = "C:\\Program Files";
  UninList list;
  ASSERT_EQ(Parse(Lines({"P", "C:\\PROGRA~1", "C:\\PROGRA~1\\kd.exe", "C:/PROGRA~1/Kd/x\\y.dll", ""}),
                  &list),
            "");
  Places places = TestPlaces();
  UseLongForms(list, places, [](const std::string& p) {
    return p.substr(0, 11) == "C:\\PROGRA~1" ? "C:\\Program Files" + p.substr(11) : p;
  });
  for (const std::string& f : list.files) host.AddFile(f);
  host.folders.insert(Key(pf + "\\Empty Other"));
  host.AddFile(pf + "\\Other\\o.exe");
  o = Removal(list, places, pf + "\\unin.ini", host).Run();
  EXPECT_TRUE(o.stayed.empty());
  EXPECT_FALSE(host.Has(pf + "\\kd.exe"));
  EXPECT_FALSE(host.Has(pf + "\\Kd"));
  EXPECT_TRUE(host.Has(pf));
  EXPECT_TRUE(host.Has(pf + "\\Empty Other"));
  EXPECT_TRUE(host.Has(pf + "\\Other\\o.exe"));
}

// Under HKEY_CLASSES_ROOT and in the system's keys a value goes only while it
// holds what the list recorded; the logon provider the installation replaced
// comes back.
TEST(RemovalRun, SharedValuesGoOnlyWhileStillOurs) {
  Fixture r;
  const std::string hkcr = "HKEY_CLASSES_ROOT", logon = "HKEY_LOCAL_MACHINE\\Network\\Logon";
  auto add = [&](const std::string& root, const std::string& key, const std::string& name,
                 const std::string& recorded) { r.list.values.push_back({root, key, name, recorded}); };
  add(hkcr, ".kwd", "", "KerfDemo.Doc");
  add(hkcr, ".kwe", "", "KerfDemo.Doc");
  add(hkcr, ".kwn", "Count", "#$10#");
  add(hkcr, ".kwm", "", "KerfDemo.Doc");  // gone already: its empty key follows
  add("HKEY_LOCAL_MACHINE", "Network\\Logon", "PrimaryProvider", "Kerf Net");
  add("HKEY_CURRENT_USER", "Software\\Classes\\.kwu", "", "KerfDemo.Doc");
  r.host.SetText(hkcr + "\\.kwd", "", "KerfDemo.Doc");
  r.host.SetText(hkcr + "\\.kwe", "", "Other.Doc");
  r.host.keys[hkcr + "\\.kwn"] = {"Count"};
  r.host.keys[hkcr + "\\.kwm"] = {};
  r.host.data[hkcr + "\\.kwn\\Count"] = {RegData::kNumber, "", 16};
  r.host.SetText(logon, "PrimaryProvider", "Kerf Net");
  r.host.SetText(logon, "PreviousProvider", "Old Net");
  r.host.SetText("HKEY_CURRENT_USER\\Software\\Classes\\.kwu", "", "Taken.Doc");
  r.host.SetText("HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo", "Path", "changed by the user");
  // The Run value was changed too: it stays.
  r.host.SetText("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", "KerfDemo", "y");
  Outcome o = r.Go();
  EXPECT_TRUE(o.stayed.empty());
  EXPECT_FALSE(r.host.keys.count(hkcr + "\\.kwd"));
  EXPECT_FALSE(r.host.keys.count(hkcr + "\\.kwn"));
  EXPECT_FALSE(r.host.keys.count(hkcr + "\\.kwm"));
  EXPECT_EQ(r.host.ReadRegValue(hkcr, ".kwe", "").text, "Other.Doc");
  EXPECT_EQ(r.host.ReadRegValue("HKEY_CURRENT_USER", "Software\\Classes\\.kwu", "").text, "Taken.Doc");
  EXPECT_EQ(r.host.ReadRegValue("HKEY_LOCAL_MACHINE", "Network\\Logon", "PrimaryProvider").text, "Old Net");
  EXPECT_TRUE(r.host.keys.count("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"));
  // The package's own key goes as before, whatever its data now is.
  EXPECT_FALSE(r.host.keys.count("HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo"));

  // Without a previous provider, or one that is the package's own, the value goes.
  Fixture s;
  s.list.values = {{"HKEY_LOCAL_MACHINE", "Network\\Logon", "PrimaryProvider", "Kerf Net"}};
  s.host.SetText(logon, "PrimaryProvider", "Kerf Net");
  s.host.SetText(logon, "PreviousProvider", "Kerf Net");
  s.Go();
  EXPECT_EQ(s.host.ReadRegValue("HKEY_LOCAL_MACHINE", "Network\\Logon", "PrimaryProvider").kind, RegData::kMissing);
  EXPECT_TRUE(IsSharedKey("HKEY_USERS", ".DEFAULT\\Software\\Classes\\.kwd"));
  EXPECT_FALSE(IsSharedKey("HKEY_LOCAL_MACHINE", "Software\\Quillfen\\KerfDemo"));
  EXPECT_FALSE(IsSharedKey("HKEY_LOCAL_MACHINE",
                           "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\kwdemo.exe"));
}

// WININIT.INI: the new text is written beside it and swapped in; a short write
// leaves the file as it was, other programs' renames included.
namespace {
struct FakeIni : IniFiles {
  std::map<std::string, std::string> files;
  size_t writeLimit = std::string::npos;
  bool unreadable = false;
  bool Read(const std::string& path, std::string& text) override {
    if (unreadable) return false;
    auto it = files.find(path);
    if (it != files.end()) text = it->second;
    return true;
  }
  bool Write(const std::string& path, const std::string& text) override {
    files[path] = text.substr(0, writeLimit);
    return text.size() <= writeLimit;
  }
  bool Swap(const std::string& from, const std::string& to) override {
    files[to] = files[from];
    files.erase(from);
    return true;
  }
  void Remove(const std::string& path) override { files.erase(path); }
};
}  // namespace

TEST(Wininit, ANewTextIsSwappedInWholeOrNotAtAll) {
  const std::string ini = "C:\\WINDOWS\\WININIT.INI", other = "[Rename]\r\nC:\\X.DLL=C:\\X.MQF\r\n";
  FakeIni fs;
  fs.files[ini] = other;
  ASSERT_TRUE(QueueWininitDelete(fs, "C:\\WINDOWS", "C:\\A.EXE"));
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{ini, other + "NUL=C:\\A.EXE\r\n"}}));

  fs.files[ini] = other;
  fs.writeLimit = 10;
  EXPECT_FALSE(QueueWininitDelete(fs, "C:\\WINDOWS\\", "C:\\A.EXE"));
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{ini, other}}));
  fs.writeLimit = std::string::npos;
  fs.unreadable = true;
  EXPECT_FALSE(QueueWininitDelete(fs, "C:\\WINDOWS", "C:\\A.EXE"));
  EXPECT_EQ(fs.files, (std::map<std::string, std::string>{{ini, other}}));
}
