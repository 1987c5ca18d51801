#include "joiner/Join.h"

#include <gtest/gtest.h>

#include "kerfwise/engine/CheckFile.h"
#include "kerfwise/engine/Crc32.h"
#include "kerfwise/engine/IoError.h"
#include "tests/slicing/SliceTestKit.h"

using slicetest::Exists;
using slicetest::Get;
using slicetest::Pattern;
using slicetest::Put;
using unkerf::JoinError;
using Strings = std::vector<std::string>;

TEST(SliceListFile, ParsesAndRefusesDamage) {
  unkerf::SliceList l = unkerf::ParseSliceList("DEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\n\r\n", "x");
  EXPECT_TRUE(l.deleteSlices);
  EXPECT_EQ(l.target, "REPORT.DOC");
  EXPECT_EQ(l.slices, (Strings{"REPORT.s10", "REPORT.s11"}));
  EXPECT_FALSE(unkerf::ParseSliceList("NODEL\nA B.txt\nA Bs10", "x").deleteSlices);
  for (const char* bad : {"", "NODEL\r\nREPORT.DOC\r\n", "KEEP\r\nR\r\nRs10\r\n", "NODEL\r\n\r\nRs10\r\n",
                          "NODEL\r\nR\r\n\r\nRs11\r\n", "NODEL\r\n..\\R\r\nRs10\r\n", "NODEL\r\nR\r\nC:\\W\\x\r\n",
                          "NODEL\r\nR\r\n..\r\n", "NODEL\r\nR\r\nsub/x\r\n"}) {
    try {
      unkerf::ParseSliceList(bad, "C:\\R.sss");
      ADD_FAILURE() << "took " << bad;
    } catch (const JoinError& e) {
      EXPECT_STREQ(e.what(), "C:\\R.sss is not a valid slice list");
    }
  }
}

TEST(SliceListFile, BesideTheJoinerCopy) {
  EXPECT_EQ(unkerf::ListPathForProgram("C:\\DATA\\REPORTs.exe"), "C:\\DATA\\REPORT.sss");
  EXPECT_EQ(unkerf::ListPathForProgram("C:\\DATA\\REPORTS.EXE"), "C:\\DATA\\REPORT.sss");
  EXPECT_EQ(unkerf::ListPathForProgram("C:\\My Data\\a.bs.exe"), "C:\\My Data\\a.b.sss");
  EXPECT_EQ(unkerf::ListPathForProgram("C:\\unkerf.exe"), "C:\\unkerf.sss");
}

TEST(CommandLine, QuietSwitchAndPath) {
  unkerf::Options o = unkerf::ParseCommandLine("");
  EXPECT_FALSE(o.quiet);
  EXPECT_EQ(o.listPath, "");
  o = unkerf::ParseCommandLine(" /q \"C:\\My Files\\R.sss\" ");
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.listPath, "C:\\My Files\\R.sss");
  o = unkerf::ParseCommandLine("-Q C:\\My Files\\R.sss");
  EXPECT_TRUE(o.quiet);
  EXPECT_EQ(o.listPath, "C:\\My Files\\R.sss");
  EXPECT_FALSE(unkerf::ParseCommandLine("/quick.sss").quiet);
}

namespace {
class Join : public ::testing::Test {
 protected:
  void SetUp() override { dir = slicetest::ScratchFolder(); }
  // Slices of lengths from one pattern, and their list.
  std::string Set(const std::vector<size_t>& lengths, bool del = false) {
    whole.clear();
    std::string list = std::string(del ? "DEL" : "NODEL") + "\r\nR.DOC\r\n";
    for (size_t i = 0; i < lengths.size(); ++i) {
      std::string part = Pattern(lengths[i], unsigned(i + 7));
      std::string name = "R.s" + std::to_string(10 + i);
      Put(dir + name, part);
      whole += part;
      list += name + "\r\n";
    }
    Put(dir + "R.sss", list);
    slicetest::SystemDelete(dir + "R.ssc");
    return dir + "R.sss";
  }
  // The check values the splitter writes, of the slices as they are now.
  void Check(size_t count) {
    kerfwise::CheckValues v;
    v.whole = {kerfwise::Crc32(0, whole.data(), whole.size()), int64_t(whole.size()), "R.DOC"};
    for (size_t i = 0; i < count; ++i) {
      std::string name = "R.s" + std::to_string(10 + i), bytes = Get(dir + name);
      v.slices.push_back({kerfwise::Crc32(0, bytes.data(), bytes.size()), int64_t(bytes.size()), name});
    }
    Put(dir + "R.ssc", kerfwise::CheckFileText(v));
  }
  std::string Fails(const std::string& list, kerfwise::Platform& fs = kerfwise::SystemPlatform()) {
    try {
      unkerf::JoinSlices(list, fs);
    } catch (const JoinError& e) {
      EXPECT_FALSE(Exists(dir + "R.DOC"));
      EXPECT_FALSE(Exists(dir + "R.DOC.$$$"));
      EXPECT_TRUE(Exists(dir + "R.s10")) << "nothing deleted";
      return e.what();
    }
    ADD_FAILURE() << "joined";
    return {};
  }
  std::string dir;
  std::string whole;
};

struct FullDisk : slicetest::Platform {
  struct W : kerfwise::WriteFile {
    void Write(const void*, size_t) override { throw kerfwise::IoError(kerfwise::kDiskFull); }
  };
  std::unique_ptr<kerfwise::WriteFile> Create(const std::string& p) override {
    base.Create(p);
    return std::make_unique<W>();
  }
};
}  // namespace

