// TShellLink and the Start Menu entries against Wine's shell link object.
#include "setup/engine/Shortcuts.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "setup/engine/Folders.h"
#include "setup/engine/Registry.h"

using namespace setup;

namespace {

class Shortcuts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    char buf[MAX_PATH];
    GetTempPathA(sizeof buf, buf);
    root_ = StripBackslash(buf) + "\\KwLnk" + std::to_string(GetCurrentProcessId()) + info->name();
    RemoveFolderTree(root_);
    dest_ = root_ + "\\dest";
    menu_ = root_ + "\\menu";
    ForceFolders(dest_);
    ForceFolders(menu_);
  }
  void TearDown() override {
    RemoveFolderTree(root_);
    CoUninitialize();
  }

  static void Write(const std::string& path, const char* text = "x") {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(text, f);
    std::fclose(f);
  }

  // The show command field of a shell link file's 76-byte header.
  static int HeaderShowCmd(const std::string& path) {
    std::string text = ReadFileText(path);
    return text.size() < 76 ? -1 : static_cast<unsigned char>(text[60]);
  }

  std::string root_, dest_, menu_;
};

}  // namespace

TEST_F(Shortcuts, MakeLinkWritesExactlyTheNameAndReadsBack) {
  std::string target = dest_ + "\\prog.exe", file = menu_ + "\\Plain";
  Write(target);
  TShellLink link;
  link.MakeLink(file, target);
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(file + ".lnk"));
  link.SetPath(file);
  EXPECT_EQ(link.Path(), file);
  EXPECT_TRUE(kw::SameText(link.Target, target)) << link.Target;
}

TEST_F(Shortcuts, WriteLinkStoresEverySettingAndUpdateRereads) {
  std::string target = dest_ + "\\prog.exe", file = menu_ + "\\All.lnk";
  Write(target);
  TShellLink out;
  out.Target = target;
  out.WorkingDir = dest_ + "\\";
  out.Description = "A description";
  out.Arguments = "/a /b";
  out.IconLocation = target;
  out.IconNumber = 2;
  out.ShowCmd = SW_SHOWMINNOACTIVE;
  out.HotKey = 0x0641;
  out.WriteLink(file);
  EXPECT_EQ(out.Path(), "") << "writing does not change Path";

  TShellLink in;
  in.SetPath(file);
  ASSERT_EQ(in.Path(), file);
  EXPECT_EQ(in.WorkingDir, dest_ + "\\");
  EXPECT_EQ(in.Description, "A description");
  EXPECT_EQ(in.Arguments, "/a /b");
  EXPECT_TRUE(kw::SameText(in.IconLocation, target));
  EXPECT_EQ(in.IconNumber, 2);
  // Wine's link object does not load the show command: look at the file's header.
  EXPECT_EQ(HeaderShowCmd(file), SW_SHOWMINNOACTIVE);
  EXPECT_EQ(in.HotKey, 0x0641);

  out.HotKey = 0;
  out.IconNumber = 0;
  out.ShowCmd = SW_SHOWNORMAL;
  out.Description = "Changed";
  out.WriteLink(file);
  in.Description = "stale";
  EXPECT_FALSE(in.Update());
  in.SetUpdate(false);
  EXPECT_TRUE(in.Update());
  EXPECT_EQ(in.Description, "Changed");
  EXPECT_EQ(in.HotKey, 0);
  EXPECT_EQ(in.IconNumber, 0);
  EXPECT_EQ(HeaderShowCmd(file), SW_SHOWNORMAL);
}

