#include "kerfwise/engine/SliceRules.h"

#include <gtest/gtest.h>

#include "kerfwise/engine/IoError.h"

using namespace kerfwise;
using Strings = std::vector<std::string>;
using Lengths = std::vector<int64_t>;

TEST(SliceSize, OfferedSizesCutAtWholeBlocks) {
  struct Row { const char* text; int64_t size, length; };
  for (Row r : {Row{"2.88", 2917120, 2916352}, {"2.00", 2016000, 2015232},
                {"1.68", 1688320, 1687552}, {"1.44", 1442560, 1441792},
                {"1.02", 1012480, 1011712}, {"1.00", 992000, 991232},
                {"0.75", 730112, 730112}, {"0.50", 480000, 479232}}) {
    SlicePlan p = ParseSliceSize(r.text);
    EXPECT_EQ(p.threshold, r.size) << r.text;
    EXPECT_EQ(p.length, r.length) << r.text;
  }
  EXPECT_EQ(ParseSliceSize(" 1.44 ").threshold, 1442560);
  EXPECT_EQ(ParseSliceSize("3").threshold, 3040000);
  EXPECT_EQ(ParseSliceSize(".5").threshold, 480000);
  EXPECT_EQ(ParseSliceSize("0.0313").threshold, 51) << "whole part of 32051.2 - 32000";
  EXPECT_EQ(ParseSliceSize("0.0313").length, 51) << "below one block: exact slices";
  EXPECT_EQ(ParseSliceSize("99999999999999999999").threshold, int64_t(1) << 62);
}

TEST(SliceSize, FloppySizesFitTheirDisks) {
  // Data bytes (clusters times cluster size) of the floppy each size names
  // (1.68: DMF); the last slice may hold up to the threshold.
  struct Row { const char* text; int64_t data; };
  for (Row r : {Row{"0.75", 713 * 1024}, {"1.44", 2847 * 512}, {"1.68", 837 * 2048},
                {"2.88", 2863 * 1024}}) {
    SlicePlan p = ParseSliceSize(r.text);
    EXPECT_LE(p.threshold, r.data) << r.text;
    EXPECT_LE(p.length, p.threshold) << r.text;
  }
  EXPECT_EQ(ParseSliceSize("0.75").length, 730112) << "fills the 720 KB disk exactly";
  EXPECT_EQ(ParseSliceSize(".750").threshold, 730112);
  EXPECT_EQ(ParseSliceSize("0.7").threshold, 684800) << "other texts keep the formula";
  EXPECT_EQ(SliceLengths(1500000, ParseSliceSize("0.75")), (Lengths{730112, 730112, 39776}));
}

TEST(SliceSize, ByteFormIsExactForAnySizeFromOneByte) {
  for (int64_t n : {int64_t(1), int64_t(7), int64_t(2047), int64_t(2048), int64_t(1000000),
                    int64_t(3000000000)}) {
    SlicePlan p = ParseSliceSize("@" + std::to_string(n));
    EXPECT_EQ(p.threshold, n);
    EXPECT_EQ(p.length, n);
  }
  EXPECT_EQ(ParseSliceSize("@1000000.9").threshold, 1000000) << "cut to whole bytes";
}

TEST(SliceSize, RefusesTextThatGivesNoSlices) {
  for (const char* t : {"", " ", "abc", "1,44", "1.44MB", "@", "@x", "1.4.4", "--1"}) {
    try {
      ParseSliceSize(t);
      ADD_FAILURE() << "accepted '" << t << "'";
    } catch (const SizeTextError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(t) + "' is not a valid slice size");
    }
  }
  for (const char* t : {"0.03125", "0", "-1", "@-5", "@0", "@0.9", "0.00"}) {
    try {
      ParseSliceSize(t);
      ADD_FAILURE() << "accepted '" << t << "'";
    } catch (const SizeTextError& e) {
      EXPECT_STREQ(e.what(), "The slice size must be at least one byte") << t;
    }
  }
}

