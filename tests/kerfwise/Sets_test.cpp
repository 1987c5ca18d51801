// Slice sets over several runs, as a user makes them: a second run into the
// same folder, and the joiner started by hand on what it finds there.
#include <gtest/gtest.h>

#include "tests/kerfwise/KerfwiseUi.h"

using namespace kwtest;

namespace {
class Sets : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    work = TempDir("kwsets");
    out = TempDir("kwsetsout");
    Put("path", work);
    Put("fdirp", "A:");
    Put("right", "true");
    Put("tdir", "true");
    Put("tdirp", out);
    Put("format", "@4096");
    Put("delfile", "true");  // stored: every later run deletes its sources too
  }
  // unkerf.exe as the user starts it, by hand or from a script with /q.
  Process StartJoiner(const std::string& args = "") {
    AsWindows9x("reports.exe");
    return Process::Start("\"" + Join(out, "reports.exe") + "\"" + args, out);
  }
  std::string work, out;
};
}  // namespace

TEST_F(Sets, ASecondRunNeverReplacesTheFirstRunsSet) {
  std::string doc = Join(work, "report.doc"), xls = Join(work, "report.xls");
  std::string docBytes = Pattern(10000, 1);
  WriteFileBytes(doc, docBytes);
  EXPECT_EQ(StartKerfwise("\"" + doc + "\"").Wait(), 0u);
  EXPECT_FALSE(FileExists(doc)) << "deleted once its set stands";
  std::string list = ReadFileBytes(Join(out, "report.sss"));

  // Another day, another file of the same base name, into the same folder.
  WriteFileBytes(xls, Pattern(9000, 2));
  Process app = StartKerfwise("\"" + xls + "\"");
  MsgBox box = WaitMsgBox(app, "", kExitWait);
  EXPECT_EQ(box.text, "The slices of " + xls + " would overwrite those of report.doc (" + Join(out, "report.sss") + ")");
  EXPECT_EQ(box.icon, Icon::Error);
  Answer(box, IDOK);
  EXPECT_EQ(app.Wait(), 0u);
  EXPECT_TRUE(ReadFileBytes(xls) == Pattern(9000, 2)) << "the refused source is kept";
  EXPECT_EQ(ReadFileBytes(Join(out, "report.sss")), list);

  // The first file is still there to be had.
  Process joiner = StartJoiner(" /q");
  EXPECT_EQ(joiner.Wait(), 0u);
  EXPECT_TRUE(ReadFileBytes(Join(out, "report.doc")) == docBytes);
}

TEST_F(Sets, TheJoinerByHandAsksBeforeReplacingAndNamesAWrongSlice) {
  std::string doc = Join(work, "report.doc"), rebuilt = Join(out, "report.doc");
  std::string bytes = Pattern(10000, 3);
  WriteFileBytes(doc, bytes);
  EXPECT_EQ(StartKerfwise("\"" + doc + "\"").Wait(), 0u);

  // A file of that name is already there: asked, No leaves it.
  WriteFileBytes(rebuilt, "the user's own");
  Process joiner = StartJoiner();
  MsgBox ask = WaitMsgBox(joiner, "Unkerf");
  EXPECT_EQ(ask.text, rebuilt + " already exists.\n\nReplace it with the file rebuilt from the slices?");
  EXPECT_EQ(ask.icon, Icon::Question);
  EXPECT_TRUE(ask.HasButton(IDYES) && ask.HasButton(IDNO));
  Answer(ask, IDNO);
  MsgBox left = WaitMsgBox(joiner, "Unkerf");
  EXPECT_EQ(left.text, rebuilt + " already exists and was left as it is.");
  Answer(left, IDOK);
  EXPECT_NE(joiner.Wait(), 0u);
  EXPECT_EQ(ReadFileBytes(rebuilt), "the user's own");
  // From a script: refused without a question.
  EXPECT_NE(StartJoiner(" /q").Wait(), 0u);
  EXPECT_EQ(ReadFileBytes(rebuilt), "the user's own");

  // Another report.s11 of the same size: named, nothing rebuilt.
  DeleteFileA(rebuilt.c_str());
  std::string written = ReadFileBytes(Join(out, "report.s11"));
  WriteFileBytes(Join(out, "report.s11"), Pattern(written.size(), 9));
  joiner = StartJoiner();
  MsgBox wrong = WaitMsgBox(joiner, "Unkerf");
  EXPECT_EQ(wrong.text.rfind(Join(out, "report.s11") + " is not the slice that was written: ", 0), 0u) << wrong.text;
  EXPECT_EQ(wrong.icon, Icon::Error);
  Answer(wrong, IDOK);
  EXPECT_NE(joiner.Wait(), 0u);
  EXPECT_FALSE(FileExists(rebuilt));
  EXPECT_EQ(ListFolder(out), (std::vector<std::string>{"report.s10", "report.s11", "report.s12", "report.ssc",
                                                       "report.sss", "reports.bat", "reports.exe"}));

  // The right slice back, and Yes over a file of that name.
  WriteFileBytes(Join(out, "report.s11"), written);
  WriteFileBytes(rebuilt, "older");
  joiner = StartJoiner();
  Answer(WaitMsgBox(joiner, "Unkerf"), IDYES);
  MsgBox done = WaitMsgBox(joiner, "Unkerf");
  EXPECT_EQ(done.text, rebuilt + " has been rebuilt from 3 slices.");
  Answer(done, IDOK);
  EXPECT_EQ(joiner.Wait(), 0u);
  EXPECT_TRUE(ReadFileBytes(rebuilt) == bytes);
}
