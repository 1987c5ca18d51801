// Registry routines and the :reg section against Wine's registry. Every test
// works below its own key and deletes it afterwards.
#include "setup/engine/Registry.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "setup/engine/RegSection.h"

using namespace setup;

namespace {

const std::string kCU = "HKEY_CURRENT_USER";

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    base_ = "Software\\KwRegTest" + std::to_string(GetCurrentProcessId()) + info->name();
    DeleteRegKey(kCU, base_);
  }
  void TearDown() override { DeleteRegKey(kCU, base_); }

  bool KeyExists(const std::string& sub, HKEY root = HKEY_CURRENT_USER) {
    HKEY h;
    if (RegOpenKeyExA(root, sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
  }
  // Type and 32-bit number of a value, type 0 when absent.
  DWORD Number(const std::string& sub, const std::string& name, DWORD* type) {
    HKEY h;
    DWORD v = 0, size = sizeof v;
    *type = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return 0;
    if (RegQueryValueExA(h, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(&v), &size))
      *type = 0;
    RegCloseKey(h);
    return v;
  }

  SetupState State(std::vector<std::string> lines) {
    SetupState s;
    s.DestDir = "C:\\Program Files\\App";
    s.lbSetup = LineList(std::move(lines));
    return s;
  }

  std::string base_;
};

}  // namespace

TEST_F(Registry, StringValuesReadBackAndMissingReadsEmpty) {
  WriteRegValue(kCU, "\\" + base_ + "\\a\\b", "name", "text");
  WriteRegValue(kCU, base_ + "\\a\\b", "", "default");
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\a\\b", "name"), "text");
  EXPECT_EQ(ReadRegString(kCU, "\\" + base_ + "\\a\\b", ""), "default");
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\a\\b", "absent"), "");
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\missing", "name"), "");
  EXPECT_FALSE(KeyExists(base_ + "\\missing")) << "reading creates nothing";
}

TEST_F(Registry, NumberValues) {
  DWORD type;
  WriteRegValue(kCU, base_, "one", "#1#");
  EXPECT_EQ(Number(base_, "one", &type), 1u);
  EXPECT_EQ(type, DWORD(REG_DWORD));
  WriteRegValue(kCU, base_, "hex", "#$FF#");
  EXPECT_EQ(Number(base_, "hex", &type), 255u);
  WriteRegValue(kCU, base_, "neg", "#-2#");
  EXPECT_EQ(Number(base_, "neg", &type), 0xFFFFFFFEu);
  try {
    WriteRegValue(kCU, base_, "bad", "#12x#");
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "'12x' is not a valid integer value");
  }
  Number(base_, "bad", &type);
  EXPECT_EQ(type, 0u);
  // A key that cannot be opened is passed over before the number is looked at.
  EXPECT_NO_THROW(WriteRegValue("HKEY_NOWHERE", base_, "bad", "#12x#"));
}

TEST_F(Registry, DataTypeAndSetErrors) {
  WriteRegValue(kCU, base_, "num", "#7#");
  try {
    ReadRegString(kCU, base_, "num");
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "Invalid data type for 'num'");
  }
  // The registry refuses value names longer than 16383 characters.
  std::string longName(20000, 'n');
  try {
    WriteRegValue(kCU, base_, longName, "x");
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for '" + longName + "'");
  }
}

TEST_F(Registry, UnknownRootNamesWriteNothing) {
  WriteRegValue("hkey_current_user", base_, "v", "x");
  WriteRegValue("HKCU", base_, "v", "#1#");
  EXPECT_FALSE(KeyExists(base_));
  WriteRegValue(kCU, base_, "v", "x");
  EXPECT_EQ(ReadRegString("hkey_current_user", base_, "v"), "");
  DeleteRegKey("hkey_current_user", base_);
  EXPECT_TRUE(KeyExists(base_));
}

