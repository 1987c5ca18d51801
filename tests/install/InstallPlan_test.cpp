// The engine's step count, progress arithmetic and names.
#include "setup/engine/InstallPlan.h"
#include "setup/engine/NextStartText.h"
#include "toolkit/Error.h"

#include <gtest/gtest.h>

using namespace setup;

namespace {
LineList Lines(std::vector<std::string> lines) { return LineList(std::move(lines)); }
}  // namespace

TEST(InstallPlan, ProgressOfABackupAndFourFiles) {
  // :SYSBACKUP and an :INSTALL of four entries: 8 steps, the fourth (after the
  // backup) never shown.
  std::vector<int> shown;
  for (int done : {1, 2, 3, 5, 6, 7, 8}) shown.push_back(ProgressPercent(done, 8));
  EXPECT_EQ(shown, (std::vector<int>{12, 25, 37, 62, 75, 87, 100}));
}

TEST(InstallPlan, ProgressTruncatesInExtendedPrecision) {
  // In double, 29 / 100 * 100 gives 28.999...; extended precision keeps 29.
  EXPECT_EQ(ProgressPercent(29, 100), 29);
  EXPECT_EQ(ProgressPercent(57, 100), 57);
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(2, 3), 66);
  EXPECT_EQ(ProgressPercent(0, 5), 0);
  EXPECT_EQ(ProgressPercent(1, 0), 0) << "no division by zero";
  for (int total = 1; total <= 300; ++total) EXPECT_EQ(ProgressPercent(total, total), 100);
}

TEST(InstallPlan, CountSteps) {
  EXPECT_EQ(CountSteps(Lines({"a", "b", "c"})), 3);
  EXPECT_EQ(CountSteps(Lines({":INSTALL", "x", "*y", "", ":", ":system", "s", ":", ":WIN", ":"})),
            3 + 4 + 2 + 1) << "an empty line is an entry; an empty section still adds one";
  EXPECT_THROW(CountSteps(Lines({":WIN", "a", ":INSTALL", "b"})), ListIndexError);
  try {
    CountSteps(Lines({":SYSTEM", "a"}));
    FAIL();
  } catch (const kw::Error& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds");
  }
}

TEST(InstallPlan, BackupExtension) {
  EXPECT_EQ(BackupExtension(Lines({":SYSBACKUP", "OLD", ":"})), "OLD");
  EXPECT_EQ(BackupExtension(Lines({":sysbackup", ":"})), "QFS");
  EXPECT_EQ(BackupExtension(Lines({"x", ":SYSBACKUP"})), "QFS") << "no line after it";
  EXPECT_EQ(BackupExtension(Lines({":SYSBACKUP", "A:B"})), "QFS");
  EXPECT_EQ(BackupExtension(Lines({"x"})), "QFS");
}

TEST(InstallPlan, TargetsAndReplacementNames) {
  EXPECT_EQ(CopyTargetPath(TargetFolder::Dest, "C:\\App", "C:\\WINDOWS", "a.exe"), "C:\\App\\a.exe");
  EXPECT_EQ(CopyTargetPath(TargetFolder::Windows, "C:\\App", "C:\\WINDOWS", "w.ini"),
            "C:\\WINDOWS\\w.ini");
  EXPECT_EQ(CopyTargetPath(TargetFolder::System, "C:\\App", "C:\\WINDOWS", "s.dll"),
            "C:\\WINDOWS\\System\\s.dll");
  Replacement r = ReplacementNames("C:\\WINDOWS\\System\\in.use.dll");
  EXPECT_EQ(r.next, "C:\\WINDOWS\\System\\in.use.MQF");
  EXPECT_EQ(r.backup, "C:\\WINDOWS\\System\\in.use.BAK");
  EXPECT_EQ(ReplacementNames("C:\\A.B\\noext").next, "C:\\A.B\\noext.MQF");
  // Later choices number the name; a short name stays within eight characters.
  EXPECT_EQ(ReplacementNames("C:\\APP\\FOO.DLL", 1).next, "C:\\APP\\FOO1.MQF");
  EXPECT_EQ(ReplacementNames("C:\\APP\\FOO.DLL", 1).backup, "C:\\APP\\FOO1.BAK");
  EXPECT_EQ(ReplacementNames("C:\\PROGRA~1\\KWAPP\\KERFWISE.EXE", 1).next,
            "C:\\PROGRA~1\\KWAPP\\KERFWIS1.MQF");
  EXPECT_EQ(ReplacementNames("C:\\APP\\MYLONG~1.EXE", 12).backup, "C:\\APP\\MYLONG12.BAK");
  EXPECT_EQ(ReplacementNames("C:\\App\\Long Name.exe", 2).next, "C:\\App\\Long Name2.MQF");
  EXPECT_EQ(ReplacementNames("C:\\APP\\OLD.bak").backup, "C:\\APP\\OLD1.BAK");
  EXPECT_EQ(ReplacementNames("C:\\APP\\WAIT.mqf").next, "C:\\APP\\WAIT1.MQF");
  EXPECT_EQ(WininitPath("C:\\WINDOWS"), "C:\\WINDOWS\\WININIT.INI");
  EXPECT_EQ(RunNowQuestion("Foo"), "Installation is complete, would you like to run Foo now?");
}

