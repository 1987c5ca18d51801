// The installation list's checks, one test per kind of mistake: each mistake
// must be named by its line, and a sound list must pass without a word.
#include <gtest/gtest.h>

#include "mksetup/Amend.h"
#include "mksetup/IniCheck.h"
#include "mksetup/TextFit.h"

using namespace mksetup;

namespace {

const char kHeader[] = "\\Kerf Demo\nKerf Demo\nKerf Demo 1.0\n";

std::vector<std::string> Check(const std::string& body, std::vector<std::string> files = {"kwdemo.ex_", "readme.txt", "kwunin.exe"},
                               bool header = true) {
  IniContext ctx;
  ctx.packageFiles = std::move(files);
  std::vector<std::string> out;
  for (const Problem& p : CheckSetupIni(header ? kHeader + body : body, ctx)) out.push_back(Format(p));
  return out;
}

// One problem expected: its place and kind, and a word of its text.
void ExpectOne(const std::vector<std::string>& got, const std::string& where, const std::string& word) {
  ASSERT_EQ(got.size(), 1u) << ::testing::PrintToString(got);
  EXPECT_EQ(got[0].rfind(where, 0), 0u) << got[0];
  EXPECT_NE(got[0].find(word), std::string::npos) << got[0];
}

const char kSound[] =
    ":UNINSTALL\nKerfDemo\nKerf Demo 1.0\nkwunin.exe\nr\n:\n"
    ":INSTALL\n*kwdemo.ex_\nreadme.txt\n:\n"
    ":WIN\nkwunin.exe\n:\n"
    ":SHORTCUTS\nKerf Demo\nKWDEMO.EXE\nRead me\nreadme.txt\n:\n"
    ":RUNFILE\nkwdemo.exe\n:\n"
    ":NOTRUNNING\nTfKerfwise,Kerfwise\n:\n"
    ":SYSBACKUP\n:\n:DINK\n:REBOOT\n"
    ":reg\nHKEY_CURRENT_USER\nSoftware\\Q\nRuns\n#3#\nHKEY_CLASSES_ROOT\n>.txt<\\shell\\open\\command\n\np\n"
    "HKEY_LOCAL_MACHINE\nSoftware\\Q\nMask\n#$FFFFFFFF#\nHKEY_USERS\nx\nNeg\n#-2147483648#\n:\n";

}  // namespace

TEST(IniChecks, SoundListPassesWithFactsForTheBuilder) {
  IniContext ctx;
  ctx.packageFiles = {"kwdemo.ex_", "readme.txt", "kwunin.exe"};
  IniFacts facts;
  std::string crlf;
  for (char c : std::string(kHeader) + kSound) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_TRUE(CheckSetupIni(crlf, ctx, &facts).empty());
  EXPECT_EQ(facts.installTargets, (std::vector<std::string>{"kwdemo.exe", "readme.txt"}));
  EXPECT_EQ(facts.named, (std::vector<std::string>{"kwdemo.ex_", "readme.txt", "kwunin.exe"}));
  EXPECT_EQ(facts.programName, "Kerf Demo 1.0");
  EXPECT_EQ(facts.uninstaller, "kwunin.exe");
}

TEST(IniChecks, HeaderMistakes) {
  ExpectOne(Check("\\Foo\nFoo\n", {}, false), "setup.ini:2: error:", "three lines");
  ExpectOne(Check("", {}, false), "setup.ini: error:", "three lines");
  ExpectOne(Check("Foo\nFoo\nFoo 1\n", {}, false), "setup.ini:1: error:", "backslash");
  ExpectOne(Check("\\Foo\n:INSTALL\nx\n:\n", {"x"}, false), "setup.ini:2: error:", "Start Menu folder");
  ExpectOne(Check("\\Foo\nFoo\n\n", {}, false), "setup.ini:3: warning:", "program name");
  EXPECT_TRUE(Check("\nFoo\nFoo 1\n", {}, false).empty());  // an empty first line is C:\Program Files
}

TEST(IniChecks, SectionsWithoutTheirEnd) {
  // A list running into the next keyword, and one running off the end.
  ExpectOne(Check(":INSTALL\nreadme.txt\n:WIN\nkwunin.exe\n:\n"), "setup.ini:6: error:", "':' line is missing");
  ExpectOne(Check(":INSTALL\nreadme.txt\n"), "setup.ini:4: error:", "no ':' line");
  // Groups: none at all, one cut short, one without the end.
  ExpectOne(Check(":SHORTCUTS\n:\n"), "setup.ini:5: error:", "is empty");
  ExpectOne(Check(":INSTALL\nreadme.txt\n:\n:SHORTCUTS\nRead me\nreadme.txt\nOther\n:\n"), "setup.ini:10: error:",
            "1 of 2 lines");
  ExpectOne(Check(":reg\nHKEY_USERS\nk\nv\nd\n"), "setup.ini:4: error:", "no ':' line");
  ExpectOne(Check(":reg\nHKEY_USERS\nk\nv\nd\nHKEY_USERS\n:\n"), "setup.ini:9: error:", "1 of 4 lines");
  // Fixed sections cut short.
  ExpectOne(Check(":UNINSTALL\nKey\nName\n:\n"), "setup.ini:4: error:", "2 of its 4 lines");
  ExpectOne(Check(":RUNFILE\n"), "setup.ini:4: error:", "0 of its 1 lines");
}

