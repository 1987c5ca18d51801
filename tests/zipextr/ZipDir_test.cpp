// TZipExtractor without the library: the directory walk, the request's words
// and the callback's handling of reports.
#include "toolkit/Error.h"
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "setup/components/ZipExtr.h"
#include "tests/unpack/ZipBuilder.h"

using namespace setup;

namespace {

std::vector<ZipDirEntry> Walk(const std::string& zip, std::string* error = nullptr) {
  std::vector<ZipDirEntry> e;
  ZipMemoryStream s(zip.data(), zip.size());
  try {
    WalkZipDirectory(s, e);
    if (error) error->clear();
  } catch (const EStreamError& x) {
    if (!error) throw;
    *error = x.what();
  }
  return e;
}

std::string Walked(const std::string& zip) {
  std::string err;
  Walk(zip, &err);
  return err;
}

TEST(ZipWalk, ListsLocalHeadersInArchiveOrder) {
  ziptest::Item b{"sub/b.bin", std::string(5000, 'b'), false};
  const auto e = Walk(ziptest::Build({{"a.txt", "alpha alpha alpha"}, b, {"sub/", ""}}));
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].FileName, "a.txt");
  EXPECT_EQ(+e[0].CompressionMethod, 8);
  EXPECT_EQ(+e[0].UncompressedSize, 17u);
  EXPECT_EQ(e[1].FileName, "sub/b.bin");
  EXPECT_EQ(+e[1].CompressedSize, 5000);
  EXPECT_EQ(+e[1].FileNameLength, 9);
  EXPECT_EQ(+e[1].LastModDate, 0x5A21);
  EXPECT_EQ(e[2].FileName, "sub/");
  EXPECT_TRUE(Walk(ziptest::Build({})).empty());  // the end record alone
}

TEST(ZipWalk, FiveErrors) {
  const std::string zip = ziptest::Build({{"a", "aaaa", false}, {"b", "bbbb", false}});
  EXPECT_EQ(Walked(""), "Error 1 reading Zip File");
  EXPECT_EQ(Walked(zip.substr(0, 20)), "Error 2 reading Zip file");  // header cut
  EXPECT_EQ(Walked(zip.substr(0, 30)), "Error 2 reading Zip file");  // name cut
  // No end record: the last data reaches into the final 22 bytes.
  std::string err;
  const auto e = Walk(zip.substr(0, 35 + 35 + 10), &err);
  EXPECT_EQ(err, "Error 3 reading Zip file");
  EXPECT_EQ(e.size(), 2u);  // the entry that failed the test stays
  // Not a ZIP file: walked in 4-byte steps to its end.
  EXPECT_EQ(Walked(std::string(4001, 'x')), "Error 1 reading Zip File");
  // An entry with its sizes in a data descriptor is walked over in steps.
  EXPECT_EQ(Walk(ziptest::Build({{"d", std::string(64, 'd'), false, true}, {"e", "e", false}})).size(), 2u);
}

TEST(ZipWalk, HostileHeadersCannotTurnTheWalkBack) {
  // A compressed size with the top bit set was a negative step backwards.
  ziptest::Item neg{"n", "data", false};
  neg.csize = 0xFFFFFFFC;
  EXPECT_EQ(Walked(ziptest::Build({neg})), "Error 3 reading Zip file");
  neg.csize = 0x80000000;
  EXPECT_EQ(Walked(ziptest::Build({neg})), "Error 3 reading Zip file");
  // A name longer than the 256-byte buffer keeps its first 256 characters and
  // the walk goes on after it.
  const std::string longName(300, 'L');
  const auto e = Walk(ziptest::Build({{longName + "x", "1", false}, {"next", "2", false}}));
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[0].FileName, longName.substr(0, 256));
  EXPECT_EQ(+e[0].FileNameLength, 301);
  EXPECT_EQ(e[1].FileName, "next");
  // A NUL in a name ends it.
  EXPECT_EQ(Walk(ziptest::Build({{std::string("ab\0cd", 5), "x", false}}))[0].FileName, "ab");
}

class ZipComponent : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = (std::filesystem::temp_directory_path() / (std::string("zipextr_") + info->name())).string();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    z.OnDirUpdate = TNotifyEvent::Bind<&ZipComponent::DirUpdate>(this);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string File(const std::string& name, const std::string& data) {
    const std::string p = dir_ + "/" + name;
    std::ofstream(p, std::ios::binary) << data;
    return p;
  }
  void DirUpdate(TZipExtractor* Sender) {
    EXPECT_EQ(Sender, &z);
    ++updates_;
  }
  std::string dir_;
  TZipExtractor z;
  int updates_ = 0;
};