TEST_F(Shortcuts, FailuresLeaveEverythingAsItWas) {
  std::string target = dest_ + "\\prog.exe", file = menu_ + "\\Ok.lnk";
  Write(target);
  TShellLink link;
  link.MakeLink(file, target);
  link.SetPath(file);
  ASSERT_EQ(link.Path(), file);
  std::string oldTarget = link.Target;
  link.SetPath(menu_ + "\\missing.lnk");
  EXPECT_EQ(link.Path(), file);
  EXPECT_EQ(link.Target, oldTarget);
  Write(menu_ + "\\junk.lnk", "not a link");
  link.SetPath(menu_ + "\\junk.lnk");
  EXPECT_EQ(link.Path(), file);

  CoUninitialize();  // without COM nothing happens
  TShellLink none;
  none.MakeLink(menu_ + "\\NoCom.lnk", target);
  none.SetPath(file);
  EXPECT_FALSE(FileExists(menu_ + "\\NoCom.lnk"));
  EXPECT_EQ(none.Path(), "");
  CoInitialize(nullptr);
}

// The link object's texts pass through 255-byte buffers: a path of 255
// characters, which the file system itself takes, is refused rather than cut to
// another path; 254 goes through. A longer description is cut to 254.
TEST_F(Shortcuts, TextsOver254CharactersAreRefusedOrCut) {
  ASSERT_LT(menu_.size(), 200u);
  // A path of the given length in folder: a name padded with 'a', then ext.
  auto PathOf = [](const std::string& folder, size_t length, const char* ext) {
    std::string head = folder + "\\";
    return head + std::string(length - head.size() - std::strlen(ext), 'a') + ext;
  };
  std::string target254 = PathOf(dest_, 254, ".exe"), target255 = PathOf(dest_, 255, ".exe");
  Write(target254);
  Write(target255);
  ASSERT_TRUE(FileExists(target255)) << "the file system takes 255 characters";
  TShellLink link;
  link.MakeLink(menu_ + "\\To254.lnk", target254);
  EXPECT_TRUE(FileExists(menu_ + "\\To254.lnk"));
  link.MakeLink(menu_ + "\\To255.lnk", target255);
  EXPECT_FALSE(FileExists(menu_ + "\\To255.lnk"));
  link.Target = target255;
  link.WriteLink(menu_ + "\\Write255.lnk");
  EXPECT_FALSE(FileExists(menu_ + "\\Write255.lnk"));

  link.Target = dest_ + "\\prog.exe";
  Write(link.Target);
  std::string name254 = PathOf(menu_, 254, ".lnk"), name255 = PathOf(menu_, 255, ".lnk");
  Write(name255);
  ASSERT_TRUE(FileExists(name255)) << "the file system takes 255 characters";
  DeleteFileA(name255.c_str());
  link.WriteLink(name254);
  EXPECT_TRUE(FileExists(name254));
  link.WriteLink(name255);
  EXPECT_FALSE(FileExists(name255));
  link.MakeLink(name255, link.Target);
  EXPECT_FALSE(FileExists(name255));

  link.Description = std::string(254, 'c');
  link.WriteLink(menu_ + "\\Desc254.lnk");
  link.Description = std::string(300, 'd');
  link.WriteLink(menu_ + "\\Desc300.lnk");
  TShellLink back;
  back.SetPath(menu_ + "\\Desc254.lnk");
  EXPECT_EQ(back.Description, std::string(254, 'c'));
  back.SetPath(menu_ + "\\Desc300.lnk");
  EXPECT_EQ(back.Description, std::string(254, 'd'));
}

TEST_F(Shortcuts, ProgramShortcutEndsAsLnkWithWorkingFolder) {
  std::string target = dest_ + "\\prog.exe", s = menu_ + "\\My Program";
  Write(target);
  Write(s + ".pif", "old");
  TShellLink link;
  MakeShortcut(link, s, target);
  EXPECT_TRUE(FileExists(s + ".lnk"));
  EXPECT_FALSE(FileExists(s)) << "renamed to .lnk";
  EXPECT_FALSE(FileExists(s + ".pif"));
  EXPECT_EQ(link.Path(), s + ".lnk");
  TShellLink back;
  back.SetPath(s + ".lnk");
  EXPECT_TRUE(kw::SameText(back.Target, target)) << back.Target;
  EXPECT_EQ(back.WorkingDir, dest_ + "\\");
}