std::string g_asked;
bool Yes(const std::string& q) { g_asked = q; return true; }
bool No(const std::string& q) { g_asked = q; return false; }

TEST_F(Join, RebuildsReplacesAndDeletesOnRequest) {
  std::string list = Set({4096, 4096, 100}, true);
  Put(dir + "R.DOC", "old");
  EXPECT_EQ(unkerf::JoinSlices(list, kerfwise::SystemPlatform(), Yes), dir + "R.DOC has been rebuilt from 3 slices.");
  EXPECT_EQ(Get(dir + "R.DOC"), whole);
  EXPECT_FALSE(Exists(dir + "R.s10"));
  EXPECT_FALSE(Exists(dir + "R.s12"));
  EXPECT_FALSE(Exists(dir + "R.DOC.$$$"));

  list = Set({0});
  slicetest::SystemDelete(dir + "R.DOC");
  EXPECT_EQ(unkerf::JoinSlices(list, kerfwise::SystemPlatform()), dir + "R.DOC has been rebuilt from 1 slice.");
  EXPECT_EQ(Get(dir + "R.DOC"), "");
  EXPECT_TRUE(Exists(dir + "R.s10"));
}

TEST_F(Join, MissingOrShortSlicesAreNamed) {
  std::string list = Set({4096, 4096, 100});
  Put(dir + "R.s11", Pattern(4000));
  EXPECT_EQ(Fails(list), "Slice " + dir + "R.s11 is incomplete");
  Set({4096, 4096, 100});
  Put(dir + "R.s10", Pattern(10));
  EXPECT_EQ(Fails(list), "Slice " + dir + "R.s10 is incomplete");
  Set({3000, 6000});
  EXPECT_EQ(Fails(list), "Slice " + dir + "R.s10 is incomplete") << "the last can pass the others by less than a block";
  Set({4096, 4096, 100});
  slicetest::SystemDelete(dir + "R.s12");
  EXPECT_EQ(Fails(list), "Cannot read slice " + dir + "R.s12: File not found");
  EXPECT_EQ(Fails(dir + "none.sss"), "Cannot read slice list " + dir + "none.sss: File not found");
  Put(dir + "bad.sss", "NODEL\r\nR.DOC\r\n");
  EXPECT_EQ(Fails(dir + "bad.sss"), dir + "bad.sss is not a valid slice list");
}

TEST_F(Join, FullDiskLeavesNoHalfFile) {
  std::string list = Set({4096, 10}, true);
  FullDisk disk;
  EXPECT_EQ(Fails(list, disk), "Cannot rebuild " + dir + "R.DOC: Disk full");
  EXPECT_TRUE(Exists(dir + "R.s11"));
}

TEST_F(Join, OutcomeOfTheProgram) {
  std::string list = Set({2048, 5});
  unkerf::Outcome r = unkerf::RunJoiner({true, ""}, dir + "Rs.exe", kerfwise::SystemPlatform());
  EXPECT_TRUE(r.ok) << r.text;
  EXPECT_EQ(Get(dir + "R.DOC"), whole);
  r = unkerf::RunJoiner({true, dir + "other.sss"}, dir + "Rs.exe", kerfwise::SystemPlatform());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "Cannot read slice list " + dir + "other.sss: File not found");
}

TEST_F(Join, AFileOfTheTargetsNameIsReplacedOnlyOnYes) {
  std::string list = Set({4096, 10}, true);
  Put(dir + "R.DOC", "mine");
  for (unkerf::ReplaceQuestion ask : {unkerf::ReplaceQuestion(nullptr), unkerf::ReplaceQuestion(No)}) {
    try {
      unkerf::JoinSlices(list, kerfwise::SystemPlatform(), ask);
      ADD_FAILURE() << "replaced";
    } catch (const JoinError& e) {
      EXPECT_EQ(std::string(e.what()), dir + "R.DOC already exists and was left as it is.");
    }
    EXPECT_EQ(Get(dir + "R.DOC"), "mine");
    EXPECT_TRUE(Exists(dir + "R.s10")) << "nothing deleted";
  }
  EXPECT_EQ(g_asked, dir + "R.DOC already exists.\n\nReplace it with the file rebuilt from the slices?");
  // /q never asks: a script gets a failure and the file stays.
  unkerf::Outcome r = unkerf::RunJoiner({true, list}, dir + "Rs.exe", kerfwise::SystemPlatform(), Yes);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(Get(dir + "R.DOC"), "mine");
  r = unkerf::RunJoiner({false, list}, dir + "Rs.exe", kerfwise::SystemPlatform(), Yes);
  EXPECT_TRUE(r.ok) << r.text;
  EXPECT_EQ(Get(dir + "R.DOC"), whole);
  EXPECT_FALSE(Exists(dir + "R.DOC.$$~"));
}

