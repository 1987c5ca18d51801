// Paths in a double-byte code page: Shift JIS "表" is 0x95 0x5C, its second
// byte a backslash; "ア" is 0x83 0x41, its second byte an 'A'.
#include "toolkit/PathText.h"

#include <gtest/gtest.h>

#include "joiner/Join.h"
#include "kerfwise/engine/SliceRules.h"

namespace {
const std::string kHyo = "\x95\x5C";  // 表
const std::string kA = "\x83\x41";    // ア

struct CodePage : ::testing::Test {
  void SetUp() override { kw::UseCodePage(932); }
  void TearDown() override { kw::UseCodePage(1252); }
};
}  // namespace

TEST_F(CodePage, PathsSplitAtRealBackslashesOnly) {
  std::string path = "C:\\data\\" + kHyo + ".txt";
  EXPECT_EQ(kw::ExtractFileName(path), kHyo + ".txt");
  EXPECT_EQ(kw::ExtractFilePath(path), "C:\\data\\");
  EXPECT_EQ(kw::ExtractFileExt(path), ".txt");
  EXPECT_EQ(kw::ChangeFileExt(path, ".sss"), "C:\\data\\" + kHyo + ".sss");
  EXPECT_EQ(kw::ExtractFileExt("C:\\" + kHyo + "\\x"), "");
  EXPECT_EQ(kw::StripBackslash("C:\\" + kHyo), "C:\\" + kHyo) << "its second byte is no folder end";
  EXPECT_EQ(kw::StripBackslash("C:\\" + kHyo + "\\"), "C:\\" + kHyo);
  EXPECT_FALSE(kw::EndsWithChar(kHyo, '\\'));
  EXPECT_EQ(kw::CutToBytes("ab" + kHyo + kHyo, 3), "ab") << "no character is cut in two";
  EXPECT_EQ(kw::FindChar(kHyo + "\\x", "\\"), 2u);
}

TEST_F(CodePage, LetterCaseLeavesSecondBytesAlone) {
  EXPECT_EQ(kw::LowerAscii("AB" + kA), "ab" + kA);
  EXPECT_FALSE(kw::SameText(kA, "\x83\x61")) << "ア and another character";
  EXPECT_TRUE(kw::SameText("C:\\" + kA + "X", "c:\\" + kA + "x"));
}

TEST_F(CodePage, SliceNamesAndJoinerKeepTheWholeName) {
  std::string source = "C:\\data\\" + kHyo + ".txt";
  EXPECT_EQ(kerfwise::SliceStem(source), kHyo + ".");
  EXPECT_EQ(kerfwise::BasePath(source, kerfwise::Destination::SlicedPath, "A:", "D:\\out"),
            "D:\\out\\" + kHyo);
  EXPECT_EQ(kerfwise::SliceStem("C:\\" + kHyo + kHyo + kHyo + kHyo), kHyo) << "three characters off";
  EXPECT_EQ(kerfwise::ShortTargetName(kHyo + kHyo + kHyo + kHyo + ".txt"), kHyo + kHyo + kHyo + ".txt");
  unkerf::SliceList list = unkerf::ParseSliceList(
      "NODEL\r\n" + kHyo + ".txt\r\n" + kHyo + ".s10\r\n", "x.sss");
  EXPECT_EQ(list.target, kHyo + ".txt");
  EXPECT_THROW(unkerf::ParseSliceList("NODEL\r\na\\b\r\na.s10\r\n", "x.sss"), unkerf::JoinError);
  EXPECT_EQ(unkerf::ListPathForProgram("C:\\" + kHyo + "s.exe"), "C:\\" + kHyo + ".sss");
}

TEST(SingleByte, SecondBytesAreCharactersOfTheirOwn) {
  kw::UseCodePage(1252);
  EXPECT_EQ(kw::ExtractFileName("C:\\data\\" + kHyo + ".txt"), ".txt");
  EXPECT_EQ(kw::LowerAscii("\xC4" "A"), "\xC4" "a");
}

TEST(PathText, DecimalAsToString) {
  EXPECT_EQ(kw::Decimal(0), "0");
  EXPECT_EQ(kw::Decimal(-7), "-7");
  EXPECT_EQ(kw::Decimal(INT32_MIN), "-2147483648");
  // A DWORD exit code such as an access violation stays unsigned.
  EXPECT_EQ(kw::Decimal(uint32_t{0xC0000005}), "3221225477");
  EXPECT_EQ(kw::Decimal(size_t{4294967295u}), "4294967295");
}
