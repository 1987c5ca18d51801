// setup.exe's command line and where it looks for the package's parts.
#include <gtest/gtest.h>

#include "setup/engine/Switches.h"
#include "setup/wizard/DiskFolders.h"

using namespace setup;

namespace {

SetupSwitches Good(std::string_view line) {
  SetupSwitches s = ParseSetupSwitches(line);
  EXPECT_EQ(s.fault, "") << line;
  return s;
}

std::string Fault(std::string_view line) {
  SetupSwitches s = ParseSetupSwitches(line);
  EXPECT_NE(s.fault, "") << line;
  return s.fault;
}

}  // namespace

TEST(SetupSwitches, EveryFormAScriptWrites) {
  SetupSwitches none = Good("   ");
  EXPECT_FALSE(none.silent);
  EXPECT_FALSE(none.dest || none.group || none.log);

  SetupSwitches s = Good("/s /g=\"Kerf Tools\" /Log=\"C:\\My Logs\\kd.log\" /D=C:\\Program Files\\Kerf Demo  ");
  EXPECT_TRUE(s.silent);
  EXPECT_EQ(s.group.value_or(""), "Kerf Tools");
  EXPECT_EQ(s.log.value_or(""), "C:\\My Logs\\kd.log");
  EXPECT_EQ(s.dest.value_or(""), "C:\\Program Files\\Kerf Demo");

  // The folder may be quoted; a trailing backslash does not escape the quote.
  EXPECT_EQ(Good("/S /D=\"C:\\Program Files\\Kerf Demo\\\"").dest.value_or(""), "C:\\Program Files\\Kerf Demo\\");
  // /D= takes the rest of the line: what looks like a switch after it is not one.
  EXPECT_EQ(Good("/D=C:\\Kerf -S x").dest.value_or(""), "C:\\Kerf -S x");
  EXPECT_FALSE(ParseSetupSwitches("/D=C:\\a /S").silent);
  EXPECT_EQ(Good("/D=\\\\server\\share\\Kerf").dest.value_or(""), "\\\\server\\share\\Kerf");
  // A quote inside a switch's value, a later switch overriding an earlier one.
  EXPECT_EQ(Good("/LOG=C:\\\"My Logs\"\\a.log /log=C:\\b.log").log.value_or(""), "C:\\b.log");
  EXPECT_EQ(Good("/LOG=\"C:\\My Logs\"\\a.log").log.value_or(""), "C:\\My Logs\\a.log");
}

TEST(SetupSwitches, RefusesWhatWouldGoWrong) {
  EXPECT_NE(Fault("/S /D=MyApp").find("\"MyApp\""), std::string::npos);
  Fault("/S /D=");
  Fault("/S /D=  ");
  Fault("/D=\"C:\\Program Files\\Kerf");     // no closing quote
  Fault("/D=\"C:\\a\" \"C:\\b\"");           // more after the quoted folder
  Fault("/D=C:\\a\"b");
  EXPECT_NE(Fault("/S /X").find("\"/X\""), std::string::npos);
  Fault("S");
  Fault("/Silent");
  Fault("/G=");
  Fault("/LOG=");
  Fault("/LOG=\"C:\\a b.log");
  Fault("/S/D=C:\\a");                       // one argument, not two switches
}

TEST(SetupSwitches, FullFolderPaths) {
  for (const char* good : {"C:\\", "c:\\Program Files\\Kerf Demo", "D:\\a\\", "\\\\srv\\share",
                           "\\\\srv\\share\\Kerf Demo"})
    EXPECT_TRUE(IsFullFolderPath(good)) << good;
  for (const char* bad : {"", "MyApp", "C:", "C:Kerf", "\\Kerf", "1:\\Kerf", "C:\\a\\\\b",
                          "C:\\a:b", "C:\\a*", "C:\\a?", "C:\\a|b", "C:\\a<b", "C:/Kerf",
                          "\\\\srv", "\\\\srv\\", "\\\\\\share", "\\\\srv\\\\share", "C:\\a\tb",
                          "C:\\\\a"})
    EXPECT_FALSE(IsFullFolderPath(bad)) << bad;
}

TEST(DiskFolders, DiskSetCopiedSideBySide) {
  EXPECT_EQ(PartPlaces("Z:\\cd\\disk1", "kwdemo.2", 2),
            (std::vector<std::string>{"Z:\\cd\\disk1\\kwdemo.2", "Z:\\cd\\disk2\\kwdemo.2"}));
  // Disk 1 itself: its own folder once.
  EXPECT_EQ(PartPlaces("Z:\\cd\\DISK1", "kwdemo.1", 1),
            (std::vector<std::string>{"Z:\\cd\\DISK1\\kwdemo.1"}));
  // Whatever disk 1's folder is called, the others are diskN beside it.
  EXPECT_EQ(PartPlaces("C:\\setup", "p.3", 3),
            (std::vector<std::string>{"C:\\setup\\p.3", "C:\\disk3\\p.3"}));
  // A floppy's root has nothing beside it.
  EXPECT_EQ(PartPlaces("A:", "kwdemo.2", 2), (std::vector<std::string>{"A:\\kwdemo.2"}));
}