TEST_F(Registry, DeleteRegKeyTakesSubkeysDeepestFirst) {
  WriteRegValue(kCU, base_ + "\\t\\a\\b\\c", "v", "1");
  WriteRegValue(kCU, base_ + "\\t\\a\\d", "v", "2");
  WriteRegValue(kCU, base_ + "\\t\\e", "v", "#3#");
  WriteRegValue(kCU, base_ + "\\t", "v", "4");
  WriteRegValue(kCU, base_ + "\\t2", "v", "5");
  DeleteRegKey(kCU, "\\" + base_ + "\\t");
  EXPECT_FALSE(KeyExists(base_ + "\\t"));
  EXPECT_TRUE(KeyExists(base_ + "\\t2"));
  DeleteRegKey(kCU, base_ + "\\gone");  // missing: passed over
  DeleteRegKey(kCU, "\\");              // the root itself: never emptied
  DeleteRegKey(kCU, "");
  EXPECT_TRUE(KeyExists(base_ + "\\t2"));
}

TEST_F(Registry, PrimaryProviderKeepsThePreviousOne) {
  const std::string key = base_ + "\\NetworkProvider";
  WriteRegValue(kCU, key, "PrimaryProvider", "Old Net");
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "") << "old was empty, as was previous";
  WriteRegValue(kCU, key, "PrimaryProvider", "New Net");
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "Old Net");
  EXPECT_EQ(ReadRegString(kCU, key, "PrimaryProvider"), "New Net");
  WriteRegValue(kCU, key, "PrimaryProvider", "New Net");  // reinstalled: kept
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "Old Net");
  WriteRegValue(kCU, key, "PrimaryProvider", "Third");
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "New Net");
  WriteRegValue(kCU, key, "PreviousProvider", "Third");  // already recorded: kept
  WriteRegValue(kCU, key, "PrimaryProvider", "Fourth");
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "Third");
  WriteRegValue(kCU, key, "primaryprovider", "x");  // the rule needs the exact name
  EXPECT_EQ(ReadRegString(kCU, key, "PreviousProvider"), "Third");
}

TEST_F(Registry, GetProgramsFolderReadsShellFolders) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string saved = ReadRegString(kCU, key, "Programs");
  WriteRegValue(kCU, key, "Programs", "C:\\KwPrograms");
  EXPECT_EQ(GetProgramsFolder(), "C:\\KwPrograms");
  if (saved.empty()) {
    HKEY h;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_WRITE, &h), ERROR_SUCCESS);
    RegDeleteValueA(h, "Programs");
    RegCloseKey(h);
    EXPECT_EQ(GetProgramsFolder(), "");
  } else {
    WriteRegValue(kCU, key, "Programs", saved);
  }
}

TEST_F(Registry, SectionWithDinkDeletesOnlyTheFirstKey) {
  WriteRegValue(kCU, base_ + "\\first\\sub\\deeper", "x", "1");
  WriteRegValue(kCU, base_ + "\\first", "stale", "1");
  WriteRegValue(kCU, base_ + "\\second\\child", "x", "1");
  SetupState s = State({"head", ":DINK", ":reg",
                        kCU, base_ + "\\first", "dest", "r",
                        kCU, base_ + "\\second", "count", "#5#",
                        "hkey_current_user", base_ + "\\third", "v", "R",
                        kCU, base_ + "\\first", "cmd", "P",
                        ":"});
  EngineState e;
  e.MainProgram = "app.exe";
  WriteRegistrySection(s, e);
  EXPECT_FALSE(KeyExists(base_ + "\\first\\sub"));
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\first", "stale"), "");
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\first", "dest"), s.DestDir);
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\first", "cmd"),
            s.DestDir + "\\app.exe %1 %2 %3 %4 %5 %6 %7 %8 %9");
  EXPECT_TRUE(KeyExists(base_ + "\\second\\child")) << "later keys are never deleted";
  DWORD type;
  EXPECT_EQ(Number(base_ + "\\second", "count", &type), 5u);
  EXPECT_FALSE(KeyExists(base_ + "\\third"));
  std::vector<std::string> want = {":reg",
                                   kCU, base_ + "\\first", "dest", s.DestDir,
                                   kCU, base_ + "\\second", "count", "#5#",
                                   "hkey_current_user", base_ + "\\third", "v", s.DestDir,
                                   kCU, base_ + "\\first", "cmd",
                                   s.DestDir + "\\app.exe %1 %2 %3 %4 %5 %6 %7 %8 %9",
                                   ":"};
  EXPECT_EQ(e.UninstallList.Lines(), want);
}