TEST(DiskEstimate, MegabytesOfTheUsersLocale) {
  EXPECT_EQ(DiskEstimate("1.44", '.', 3000000), 2) << "3,000,000 / 1,509,949.44 = 1.98";
  EXPECT_EQ(DiskEstimate("1.44", '.', 0), 1);
  EXPECT_EQ(DiskEstimate("1.44", '.', 6000000), 4);
  EXPECT_EQ(DiskEstimate("@1000000", '.', 3000000), 0) << "the byte form never converts";
  EXPECT_EQ(DiskEstimate("1,44", ',', 3000000), 2);
  EXPECT_EQ(DiskEstimate("1.44", ',', 3000000), 0);
  EXPECT_EQ(DiskEstimate(" 1.44e0 ", '.', 3000000), 2);
  EXPECT_EQ(DiskEstimate("junk", '.', 3000000), 0);
  EXPECT_EQ(DiskEstimate("1.44", '.', int64_t(5) << 30), 3556) << "64-bit totals";
}

TEST(SliceLengths, BlockRuleAtTheEdges) {
  SlicePlan p = ParseSliceSize("1.44");
  EXPECT_EQ(SliceLengths(3000000, p), (Lengths{1441792, 1441792, 116416}));
  EXPECT_EQ(SliceLengths(1442560, p), (Lengths{1442560})) << "a short final read that fits stays";
  EXPECT_EQ(SliceLengths(1442561, p), (Lengths{1441792, 769}));
  EXPECT_EQ(SliceLengths(2 * 1441792, p), (Lengths{1441792, 1441792})) << "no empty slice at the end";
  EXPECT_EQ(SliceLengths(0, p), (Lengths{0}));
  EXPECT_EQ(SliceLengths(2500000, ParseSliceSize("@1000000")), (Lengths{1000000, 1000000, 500000}));
  EXPECT_EQ(SliceLengths(5, ParseSliceSize("@2")), (Lengths{2, 2, 1}));
  Lengths big = SliceLengths(int64_t(5) << 30, p);
  EXPECT_EQ(big.size(), 3724u);
  EXPECT_EQ(big.back(), (int64_t(5) << 30) - 3723 * int64_t(1441792));
}

TEST(SliceNames, FromTheFileNameOnly) {
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\REPORT.DOC"), 10), "REPORT.s10");
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\archive.gz"), 10), "archives10");
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\README"), 10), "REAs10") << "the last three characters go";
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\REPORT.DOC"), 99), "REPORT.s99");
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\REPORT.DOC"), 100), "REPORT.s100");
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\AB"), 10), "ABs10") << "never the folder's letters";
  EXPECT_EQ(SliceName(SliceStem("C:\\DATA\\ABC"), 11), "s11");
}

TEST(SlicePaths, FolderAndBasePerDestination) {
  const char* src = "C:\\DATA\\REPORT.DOC";
  auto cd = Destination::CurrentDirectory, fd = Destination::FloppyDisk, sp = Destination::SlicedPath;
  EXPECT_EQ(SliceFolder(src, cd, "A:", "C:\\"), "C:\\DATA\\");
  EXPECT_EQ(BasePath(src, cd, "A:", "C:\\"), "C:\\DATA\\REPORT");
  EXPECT_EQ(SliceFolder(src, fd, "A:", "C:\\"), "A:\\");
  EXPECT_EQ(BasePath(src, fd, "B:", "C:\\"), "B:\\REPORT");
  EXPECT_EQ(BasePath(src, fd, "A:\\", "C:\\"), "A:\\REPORT");
  EXPECT_EQ(SliceFolder(src, sp, "A:", "D:\\OUT"), "D:\\OUT\\");
  EXPECT_EQ(BasePath(src, sp, "A:", "C:\\My Files\\"), "C:\\My Files\\REPORT");
  EXPECT_EQ(SliceFolder(src, sp, "A:", ""), "") << "the working folder";
  EXPECT_EQ(BasePath(src, sp, "A:", ""), "REPORT");
  EXPECT_EQ(BasePath("C:\\DATA\\my.file.txt", cd, "", ""), "C:\\DATA\\my.file");
  EXPECT_EQ(BasePath("C:\\DATA.OLD\\Notes", cd, "", ""), "C:\\DATA.OLD\\Notes");
}

