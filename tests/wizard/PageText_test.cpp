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