TEST_F(Shortcuts, SameNameIsCopiedAndMissingTargetDeletesOldEntries) {
  Write(dest_ + "\\readme.txt", "read me");
  TShellLink link;
  MakeShortcut(link, menu_ + "\\readme.txt", dest_ + "\\readme.txt");
  EXPECT_EQ(ReadFileText(menu_ + "\\readme.txt"), "read me");
  EXPECT_FALSE(FileExists(menu_ + "\\readme.txt.lnk"));

  Write(menu_ + "\\Gone.lnk");
  Write(menu_ + "\\Gone.pif");
  MakeShortcut(link, menu_ + "\\Gone", dest_ + "\\gone.exe");
  EXPECT_FALSE(FileExists(menu_ + "\\Gone.lnk"));
  EXPECT_FALSE(FileExists(menu_ + "\\Gone.pif"));
  EXPECT_FALSE(FileExists(menu_ + "\\Gone"));
}

TEST_F(Shortcuts, SectionSetsMainProgramAndRecordsEntries) {
  Write(dest_ + "\\second.exe");
  Write(dest_ + "\\help.txt");
  SetupState s;
  s.DestDir = dest_ + "\\";
  s.StartMenuFolder = menu_ + "\\Sub\\Deeper";
  s.lbSetup = LineList({":shortcuts", "First", "first.exe", "Second", "second.exe",
                        "help.txt", "help.txt", ":", "more"});
  EngineState e;
  TShellLink link;
  CreateShortcuts(s, e, link);
  EXPECT_EQ(e.MainProgram, "first.exe") << "the first pair, though its target is missing";
  std::string m = s.StartMenuFolder;
  EXPECT_EQ(e.UninstallList.Lines(),
            (std::vector<std::string>{m + "\\First", m + "\\Second", m + "\\help.txt", "+" + m}));
  EXPECT_FALSE(FileExists(m + "\\First.lnk"));
  EXPECT_TRUE(FileExists(m + "\\Second.lnk"));
  EXPECT_TRUE(FileExists(m + "\\help.txt"));

  e.MainProgram = "kept.exe";
  e.UninstallList.Clear();
  s.lbSetup = LineList({":SHORTCUTS", "Second", "second.exe", ":"});
  CreateShortcuts(s, e, link);
  EXPECT_EQ(e.MainProgram, "kept.exe");

  EngineState cut;
  s.lbSetup = LineList({":SHORTCUTS", "Second", "second.exe"});
  EXPECT_THROW(CreateShortcuts(s, cut, link), ListIndexError);
}

TEST_F(Shortcuts, EmptyFolderNamePutsEntriesIntoProgramsFolder) {
  const std::string cu = "HKEY_CURRENT_USER";
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string saved = ReadRegString(cu, key, "Programs");
  std::string programs = root_ + "\\Programs";
  WriteRegValue(cu, key, "Programs", programs + "\\");
  SetupState s;
  s.StartMenuFolder = StartMenuPath("");
  s.DestDir = dest_;
  Write(dest_ + "\\prog.exe");
  s.lbSetup = LineList({":SHORTCUTS", "Prog", "prog.exe", ":"});
  EngineState e;
  TShellLink link;
  CreateShortcuts(s, e, link);
  EXPECT_EQ(s.StartMenuFolder, programs);
  EXPECT_TRUE(FileExists(programs + "\\Prog.lnk"));
  EXPECT_EQ(e.UninstallList.Lines().back(), "+" + programs);
  EXPECT_EQ(StartMenuPath("My App"), programs + "\\My App");

  WriteRegValue(cu, key, "Programs", "");
  EXPECT_EQ(StartMenuPath("My App"), GetWindowsFolder() + "\\Start Menu\\Programs\\My App");
  if (saved.empty()) {
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, &h), ERROR_SUCCESS);
    RegDeleteValueA(h, "Programs");
    RegCloseKey(h);
  } else {
    WriteRegValue(cu, key, "Programs", saved);
  }
}
