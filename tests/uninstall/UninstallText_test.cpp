// Uninstall list location, uninstall command, the list file.
#include "setup/engine/UninstallText.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <stdexcept>

#include "setup/engine/ListFormat.h"

using namespace setup;

TEST(UninstallText, ListPathRules) {
  const char* win = "C:\\WINDOWS";
  EXPECT_EQ(UninstallListPath("r", "C:\\App", win), "C:\\App\\unin.ini");
  EXPECT_EQ(UninstallListPath("r", "C:\\App\\", win), "C:\\App\\unin.ini") << "no doubled backslash";
  EXPECT_EQ(UninstallListPath("app.ini", "C:\\App", win), "C:\\WINDOWS\\app.ini");
  EXPECT_EQ(UninstallListPath("APP.INI", "C:\\App", win), "C:\\WINDOWS\\APP.INI");
  EXPECT_EQ(UninstallListPath("R", "C:\\App", win), "C:\\App\\unin.ini") << "only small r is r";
  EXPECT_EQ(UninstallListPath("app.lst", "C:\\App\\", win), "C:\\App\\unin.ini");
  EXPECT_EQ(SavedListPath("C:\\WINDOWS\\x.Ini.bak", "C:\\App"), "C:\\WINDOWS\\x.Ini.bak");
  EXPECT_EQ(SavedListPath("C:\\WINDOWS\\x", "C:\\App\\"), "C:\\App\\unin.ini");
}

TEST(UninstallText, CommandQuotesTheListPath) {
  EXPECT_EQ(UninstallCommand("C:\\WINDOWS", "uninst.exe", "C:\\Program Files\\App\\unin.ini"),
            "C:\\WINDOWS\\uninst.exe \"C:\\Program Files\\App\\unin.ini\"");
}

TEST(UninstallText, ListFileHasCrLfLinesAndReplacesOldFile) {
  std::string path = "/tmp/unintext" + std::to_string(getpid()) + ".ini";
  WriteListFile(path, {"a very long old line that must disappear", "x"});
  WriteListFile(path, {"Prog", "C:\\App", "", ":reg", ":"});
  EXPECT_EQ(ReadFileText(path), "Prog\r\nC:\\App\r\n\r\n:reg\r\n:\r\n");
  WriteListFile(path, {});
  EXPECT_EQ(ReadFileText(path), "");
  unlink(path.c_str());
  try {
    WriteListFile("/nonexistent-dir/unin.ini", {"x"});
    FAIL() << "no error";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "Cannot create file /nonexistent-dir/unin.ini");
  }
  try {
    WriteListFile("/dev/full", {"x"});
    FAIL() << "a lost write reported as success";
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "Cannot write file /dev/full");
  }
}