TEST(IniChecks, KeywordsTheInstallerWillNotFind) {
  ExpectOne(Check(":INSTALL \nreadme.txt\n:\n"), "setup.ini:4: error:", "blanks around it");
  ExpectOne(Check(" :reboot\n"), "setup.ini:4: error:", ":REBOOT alone");
  ExpectOne(Check(":INSTAL\nreadme.txt\n:\n"), "setup.ini:4: warning:", "unknown section :INSTAL");
  ExpectOne(Check(":install\nreadme.txt\n:\n:INSTALL\nkwdemo.ex_\n:\n"), "setup.ini:7: warning:", "second :INSTALL");
  // Entries that look like keywords are still entries, and lower case finds the section.
  EXPECT_TRUE(Check(":install\nreadme.txt\n:\n:reboot\n").empty());
}

TEST(IniChecks, FilesTheListNames) {
  ExpectOne(Check(":INSTALL\nmissing.txt\n:\n"), "setup.ini:5: error:", "not in the package");
  ExpectOne(Check(":SYSTEM\nsub\\readme.txt\n:\n"), "setup.ini:5: error:", "folder parts");
  ExpectOne(Check(":WIN\n*bin/kwunin.exe\n:\n"), "setup.ini:5: error:", "never find it");
  ExpectOne(Check(":INSTALL\nreadme.txt\n\n:\n"), "setup.ini:6: error:", "empty line");
  // Letter case is the file system's business; the star and .ex_ rules apply.
  EXPECT_TRUE(Check(":INSTALL\n*README.TXT\nKWDEMO.EX_\n:\n:RUNFILE\nkwdemo.exe\n").empty());
  ExpectOne(Check(":INSTALL\nreadme.txt\n:\n:SHORTCUTS\nDemo\nkwdemo.exe\n:\n"), "setup.ini:9: error:",
            "shortcut target 'kwdemo.exe' is not installed by :INSTALL");
  ExpectOne(Check(":INSTALL\nreadme.txt\n:\n:RUNFILE\nkwdemo.ex_\n"), "setup.ini:8: error:", ":RUNFILE program");
  // :WIN does not count for the program folder.
  ExpectOne(Check(":WIN\nkwdemo.ex_\n:\n:RUNFILE\nkwdemo.exe\n"), "setup.ini:8: error:", "not installed by :INSTALL");
}

TEST(IniChecks, RegistryGroups) {
  ExpectOne(Check(":reg\nhkey_current_user\nk\nv\nd\n:\n"), "setup.ini:5: error:", "capitals");
  ExpectOne(Check(":reg\nHKCU\nk\nv\nd\n:\n"), "setup.ini:5: error:", "unknown root key");
  for (const char* bad : {"#abc#", "#12", "#", "##", "#2147483648#", "#$123456789#", "#1 #"})
    ExpectOne(Check(std::string(":reg\nHKEY_USERS\nk\nv\n") + bad + "\n:\n"), "setup.ini:8: error:", "valid number");
  for (const char* good : {"#0#", "#+7#", "#-1#", "#$ff#", "plain text", "r", "R", "P"})
    EXPECT_TRUE(Check(std::string(":reg\nHKEY_USERS\nk\nv\n") + good + "\n:\n").empty()) << good;
}

TEST(IniChecks, UninstallRecord) {
  const std::string win = ":WIN\nkwunin.exe\n:\n";
  // An entry pointing at nothing is refused, naming the fix.
  ExpectOne(Check(":UNINSTALL\nK\nN\nkwunin.exe\nr\n:\n"), "setup.ini:7: error:", "list it under :WIN");
  ExpectOne(Check(":UNINSTALL\nK\nN\nqfunin.exe\nr\n:\n"), "setup.ini:7: error:",
            "pack it with --uninstaller, or list it under :WIN");
  ExpectOne(Check(":UNINSTALL\nK\nN\nqfunin.exe\nr\n:\n:WIN\nqfunin.exe\n:\n"), "setup.ini:11: error:",
            "not in the package: no such file in the project folder or disk1; pack it with --uninstaller");
  ExpectOne(Check(win + ":UNINSTALL\nK\nN\nkwunin.exe\nR\n:\n"), "setup.ini:11: error:", "neither r");
  ExpectOne(Check(win + ":UNINSTALL\nK\nN\nkwunin.exe\nlists\\kd.ini\n:\n"), "setup.ini:11: error:", "plain file name");
  ExpectOne(Check(win + ":UNINSTALL\nK\nN\nC:\\kwunin.exe\nr\n:\n"), "setup.ini:10: error:", "plain file name");
  EXPECT_TRUE(Check(win + ":UNINSTALL\nK\nN\nKWUNIN.EXE\nKerfDemo.INI\n:\n").empty());
}

