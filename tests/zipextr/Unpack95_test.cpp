// The 32-bit UNPACK32.DLL on Windows 95, driven by the 32-bit unpackrun.exe
// (folders kept, files replaced) on the archives the in-process tests use:
// the sample package made by Info-ZIP's zip, the same damaged, hostile names,
// names outside ASCII. Results are read back here, in the 64-bit test.
#include <gtest/gtest.h>

#include "tests/kit/UiKit.h"
#include "tests/unpack/ZipBuilder.h"
#include "unpack/UnzipApi.h"

using namespace uikit;

namespace {

class Unpack95 : public ::testing::Test {
 protected:
  void SetUp() override {
    work_ = TempDir("unpack95");
    CopyFileTo(Join(Env("KW_BIN32"), "unpack\\unpackrun.exe"), Join(work_, "unpackrun.exe"));
    CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(work_, "UNPACK32.DLL"));
    sample_ = Join(BinDir(), "tests\\zipextr");
  }
  // unpackrun's exit code: the DLL's result for the whole archive.
  DWORD Unpack(const std::string& zip, const std::string& into) {
    EmptyFolder(into);
    return Process::Start("\"" + Join(work_, "unpackrun.exe") + "\" \"" + zip + "\" \"" + into + "\"", work_)
        .Wait(kExitWait * 2);
  }
  std::string work_, sample_;
};

std::string Ansi(const wchar_t* w) {
  char buf[MAX_PATH] = "";
  WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf, "_", nullptr);
  return buf;
}

const char* const kSampleFiles[] = {"readme.txt", "setup.ini", "docs\\guide.txt", "bin\\noise.bin"};

TEST_F(Unpack95, SampleDamagedHostileAndForeignNames) {
  std::string out = Join(work_, "out");
  ASSERT_EQ(Unpack(Join(sample_, "sample.zip"), out), 0u);
  for (const char* f : kSampleFiles)
    EXPECT_EQ(CompareFiles(Join(out, f), Join(sample_, std::string("zipsample\\") + f)), "") << f;

  // A flipped bit in the first entry's data: that file is not left behind.
  std::string zip = ReadFileBytes(Join(sample_, "sample.zip"));
  const size_t data = 30 + uint8_t(zip[26]) + uint8_t(zip[28]);
  zip[data + 5] ^= 0x40;
  WriteFileBytes(Join(work_, "bad.zip"), zip);
  EXPECT_EQ(Unpack(Join(work_, "bad.zip"), out), DWORD(kUzDamaged));
  EXPECT_FALSE(FileExists(Join(out, "readme.txt")));
  EXPECT_EQ(CompareFiles(Join(out, "setup.ini"), Join(sample_, "zipsample\\setup.ini")), "");

  // Names that climb out of the folder are refused; nothing lands outside.
  WriteFileBytes(Join(work_, "evil.zip"), ziptest::Build({{"..\\evil.txt", "evil"}, {"../evil2.txt", "evil"},
                                                          {"C:\\evil3.txt", "evil"}, {"ok.txt", "ok"}}));
  EXPECT_EQ(Unpack(Join(work_, "evil.zip"), out), DWORD(kUzSkipped));
  EXPECT_FALSE(FileExists(Join(work_, "evil.txt")));
  EXPECT_FALSE(FileExists(Join(work_, "evil2.txt")));
  EXPECT_FALSE(FileExists("C:\\evil3.txt"));
  EXPECT_EQ(ListFolder(out), std::vector<std::string>{"ok.txt"});

  // A UTF-8 name and a DOS code page name, both in the ANSI code page.
  ziptest::Item utf8{"\xC3\x9C" "bersicht.txt", "u"}, dos{"\x9A" "nd.txt", "d"};
  utf8.flags = 0x800;
  WriteFileBytes(Join(work_, "names.zip"), ziptest::Build({utf8, dos}));
  EXPECT_EQ(Unpack(Join(work_, "names.zip"), out), 0u);
  EXPECT_EQ(ReadFileBytes(Join(out, Ansi(L"\u00DCbersicht.txt"))), "u");
  EXPECT_EQ(ReadFileBytes(Join(out, Ansi(L"\u00DCnd.txt"))), "d");
}

}  // namespace
