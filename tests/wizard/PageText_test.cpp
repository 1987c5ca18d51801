// The running-program check's reading of :NOTRUNNING.
#include "setup/wizard/PageText.h"

#include <gtest/gtest.h>

using namespace setup;

namespace {
std::optional<WindowName> Look(std::vector<std::string> lines) {
  return NotRunningWindow(LineList(std::move(lines)));
}
}  // namespace

TEST(NotRunning, SplitsAtTheFirstCommaOnly) {
  auto w = Look({"\\A", "A", "App", ":notrunning", "KwClass,Kerf, the tool", ":"});
  ASSERT_TRUE(w);
  EXPECT_EQ(w->cls, "KwClass");
  EXPECT_EQ(w->title, "Kerf, the tool");
  w = Look({":NOTRUNNING", ",Title only"});
  ASSERT_TRUE(w);
  EXPECT_EQ(w->cls, "");
  EXPECT_EQ(w->title, "Title only");
  w = Look({":NOTRUNNING", "ClassOnly,"});
  ASSERT_TRUE(w);
  EXPECT_EQ(w->cls, "ClassOnly");
  EXPECT_EQ(w->title, "");
}

TEST(NotRunning, WithoutCommaTheWholeLineIsTheTitle) {
  auto w = Look({":NOTRUNNING", "Kerf Demo"});
  ASSERT_TRUE(w);
  EXPECT_EQ(w->cls, "");
  EXPECT_EQ(w->title, "Kerf Demo");
}

TEST(NotRunning, AbsentEmptyOrCutShort) {
  EXPECT_FALSE(Look({"\\A", "A", "App", ":INSTALL", ":"}));
  EXPECT_FALSE(Look({":NOTRUNNING", "", "Kerf,Demo"}));
  // Only the first keyword line counts; a trailing blank is another line.
  EXPECT_FALSE(Look({":NOTRUNNING ", "Kerf,Demo"}));
  EXPECT_THROW(Look({"\\A", ":NOTRUNNING"}), ListIndexError);
}

TEST(NotRunning, WarningNamesTheProgramAndTwoInstructionLines) {
  std::string w = RunningWarning("Kerf Demo");
  EXPECT_EQ(w.rfind("You must close Kerf Demo before setup may continue.\r", 0), 0u);
  EXPECT_EQ(std::count(w.begin(), w.end(), '\r'), 2);
  EXPECT_EQ(w.find('\n'), std::string::npos);
}

// Accepted folders come back as the system reads them; every refused one says
// why, quoting what was typed.
TEST(Destination, OnlyFullPathsWithAFolderName) {
  struct Case {
    std::string typed, stored, reason;
  } cases[] = {
      {"C:\\Program Files\\My App", "C:\\Program Files\\My App", ""},
      {"d:/Tools/App/", "d:\\Tools\\App", ""},
      {"C:\\App\\\\", "C:\\App", ""},
      {"", "", "Please type the folder"},
      {"MyApp", "MyApp", "\"MyApp\" is not a full path."},
      {"\\App", "\\App", "is not a full path."},
      {"C:App", "C:App", "is not a full path."},
      {"\\\\server\\share\\App", "\\\\server\\share\\App", "is not a full path."},
      {"1:\\App", "1:\\App", "is not a full path."},
      {"C:\\", "C:\\", "\"C:\\\" is the root of a drive."},
      {"C:/", "C:\\", "is the root of a drive."},
      {"C:\\WINDOWS.", "C:\\WINDOWS.", "ends in a dot or blank"},
      {"C:\\App \\Sub", "C:\\App \\Sub", "ends in a dot or blank"},
      {"C:\\App\\..\\Other", "C:\\App\\..\\Other", "ends in a dot or blank"},
      {"C:\\A\\\\B", "C:\\A\\\\B", "empty"},
      {"C:\\App?", "C:\\App?", "holds a character"},
      {"C:\\A:B", "C:\\A:B", "holds a character"},
      {"C:\\A\tB", "C:\\A\tB", "holds a character"},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.typed);
    std::string folder = c.typed;
    std::string problem = DestinationProblem(folder);
    EXPECT_EQ(folder, c.stored);
    if (c.reason.empty()) {
      EXPECT_EQ(problem, "");
    } else {
      EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
      EXPECT_NE(problem.find("such as C:\\Program Files\\My Program."), std::string::npos);
    }
  }
}
