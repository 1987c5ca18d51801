// The launcher's tables, short strings and command lines.
#include "setup/components/ExecfileText.h"

#include <gtest/gtest.h>

using namespace setup;

TEST(ExecfileText, Tables) {
  EXPECT_EQ(ShowWindowValue(wsNorm), 1u);
  EXPECT_EQ(ShowWindowValue(wsMinimize), 2u);
  EXPECT_EQ(ShowWindowValue(wsMaximize), 3u);
  EXPECT_EQ(ShowWindowValue(wsHide), 0u);
  EXPECT_EQ(ShowWindowValue(wsMinNoActivate), 7u);
  EXPECT_EQ(ShowWindowValue(wsShowNoActivate), 8u);
  EXPECT_EQ(PriorityFlag(pcNormal), 0x20u);
  EXPECT_EQ(PriorityFlag(pcIdle), 0x40u);
  EXPECT_EQ(PriorityFlag(pcHigh), 0x80u);
  EXPECT_EQ(PriorityFlag(pcRealTime), 0x100u);
}

TEST(ExecfileText, ShortStringsAreCutAt255) {
  InString s = std::string(300, 'x');
  EXPECT_EQ(s.size(), 255u);
  s = "short";
  EXPECT_EQ(s.str(), "short");
  InString exact = std::string(255, 'y');
  EXPECT_EQ(exact.str(), std::string(255, 'y'));
}

TEST(ExecfileText, FirstCommandLine) {
  EXPECT_EQ(FirstCommandLine("C:\\p.exe", ""), "C:\\p.exe ") << "the blank stays";
  EXPECT_EQ(FirstCommandLine("C:\\p.exe", "a b"), "C:\\p.exe a b");
  std::string line = FirstCommandLine(std::string(200, 'c'), std::string(200, 'p'));
  ASSERT_EQ(line.size(), 255u);
  EXPECT_EQ(line, std::string(200, 'c') + " " + std::string(54, 'p'));
  // 254 characters and the blank fill the string: the parameters are lost.
  EXPECT_EQ(FirstCommandLine(std::string(254, 'c'), "p"), std::string(254, 'c') + " ");
}

TEST(ExecfileText, FallbackCommandLineAndItsBuffer) {
  EXPECT_EQ(FallbackCommandLine("C:\\ed.exe", "doc.txt", ""), "C:\\ed.exe doc.txt ");
  std::string longest =
      FallbackCommandLine(std::string(259, 'e'), std::string(255, 'c'), std::string(255, 'p'));
  EXPECT_EQ(longest.size(), 771u);
  EXPECT_FALSE(FitsFallbackBuffer(longest));
  EXPECT_TRUE(FitsFallbackBuffer(std::string(511, 'x')));
  EXPECT_FALSE(FitsFallbackBuffer(std::string(512, 'x'))) << "no room for the NUL";
}