TEST(IniChecks, LinesTheListCannotHold) {
  ExpectOne(Check(":INSTALL\n" + std::string(4096, 'a') + "\n:\n", {std::string(4096, 'a')}), "setup.ini:5: error:",
            "4095");
  ExpectOne(Check(std::string(":INSTALL\nreadme.txt\n:\n:REBOOT\0:DINK\n", 36)), "setup.ini:8: warning:", "NUL");
}

// The :WIN line --uninstaller adds: under an existing section, whatever its
// letter case and line ends, else in a new section the installer still reads.
TEST(Additions, WinEntryWhereTheInstallerReadsIt) {
  const std::string head = "\\A\r\nA\r\nA 1\r\n";
  EXPECT_EQ(WithWinEntry(head + ":win\r\nx.dll\r\n:\r\n", "qfunin.exe"),
            head + ":win\r\nqfunin.exe\r\nx.dll\r\n:\r\n");
  EXPECT_EQ(WithWinEntry("\\A\nA\nA 1\n:WIN\n:\n", "q.exe"), "\\A\nA\nA 1\n:WIN\nq.exe\n:\n");
  EXPECT_EQ(WithWinEntry(head + ":INSTALL\r\na\r\n:", "q.exe"), head + ":INSTALL\r\na\r\n:\r\n:WIN\r\nq.exe\r\n:\r\n");
  EXPECT_EQ(WithWinEntry(head, "q.exe"), head + ":WIN\r\nq.exe\r\n:\r\n");
  // A header line is not a section; nothing after a NUL is read.
  EXPECT_EQ(WithWinEntry(":WIN\nA\nA 1\n", "q.exe"), ":WIN\nA\nA 1\n:WIN\r\nq.exe\r\n:\r\n");
  using namespace std::string_literals;
  EXPECT_EQ(WithWinEntry("\\A\nA\nA 1\n\0:WIN\n"s, "q.exe"), "\\A\nA\nA 1\n:WIN\r\nq.exe\r\n:\r\n\0:WIN\n"s);
  // The list it gives passes the checks that refused the one without it.
  IniContext ctx;
  ctx.packageFiles = {"qfunin.exe"};
  const std::string ini = head + ":UNINSTALL\r\nA\r\nA 1\r\nqfunin.exe\r\nr\r\n";
  EXPECT_FALSE(CheckSetupIni(ini, ctx).empty());
  EXPECT_TRUE(CheckSetupIni(WithWinEntry(ini, "qfunin.exe"), ctx).empty());
  EXPECT_EQ(DefaultCopyBrin("A 1"), "A 1\r\n");
}

// The boxes that scroll warn at their first over-wide line, counting the
// rest; the boxes that wrap warn at the line where the text is cut off.
TEST(Additions, TextsTheWizardBoxesCannotShow) {
  auto one = [](const TextBox& box, const std::string& text) {
    const std::vector<Problem> v = CheckTextFits(box, box.file, text);
    return v.empty() ? std::string() : Format(v.front());
  };
  const std::string fits(44, 'x'), wide(45, 'x');
  EXPECT_EQ(one(kLicenseBox, fits + "\r\n\r\n" + fits), "");
  EXPECT_EQ(one(kLicenseBox, "a\r\n" + wide + "\r\nb\r\n" + wide + "\n" + wide),
            "license.txt:2: warning: a line of 45 characters: the license box shows about 44 and does not wrap, so "
            "the reader must scroll sideways; break it (2 more lines like it)");
  EXPECT_NE(one(kReadmeBox, "\t\t\t\t\t\tx").find("readme.txt:1: warning: a line of 49 characters"), std::string::npos);
  // Six rows in the notice box: a paragraph wrapping into three rows and
  // three short lines fill it; one more row is cut off.
  std::string para;
  for (int i = 0; i < 14; ++i) para += "word ";
  para += "word";  // 15 words of 4: 74 characters, rows of 48 -> 2 rows
  const std::string six = para + "\r\n" + para + "\r\n\r\nend\r\n";
  EXPECT_EQ(one(kNoticeBox, six), "");
  EXPECT_EQ(one(kNoticeBox, six + "over\r\n").substr(0, 30), "copyMott.txt:5: warning: the n");
  // A word wider than the box breaks at its edge.
  EXPECT_EQ(one(kSideBox, std::string(21 * 5, 'x')), "");
  EXPECT_NE(one(kSideBox, std::string(21 * 5 + 1, 'x')).find("copyBrin.txt:1: warning"), std::string::npos);
}