TEST(SliceTexts, ShortTargetName) {
  EXPECT_EQ(ShortTargetName("My Long Report.DOC"), "MyLongR.DOC");
  EXPECT_EQ(ShortTargetName("REPORT.DOC"), "REPORT.DOC");
  EXPECT_EQ(ShortTargetName("Notes"), "Notes");
  EXPECT_EQ(ShortTargetName("a b c d e f g h i"), "abcdefg");
  EXPECT_EQ(ShortTargetName("x.doc.old.doc"), "x.old.d.doc") << "the first occurrence goes";
}

TEST(SliceTexts, ListAndBatchLines) {
  Strings three{"REPORT.s10", "REPORT.s11", "REPORT.s12"};
  EXPECT_EQ(JoinCrLf(SliceListLines(false, "REPORT.DOC", three)),
            "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\nREPORT.s12\r\n");
  EXPECT_EQ(SliceListLines(true, "A B.txt", {"A Bs10"}), (Strings{"DEL", "A B.txt", "A Bs10"}));
  EXPECT_EQ(BatchLines(false, "REPORT.DOC", three),
            (Strings{"@echo off", "copy /b REPORT.s10 + REPORT.s11 + REPORT.s12 REPORT.DOC"}));
  EXPECT_EQ(BatchLines(false, "NAME", {"NAMs10"}), (Strings{"@echo off", "copy /b NAMs10 NAME"}));
}

namespace {
// The slices each copy line joins, in order; a step that starts with the
// target appends to what the steps before joined.
Strings JoinedByCopyLines(const Strings& lines, const std::string& target) {
  Strings joined;
  for (const std::string& l : lines) {
    if (l.rfind("copy /b ", 0) != 0) continue;
    std::string rest = l.substr(8);
    EXPECT_EQ(rest.substr(rest.rfind(' ') + 1), target) << l;
    rest.resize(rest.rfind(' '));
    Strings parts;
    for (size_t at = 0;;) {
      size_t plus = rest.find(" + ", at);
      parts.push_back(rest.substr(at, plus - at));
      if (plus == std::string::npos) break;
      at = plus + 3;
    }
    EXPECT_EQ(parts[0] == target, !joined.empty()) << "only later steps append: " << l;
    joined.insert(joined.end(), parts.begin() + (parts[0] == target), parts.end());
  }
  return joined;
}

size_t IndexOf(const Strings& lines, const std::string& line) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == line) return i;
  return lines.size();
}
}  // namespace

TEST(JoinBatch, LongSetsJoinInStepsOfDosLines) {
  // 1 GiB at "1.44": 745 slices.
  Strings slices;
  for (int n = 10; n < 10 + 745; ++n) slices.push_back(SliceName("BIGFILE.", n));
  for (bool del : {false, true}) {
    Strings lines = BatchLines(del, "BIGFILE.ISO", slices);
    ASSERT_FALSE(lines.empty());
    for (const std::string& l : lines) EXPECT_LE(l.size(), 127u) << l;
    EXPECT_EQ(JoinedByCopyLines(lines, "BIGFILE.ISO"), slices);
    size_t firstCopy = IndexOf(lines, lines[IndexOf(lines, "if not exist BIGFILE.s754 goto missing") + 1]);
    EXPECT_EQ(lines[firstCopy].rfind("copy /b BIGFILE.s10 + ", 0), 0u) << "every check before the join";
    EXPECT_LT(IndexOf(lines, "if exist BIGFILE.ISO goto there"), firstCopy);
    size_t check = IndexOf(lines, "if not exist BIGFILE.ISO goto failed");
    ASSERT_LT(check, lines.size());
    EXPECT_EQ(IndexOf(lines, "DEL BIGFILE.s10"), del ? check + 1 : lines.size());
    EXPECT_EQ(IndexOf(lines, "DEL BIGFILE.s754"), del ? check + 745 : lines.size());
  }
}

