// The uninstall entry in Wine's registry and the exact bytes of unin.ini, built
// through the steps the install engine takes.
#include "setup/engine/Uninstall.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <stdexcept>

#include "setup/engine/Folders.h"
#include "setup/engine/RegSection.h"
#include "setup/engine/Registry.h"
#include "setup/engine/Shortcuts.h"
#include "setup/engine/UninstallText.h"

using namespace setup;

namespace {

const std::string kLM = "HKEY_LOCAL_MACHINE";

class Uninstall : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    tag_ = "KwUnin" + std::to_string(GetCurrentProcessId()) + info->name();
    char buf[MAX_PATH];
    GetTempPathA(sizeof buf, buf);
    root_ = StripBackslash(buf) + "\\" + tag_;
    RemoveFolderTree(root_);
    ForceFolders(root_ + "\\dest");
    key_ = std::string(kUninstallKey) + tag_;
  }
  void TearDown() override {
    RemoveFolderTree(root_);
    DeleteRegKey(kLM, key_);
    DeleteRegKey("HKEY_CURRENT_USER", "Software\\" + tag_);
    CoUninitialize();
  }

  SetupState State(std::vector<std::string> lines) {
    SetupState s;
    s.ProgramName = "Kw Program";
    s.DestDir = root_ + "\\dest";
    s.StartMenuFolder = root_ + "\\menu";
    s.lbSetup = LineList(std::move(lines));
    return s;
  }

  // Engine steps 1, 6, 8 (one copied file), 12, 13, 16 and 17.
  EngineState Run(const SetupState& s) {
    EngineState e;
    BeginUninstallList(s, e);
    WriteUninstallSection(s, e);
    e.UninstallList.Add(s.DestDir + "\\app.exe");
    TShellLink link;
    CreateShortcuts(s, e, link);
    e.UninstallList.Add("");
    WriteRegistrySection(s, e);
    SaveUninstallList(s, e);
    return e;
  }

  std::string tag_, root_, key_;
};

}  // namespace

TEST_F(Uninstall, EntryHasItsTwoValues) {
  WriteUninstallEntry(tag_, "Kw Display", "C:\\WINDOWS\\un.exe \"C:\\x\\unin.ini\"");
  EXPECT_EQ(ReadRegString(kLM, key_, "DisplayName"), "Kw Display");
  EXPECT_EQ(ReadRegString(kLM, key_, "UninstallString"), "C:\\WINDOWS\\un.exe \"C:\\x\\unin.ini\"");
  WriteUninstallEntry(tag_, "#1#", "");  // strings always, even when they look like numbers
  EXPECT_EQ(ReadRegString(kLM, key_, "DisplayName"), "#1#");
}

TEST_F(Uninstall, FullListWithShortcutsAndRegistry) {
  std::string dest = root_ + "\\dest", menu = root_ + "\\menu";
  std::string cu = "Software\\" + tag_;
  std::fclose(std::fopen((dest + "\\app.exe").c_str(), "wb"));
  SetupState s = State({"\\App", "Menu", "Kw Program", ":UNINSTALL", tag_, "Kw Display",
                        "kwunin.exe", "r", ":", ":SHORTCUTS", "Kw App", "app.exe", ":", ":reg",
                        "HKEY_CURRENT_USER", cu, "Path", "r", ":"});
  s.DestDir += "\\";  // as typed with a trailing backslash
  EngineState e = Run(s);
  std::string win = GetWindowsFolder();
  EXPECT_EQ(e.UninstallListPath, dest + "\\unin.ini");
  EXPECT_EQ(ReadRegString(kLM, key_, "DisplayName"), "Kw Display");
  EXPECT_EQ(ReadRegString(kLM, key_, "UninstallString"),
            win + "\\kwunin.exe \"" + dest + "\\unin.ini\"");
  EXPECT_EQ(e.MainProgram, "app.exe");
  EXPECT_EQ(ReadFileText(dest + "\\unin.ini"),
            "Kw Program\r\n" + dest + "\\\r\n" + dest + "\\\\app.exe\r\n" + menu + "\\Kw App\r\n+" +
                menu + "\r\n\r\n:reg\r\nHKEY_CURRENT_USER\r\n" + cu + "\r\nPath\r\n" + dest +
                "\\\r\n:\r\n");
}

TEST_F(Uninstall, PlainListAndListInTheWindowsFolder) {
  std::string name = tag_ + ".ini";
  SetupState s = State({"\\App", "Menu", "Kw Program", ":UNINSTALL", tag_, "D", "u.exe", name});
  s.lbSetup.Add(":");
  EngineState e = Run(s);
  std::string path = GetWindowsFolder() + "\\" + name;
  EXPECT_EQ(ReadFileText(path), "Kw Program\r\n" + s.DestDir + "\r\n" + s.DestDir + "\\app.exe\r\n\r\n");
  DeleteFileA(path.c_str());
}

TEST_F(Uninstall, LocationWithoutIniGoesToDestDirAndCommandSaysSo) {
  SetupState s = State({":UNINSTALL", tag_, "D", "u.exe", "unin.lst", ":"});
  Run(s);
  std::string path = s.DestDir + "\\unin.ini";
  EXPECT_TRUE(FileExists(path));
  EXPECT_EQ(ReadRegString(kLM, key_, "UninstallString"),
            GetWindowsFolder() + "\\u.exe \"" + path + "\"");
}

TEST_F(Uninstall, NoSectionNoEntryNoFile) {
  SetupState s = State({"\\App", "Menu", "Kw Program", ":INSTALL", ":"});
  EngineState e = Run(s);
  EXPECT_EQ(e.UninstallListPath, "");
  EXPECT_EQ(e.UninstallList.Count(), 4u);
  EXPECT_FALSE(FileExists(s.DestDir + "\\unin.ini"));
  EXPECT_EQ(ReadRegString(kLM, key_, "DisplayName"), "");
}

TEST_F(Uninstall, ErrorsOfTheSteps) {
  SetupState s = State({":UNINSTALL", tag_, "D", "u.exe", "r", ":"});
  s.DestDir = root_ + "\\not\\there";
  EngineState e;
  BeginUninstallList(s, e);
  WriteUninstallSection(s, e);
  try {
    SaveUninstallList(s, e);
    FAIL() << "no error";
  } catch (const kw::Error& err) {
    EXPECT_EQ(std::string(err.what()), "Cannot create file " + s.DestDir + "\\unin.ini");
  }
  EngineState cut;
  EXPECT_THROW(WriteUninstallSection(State({":UNINSTALL", tag_, "D", "u.exe"}), cut),
               ListIndexError);
}