TEST_F(Registry, DinkSparesAKeyHoldingRegAndNeedsTheSection) {
  WriteRegValue(kCU, base_ + "\\kept\\sub", "x", "1");
  WriteRegValue(kCU, base_ + "\\kept", "reg", "mine");
  EngineState e;
  WriteRegistrySection(State({":dink", ":REG", kCU, base_ + "\\kept", "v", "1", ":"}), e);
  EXPECT_TRUE(KeyExists(base_ + "\\kept\\sub"));
  WriteRegValue(kCU, base_ + "\\plain\\sub", "x", "1");
  WriteRegistrySection(State({":reg", kCU, base_ + "\\plain", "v", "1", ":"}), e);
  EXPECT_TRUE(KeyExists(base_ + "\\plain\\sub")) << "without :DINK nothing is deleted";
  EngineState none;
  WriteRegistrySection(State({":REGX", "x"}), none);
  EXPECT_TRUE(none.UninstallList.Lines().empty());
}

TEST_F(Registry, RedirectionThroughAFileClass) {
  const std::string pid = std::to_string(GetCurrentProcessId());
  const std::string cr = "HKEY_CLASSES_ROOT", ext = ".kwt" + pid, cls = "kwtfile" + pid;
  WriteRegValue(cr, ext, "", cls);
  SetupState s = State({":reg", cr, ">" + ext + "<\\shell\\open\\command", "", "p", ":"});
  EngineState e;
  e.MainProgram = "app.exe";
  WriteRegistrySection(s, e);
  std::string key = cls + "\\shell\\open\\command";
  EXPECT_EQ(ReadRegString(cr, key, ""), s.DestDir + "\\app.exe %1");
  ASSERT_EQ(e.UninstallList.Count(), 6u);
  EXPECT_EQ(e.UninstallList.At(2), key);
  DeleteRegKey(cr, ext);
  DeleteRegKey(cr, cls);
  EXPECT_FALSE(KeyExists(cls, HKEY_CLASSES_ROOT));
}

TEST_F(Registry, RedirectionWithoutDefaultValueKeepsTheText) {
  WriteRegValue(kCU, base_ + "\\lookup", "named", "not the default");
  SetupState s = State({":reg", kCU, ">" + base_ + "\\lookup<\\sub", "v", "x",
                        kCU, ">" + base_ + "\\nothing", "w", "y", ":"});
  EngineState e;
  WriteRegistrySection(s, e);
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\lookup<\\sub", "v"), "x");
  EXPECT_EQ(ReadRegString(kCU, base_ + "\\nothing", "w"), "y");
  EXPECT_EQ(e.UninstallList.At(2), base_ + "\\lookup<\\sub");
}

TEST_F(Registry, SectionErrorsStopAtTheFailingGroup) {
  EngineState e;
  EXPECT_THROW(WriteRegistrySection(State({":reg", kCU, base_, "n", "#x#", ":"}), e),
               kw::Error);
  EXPECT_EQ(e.UninstallList.Lines(), std::vector<std::string>{":reg"});
  EngineState cut;
  EXPECT_THROW(WriteRegistrySection(State({":reg", kCU, base_, "n", "v"}), cut), ListIndexError);
  EXPECT_EQ(ReadRegString(kCU, base_, "n"), "v") << "the group is written before the end is missed";
}