TEST(JoinBatch, SafeSetsKeepTheirTwoLines) {
  Strings three{"REPORT.s10", "REPORT.s11", "REPORT.s12"};
  EXPECT_EQ(BatchLines(false, "REPORT.DOC", three),
            (Strings{"@echo off", "copy /b REPORT.s10 + REPORT.s11 + REPORT.s12 REPORT.DOC"}));
  EXPECT_EQ(BatchLines(false, "NAME", {"NAMs10"}), (Strings{"@echo off", "copy /b NAMs10 NAME"}));
  // A copy line of 127 characters exactly is still one line; one more slice
  // makes it too long for COMMAND.COM.
  Strings seven;
  for (int n = 10; n < 17; ++n) seven.push_back(SliceName("ABCDEFGH.", n));
  Strings lines = BatchLines(false, "ABCDEFGHIJKL.ZIP", seven);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].size(), 127u);
  seven.push_back("ABCDEFGH.s17");
  EXPECT_GT(BatchLines(false, "ABCDEFGHIJKL.ZIP", seven).size(), 2u);
}

TEST(JoinBatch, DeletingSetsCheckBeforeTheyDelete) {
  Strings lines = BatchLines(true, "R.DOC", {"R.s10", "R.s11"});
  EXPECT_EQ(JoinedByCopyLines(lines, "R.DOC"), (Strings{"R.s10", "R.s11"}));
  EXPECT_LT(IndexOf(lines, "if not exist R.s11 goto missing"), IndexOf(lines, "copy /b R.s10 + R.s11 R.DOC"));
  EXPECT_EQ(IndexOf(lines, "DEL R.s10"), IndexOf(lines, "if not exist R.DOC goto failed") + 1);
  EXPECT_EQ(lines[IndexOf(lines, "copy /b R.s10 + R.s11 R.DOC") + 1], "if errorlevel 1 goto failed")
      << "a copy that failed on cmd.exe";
  for (const char* label : {":there", ":missing", ":failed", ":end"})
    EXPECT_LT(IndexOf(lines, label), lines.size()) << label;
}

TEST(JoinBatch, NamesTooLongForADosLineGiveNoBatchFile) {
  std::string stem(60, 'x');
  Strings lines = BatchLines(false, "y.bin", {stem + "s10", stem + "s11"});
  EXPECT_EQ(JoinedByCopyLines(lines, "y.bin"), (Strings{stem + "s10", stem + "s11"})) << "one a step";
  stem.resize(115);
  EXPECT_TRUE(BatchLines(false, "y.bin", {stem + "s10", stem + "s11"}).empty());
  EXPECT_TRUE(BatchLines(true, std::string(130, 'z'), {"Zs10"}).empty());
}

TEST(IoMessages, RunTimeNumbers) {
  EXPECT_EQ(IoMessage(2), "File not found");
  EXPECT_EQ(IoMessage(3), "Invalid filename");
  EXPECT_EQ(IoMessage(4), "Too many open files");
  EXPECT_EQ(IoMessage(5), "File access denied");
  EXPECT_EQ(IoMessage(100), "Read beyond end of file");
  EXPECT_EQ(IoMessage(101), "Disk full");
  EXPECT_EQ(IoMessage(150), "Disk is write-protected") << "not \"I/O error 19\"";
  EXPECT_EQ(IoMessage(21), "I/O error 21");
}