namespace {
// A disk that takes every byte and then cannot say they are stored.
struct FailingClose : slicetest::Platform {
  struct W : kerfwise::WriteFile {
    std::unique_ptr<kerfwise::WriteFile> real;
    void Write(const void* b, size_t n) override { real->Write(b, n); }
    void Close() override {
      real->Close();
      throw kerfwise::IoError(kerfwise::kDiskFull);
    }
  };
  std::unique_ptr<kerfwise::WriteFile> Create(const std::string& p) override {
    auto w = std::make_unique<W>();
    w->real = base.Create(p);
    return w;
  }
};
}  // namespace

TEST_F(Join, AFailedCloseLosesNoSlice) {
  std::string list = Set({4096, 10}, true);
  FailingClose disk;
  EXPECT_EQ(Fails(list, disk), "Cannot rebuild " + dir + "R.DOC: Disk full");
  EXPECT_TRUE(Exists(dir + "R.s11"));
}

TEST_F(Join, EverySliceIsCheckedAgainstTheSetsCheckValues) {
  std::string list = Set({4096, 4096, 100}, true);
  Check(3);
  Put(dir + "R.DOC", "mine");
  EXPECT_EQ(unkerf::JoinSlices(list, kerfwise::SystemPlatform(), Yes), dir + "R.DOC has been rebuilt from 3 slices.");
  EXPECT_EQ(Get(dir + "R.DOC"), whole) << "an intact set, byte for byte";
  EXPECT_FALSE(Exists(dir + "R.s10"));

  // Another R.s11 of the same size (another set's, an old copy): named, and
  // an existing file of the target's name is never touched by the failure.
  list = Set({4096, 4096, 100});
  Check(3);
  std::string written = Get(dir + "R.s11");
  Put(dir + "R.s11", Pattern(4096, 99));
  Put(dir + "R.DOC", "mine");
  uint32_t now = kerfwise::Crc32(0, Get(dir + "R.s11").data(), 4096);
  uint32_t then = kerfwise::Crc32(0, written.data(), 4096);
  std::string text;
  try {
    unkerf::JoinSlices(list, kerfwise::SystemPlatform(), Yes);
  } catch (const JoinError& e) {
    text = e.what();
  }
  EXPECT_EQ(text, dir + "R.s11 is not the slice that was written: its check value is " + kerfwise::CrcText(now) +
                      ", the slice written had " + kerfwise::CrcText(then) + ".");
  EXPECT_EQ(Get(dir + "R.DOC"), "mine");
  EXPECT_FALSE(Exists(dir + "R.DOC.$$$"));
  slicetest::SystemDelete(dir + "R.DOC");

  // A slice of another length is told before anything is written.
  Put(dir + "R.s11", written);
  Put(dir + "R.s12", Pattern(99));
  EXPECT_EQ(Fails(list), dir + "R.s12 is not the slice that was written: it holds 99 bytes, the slice written 100.");

  // Check values that are damaged, or of another list, are not passed over.
  Set({4096, 100});
  Put(dir + "R.ssc", "CRC32\r\n1A2B");
  EXPECT_EQ(Fails(list), dir + "R.ssc is not a valid check file");
  Check(1);
  EXPECT_EQ(Fails(list), dir + "R.ssc does not hold the check values of " + list);

  // A set without them (an older splitter's, or made by hand) joins as before.
  Set({4096, 100});
  EXPECT_EQ(unkerf::JoinSlices(list, kerfwise::SystemPlatform()), dir + "R.DOC has been rebuilt from 2 slices.");
  EXPECT_EQ(Get(dir + "R.DOC"), whole);
}

// "0.75" cut 735,232-byte slices (the last up to 736,000) and now fills a
// 720 KB floppy with 730,112: sets of either kind join.
TEST_F(Join, SetsCutAt075BeforeAndNowBothJoin) {
  for (const std::vector<size_t>& lengths : {std::vector<size_t>{735232, 735232, 736000},
                                             std::vector<size_t>{730112, 730112, 730112}}) {
    std::string list = Set(lengths);
    unkerf::JoinSlices(list, kerfwise::SystemPlatform());
    EXPECT_EQ(Get(dir + "R.DOC"), whole) << lengths[0];
    slicetest::SystemDelete(dir + "R.DOC");
  }
}