TEST_F(ZipComponent, SettingTheNameReadsTheDirectory) {
  EXPECT_EQ(z.Count(), 0);
  EXPECT_EQ(z.AddCompLevel, 9);
  EXPECT_EQ(z.LastResult(), 0);
  const std::string a = File("a.zip", ziptest::Build({{"1", "one"}, {"2", "two"}}));
  z.SetZipFilename(a);
  z.SetZipFilename(a);  // read again, not doubled
  EXPECT_EQ(z.Count(), 2);
  EXPECT_EQ(updates_, 2);
  z.SetZipFilename(File("empty.zip", ziptest::Build({})));
  EXPECT_EQ(z.Count(), 0);
  EXPECT_EQ(updates_, 3);
  z.SetZipFilename(dir_ + "/missing.zip");  // no error, no event
  EXPECT_EQ(z.Count(), 0);
  EXPECT_EQ(updates_, 3);
  z.SetZipFilename(dir_);  // a folder is not a file either
  EXPECT_EQ(updates_, 3);
  z.Designing = true;
  z.SetZipFilename(a);
  EXPECT_EQ(z.Count(), 0);
}

TEST_F(ZipComponent, ErrorsReachTheSetterAndKeepWhatWasRead) {
  const std::string zip = ziptest::Build({{"a", "aaaa", false}, {"b", "bbbb", false}});
  try {
    z.SetZipFilename(File("cut.zip", zip.substr(0, 80)));
    FAIL();
  } catch (const EStreamError& e) {
    EXPECT_STREQ(e.what(), "Error 3 reading Zip file");
  }
  EXPECT_EQ(z.Count(), 2);
  EXPECT_EQ(updates_, 0);
  z.ClearDirectory();
  EXPECT_EQ(z.Count(), 0);
}

TEST(ZipRequest, WordsFollowTheProperties) {
  TZipExtractor z;
  z.Trace = true;
  z.ExtrOptions = {ExtrFreshen, ExtrUpdate, ExtrOverWrite};
  z.FillRequest();
  const UnzipRequest& q = z.Request();
  EXPECT_EQ(q.Caller, &z);
  EXPECT_EQ(q.Version, 110);
  EXPECT_EQ(q.Callback, &TZipExtractor::LibraryCallback);
  EXPECT_EQ(q.TraceFlag, 1);
  EXPECT_EQ(q.VerboseFlag, 1);
  EXPECT_EQ(q.UpdateFlag, 1);
  EXPECT_EQ(q.FreshenFlag, 0);
  EXPECT_EQ(q.DirNamesFlag, 0);
  EXPECT_EQ(q.OverwriteFlag, 1);
  EXPECT_EQ(q.Reserved40, 1);
  EXPECT_EQ(q.CheckWord, 7);
  z.Trace = false;
  z.ExtrOptions = {ExtrFreshen, ExtrDirNames};
  z.FillRequest();
  EXPECT_EQ(q.TraceFlag, 0);
  EXPECT_EQ(q.VerboseFlag, 0);
  EXPECT_EQ(q.FreshenFlag, 1);
  EXPECT_EQ(q.DirNamesFlag, 1);
  EXPECT_EQ(q.UpdateFlag, 0);
}

struct Listener {
  std::vector<std::string> log;
  bool fail = false;
  void Progress(TZipExtractor*, ProgressType t, const std::string& name, int32_t size) {
    if (fail) throw kw::Error("handler failed");
    log.push_back("P" + std::to_string(t) + ":" + name + ":" + std::to_string(size));
  }
  void Message(TZipExtractor*, int32_t code, const std::string& text) {
    log.push_back("M" + std::to_string(code) + ":" + std::string(text.size(), '.') + text.c_str());
  }
};

TEST(ZipCallback, ReportsBecomeEvents) {
  TZipExtractor z;
  Listener l;
  z.OnProgress = TProgressEvent::Bind<&Listener::Progress>(&l);
  z.OnMessage = TMessageEvent::Bind<&Listener::Message>(&l);
  auto send = [&](int32_t action, int32_t code, int32_t size, const char* text) {
    UnzipReport r{};
    r.Caller = &z;
    r.Action = action;
    r.ErrCode = code;
    r.FileSize = size;
    std::strcpy(r.Text, text);
    return TZipExtractor::LibraryCallback(&r);
  };
  EXPECT_EQ(send(1, 0, 1234, "dir/a.txt"), 0);
  send(2, 0, 5, "x");
  send(3, 0, 5, "x");
  send(7, 0, 5, "x");
  send(4, 3, 0, "bad\r\n");  // both become NUL, the length stays
  send(4, 5, 0, "a\n");
  send(4, 6, 0, "\n\n");
  send(4, 7, 0, "");
  EXPECT_EQ(l.log, (std::vector<std::string>{"P0:dir/a.txt:1234", "P1: :0", "P2: :0", "M3:.....bad", "M5:..a",
                                             "M6:..", "M7:"}));
  z.CancelRequested = true;
  EXPECT_EQ(send(1, 0, 0, "b"), 1);
  z.CancelRequested = false;
  l.fail = true;  // a failing handler stops the library; Extract shows the error
  EXPECT_EQ(send(1, 0, 0, "c"), 1);
}

}  // namespace
