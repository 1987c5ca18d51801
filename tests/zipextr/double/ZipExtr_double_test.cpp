// TZipExtractor against a stand-in for UNPACK32.DLL: what the request carries
// into the library, and reports the real library never sends.
#include <gtest/gtest.h>
#include <windows.h>

#include "setup/components/ZipExtr.h"
#include "tests/zipextr/double/UnzipDouble.h"

using namespace setup;

namespace {

struct Log {
  std::vector<std::string> lines;
  void Progress(TZipExtractor*, ProgressType t, const std::string& name, int32_t size) {
    lines.push_back("P" + std::to_string(t) + "[" + name + "]" + std::to_string(size));
  }
  void Message(TZipExtractor*, int32_t code, const std::string& text) {
    lines.push_back("M" + std::to_string(code) + "[" + text.c_str() + "]" + std::to_string(text.size()));
  }
};

TEST(ZipExtrDouble, RequestCarriesPropertiesNamesAndSpecs) {
  TZipExtractor z;
  z.SetZipFilename("C:\\no\\such\\package.zip");
  z.Verbose = true;
  z.ExtrOptions = {ExtrDirNames, ExtrFreshen};
  z.FSpecArgs = {"*.txt", "docs\\*"};
  z.Extract();
  const DoubleRecord& s = *DoubleSeen();
  ASSERT_EQ(s.calls, 1);
  EXPECT_EQ(s.request.Caller, &z);
  EXPECT_EQ(s.request.Version, 110);
  EXPECT_EQ(s.request.Callback, &TZipExtractor::LibraryCallback);
  EXPECT_EQ(s.request.TraceFlag, 0);
  EXPECT_EQ(s.request.VerboseFlag, 1);
  EXPECT_EQ(s.request.FreshenFlag, 1);
  EXPECT_EQ(s.request.UpdateFlag, 0);
  EXPECT_EQ(s.request.DirNamesFlag, 1);
  EXPECT_EQ(s.request.OverwriteFlag, 0);
  EXPECT_EQ(s.request.Reserved0, 0);
  EXPECT_EQ(s.request.Reserved20, 0);
  EXPECT_EQ(s.request.Reserved36, 0);
  EXPECT_EQ(s.request.Reserved40, 1);
  EXPECT_EQ(s.request.CheckWord, 7);
  EXPECT_EQ(s.request.ArgCount, 2);
  EXPECT_STREQ(s.zipName, "C:\\no\\such\\package.zip");
  EXPECT_STREQ(s.specs[0], "*.txt");
  EXPECT_STREQ(s.specs[1], "docs\\*");
  EXPECT_EQ(s.request.FileSpecs[2], nullptr);
  // Specs serve one extraction; the buffers are gone from the request.
  EXPECT_TRUE(z.FSpecArgs.empty());
  EXPECT_EQ(z.Request().ZipName, nullptr);
  EXPECT_EQ(z.Request().FileSpecs[0], nullptr);
  EXPECT_EQ(z.LastResult(), 0);
}

TEST(ZipExtrDouble, ReportsAndResultComeBack) {
  TZipExtractor z;
  Log log;
  z.OnProgress = TProgressEvent::Bind<&Log::Progress>(&log);
  z.OnMessage = TMessageEvent::Bind<&Log::Message>(&log);
  z.FSpecArgs = {"R1:0:42:a/b.txt", "R2:0:9:x", "R3:0:9:x", "R4:17:0:cannot\\r\\n", "R4:5:0:x\\n", "R9:0:0:x",
                 "=33"};
  z.Extract();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"P0[a/b.txt]42", "P1[ ]0", "P2[ ]0", "M17[cannot]8",
                                                 "M5[x]2"}));
  EXPECT_EQ(z.LastResult(), 33);
  EXPECT_EQ(DoubleSeen()->answers, 0);
}

TEST(ZipExtrDouble, CancelRequestedIsTheAnswerAndIsClearedAfter) {
  TZipExtractor z;
  Log log;
  z.OnProgress = TProgressEvent::Bind<&Log::Progress>(&log);
  z.CancelRequested = true;  // cleared when the extraction starts
  z.FSpecArgs = {"R1:0:1:a", "R1:0:1:b"};
  z.Extract();
  EXPECT_EQ(DoubleSeen()->answers, 0);
  EXPECT_FALSE(z.CancelRequested);
}

TEST(ZipExtrDouble, CurrentFolderOnlyWhenItExists) {
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  TZipExtractor z;
  z.ExtrBaseDir = "C:\\no\\such\\folder";
  z.Extract();
  char after[MAX_PATH];
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(before, after);
  GetWindowsDirectoryA(before, sizeof before);
  z.ExtrBaseDir = before;
  z.Extract();
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(before, after);
}

}  // namespace