// Only a file in use or locked waits for the next start; a read-only one is
// cleared and copied again; the rest are failures.
TEST(InstallPlan, ClassifyCopyFailure) {
  constexpr unsigned long kAccess = 5, kSharing = 32, kLock = 33, kDiskFull = 112, kExists = 80;
  constexpr unsigned long kArchive = 0x20, kReadOnly = 0x1, kFolder = 0x10;
  EXPECT_EQ(ClassifyCopyFailure(false, kSharing, kArchive), CopyFailure::InUse);
  EXPECT_EQ(ClassifyCopyFailure(false, kLock, kArchive), CopyFailure::InUse);
  EXPECT_EQ(ClassifyCopyFailure(false, kAccess, kArchive), CopyFailure::InUse);
  EXPECT_EQ(ClassifyCopyFailure(false, kAccess, kArchive | kReadOnly), CopyFailure::ReadOnly);
  EXPECT_EQ(ClassifyCopyFailure(false, kSharing, kReadOnly), CopyFailure::InUse);
  EXPECT_EQ(ClassifyCopyFailure(false, kDiskFull, kArchive), CopyFailure::Failed);
  EXPECT_EQ(ClassifyCopyFailure(false, kSharing, kNoAttributes), CopyFailure::Failed)
      << "no target, nothing in use";
  EXPECT_EQ(ClassifyCopyFailure(false, kAccess, kFolder), CopyFailure::Failed)
      << "a folder of that name is not a file in use";
  EXPECT_EQ(ClassifyCopyFailure(true, kExists, kArchive | kReadOnly), CopyFailure::Kept);
  EXPECT_EQ(ClassifyCopyFailure(true, 2, kNoAttributes), CopyFailure::Failed)
      << "a starred entry that could not be copied is not kept";
}

TEST(InstallPlan, IncompleteTextAndQuotes) {
  std::vector<std::string> failed;
  for (int i = 1; i <= 22; ++i) failed.push_back("C:\\App\\f" + std::to_string(i));
  std::string text = IncompleteText(failed);
  EXPECT_EQ(text.rfind("The installation is incomplete. These files could not be installed:\n"
                       "\nC:\\App\\f1\nC:\\App\\f2\n", 0), 0u) << text;
  EXPECT_NE(text.find("\nC:\\App\\f20\n... and 2 more"), std::string::npos) << text;
  EXPECT_EQ(text.find("f21"), std::string::npos);
  failed.resize(20);
  EXPECT_EQ(IncompleteText(failed).find("more"), std::string::npos);
  EXPECT_EQ(Quote("C:\\Program Files\\A\\_setup.exe"), "\"C:\\Program Files\\A\\_setup.exe\"");
  EXPECT_EQ(QuoteIfBlank("C:\\WINDOWS\\TEMP\\QFINST1"), "C:\\WINDOWS\\TEMP\\QFINST1");
  EXPECT_EQ(QuoteIfBlank("C:\\Setup Disk"), "\"C:\\Setup Disk\"");
}

// What the system does at its next start, read from both families' records: a
// deletion counts until a later move puts a file back under that name, in
// either spelling and any letter case.
TEST(NextStartRecord, DeletionPendingUntilSomethingLandsThere) {
  std::vector<QueuedMove> ini = WininitMoves(
      "[Other]\r\nNUL=C:\\APP\\OTHER.TXT\r\n[rename]\r\n; note\r\nNUL = C:\\APP\\README.TXT \r\n"
      "C:\\APP\\FOO.BAK=C:\\APP\\FOO.EXE\r\nC:\\APP\\FOO.EXE=C:\\APP\\FOO.MQF\r\nno equals\r\n");
  ASSERT_EQ(ini.size(), 3u);
  EXPECT_EQ(ini[0].from, "C:\\APP\\README.TXT");
  EXPECT_EQ(ini[0].to, "");
  EXPECT_EQ(ini[1].from, "C:\\APP\\FOO.EXE");
  EXPECT_EQ(ini[1].to, "C:\\APP\\FOO.BAK");
  EXPECT_TRUE(GoneAfterNextStart(ini, {"C:\\App\\Read me.txt", "c:\\app\\readme.txt"}));
  EXPECT_FALSE(GoneAfterNextStart(ini, {"C:\\APP\\FOO.EXE"})) << "replaced, not deleted";
  EXPECT_FALSE(GoneAfterNextStart(ini, {"C:\\APP\\OTHER.TXT"})) << "outside [Rename]";
  EXPECT_FALSE(GoneAfterNextStart(WininitMoves(""), {"C:\\APP\\README.TXT"}));

  using namespace std::string_literals;
  std::vector<QueuedMove> nt = DelayedMoves(
      "\\??\\C:\\App\\a.txt\0\0\\??\\C:\\App\\b.txt\0\0\\??\\C:\\App\\b.MQF\0!\\??\\C:\\App\\b.txt\0\0"s);
  ASSERT_EQ(nt.size(), 3u);
  EXPECT_EQ(nt[0].from, "C:\\App\\a.txt");
  EXPECT_EQ(nt[0].to, "");
  EXPECT_EQ(nt[2].to, "C:\\App\\b.txt");
  EXPECT_TRUE(GoneAfterNextStart(nt, {"c:\\app\\A.TXT"}));
  EXPECT_FALSE(GoneAfterNextStart(nt, {"C:\\App\\b.txt"}));
  EXPECT_FALSE(GoneAfterNextStart(nt, {"C:\\App\\c.txt"}));
  EXPECT_TRUE(DelayedMoves(""s).empty());
}
