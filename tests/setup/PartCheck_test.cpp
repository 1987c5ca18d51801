// setup.lst's part records: the lines mksetup writes and the installer reads,
// a list without them, and what an installer that knows only :EXTRA and
// :PACKAGE makes of a list with them; the CRC and the room arithmetic.
#include "setup/wizard/PartCheck.h"

#include <gtest/gtest.h>

using namespace setup;

namespace {

LineList List(std::string_view text) {
  LineList l;
  l.LoadText(text);
  return l;
}

const char kWithRecords[] =
    ":EXTRA\r\nextra.txt\r\n:\r\n:PACKAGE\r\npackage.1\r\npackage.2\r\n:\r\n"
    ":PARTS\r\npackage.1 1457664 0A1B2C3D\r\npackage.2 388608 ffffffff\r\n:\r\n";

}  // namespace

TEST(PartRecords, LinesWrittenAreReadBack) {
  for (const PartRecord& r : {PartRecord{"package.1", 1457664, 0x0A1B2C3Du}, PartRecord{"p", 0, 0},
                              PartRecord{"my disk  1.x", 18446744073709551615u, 0xFFFFFFFFu}}) {
    PartRecord back;
    ASSERT_TRUE(ParsePartRecord(FormatPartRecord(r), &back)) << FormatPartRecord(r);
    EXPECT_EQ(back, r);
  }
  EXPECT_EQ(FormatPartRecord({"package.3", 388608, 0xC0FFEEu}), "package.3 388608 00C0FFEE");
}

TEST(PartRecords, MalformedLinesAreNoRecords) {
  PartRecord r{"kept", 1, 2};
  for (const char* line : {"", "package.1", "package.1 12", " 12 0A1B2C3D", "package.1 12 0A1B2C3", "package.1 12 0A1B2C3DE",
                           "package.1 12 0A1B2C3G", "package.1 -12 0A1B2C3D", "package.1 1x2 0A1B2C3D",
                           "package.1  0A1B2C3D", "package.1 18446744073709551616 0A1B2C3D", "package.1 12 0A1B2C3D "})
    EXPECT_FALSE(ParsePartRecord(line, &r)) << line;
  EXPECT_EQ(r, (PartRecord{"kept", 1, 2})) << "untouched by a refused line";
}

TEST(PartRecords, FoundByPartNameIgnoringCase) {
  const std::vector<PartRecord> recs = PartRecords(List(kWithRecords));
  ASSERT_EQ(recs.size(), 2u);
  const PartRecord* r = FindPartRecord(recs, "PACKAGE.2");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->size, 388608u);
  EXPECT_EQ(r->crc, 0xFFFFFFFFu);
  EXPECT_EQ(FindPartRecord(recs, "package.3"), nullptr);
  // A damaged line costs its own part's check, not the others'.
  const std::vector<PartRecord> some = PartRecords(List(":PARTS\r\npackage.1 12\r\npackage.2 1 00000000\r\n:\r\n"));
  ASSERT_EQ(some.size(), 1u);
  EXPECT_EQ(some[0].name, "package.2");
}

TEST(PartRecords, ListWithoutThemTakesEveryPartOnTrust) {
  EXPECT_TRUE(PartRecords(List(":PACKAGE\r\na.1\r\na.2\r\n:\r\n")).empty());
  EXPECT_TRUE(PartRecords(List(":PACKAGE\r\na.1\r\n:\r\n:PARTS\r\n:\r\n")).empty());
  // The section's end is required like any list section's.
  EXPECT_THROW(PartRecords(List(":PACKAGE\r\na.1\r\n:\r\n:PARTS\r\na.1 1 00000000\r\n")), ListIndexError);
}

TEST(PartRecords, ReaderOfTheTwoOldSectionsIsNotDisturbed) {
  // An installer that looks only for :EXTRA and :PACKAGE finds the same
  // entries in a list with records as in one without.
  const LineList with = List(kWithRecords);
  const LineList without = List(":EXTRA\r\nextra.txt\r\n:\r\n:PACKAGE\r\npackage.1\r\npackage.2\r\n:\r\n");
  for (const char* s : {section::kExtra, section::kPackage})
    EXPECT_EQ(with.ListSection(s), without.ListSection(s)) << s;
}

TEST(PartRecords, Crc32AsZipArchivesHaveIt) {
  EXPECT_EQ(Crc32Of(""), 0u);
  EXPECT_EQ(Crc32Of("123456789"), 0xCBF43926u);
  std::string big(100000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7 + i / 256);
  Crc32 pieces;
  for (size_t at = 0; at < big.size(); at += 32768) pieces.Add(big.data() + at, std::min<size_t>(32768, big.size() - at));
  EXPECT_EQ(pieces.Value(), Crc32Of(big));
  big[5000] ^= 1;
  EXPECT_NE(pieces.Value(), Crc32Of(big)) << "one bit changed";
}

TEST(PartRecords, RoomArithmetic) {
  EXPECT_EQ(OnDisk(0, 4096), 0u);
  EXPECT_EQ(OnDisk(1, 4096), 4096u);
  EXPECT_EQ(OnDisk(4096, 4096), 4096u);
  EXPECT_EQ(OnDisk(4097, 4096), 8192u);
  EXPECT_EQ(OnDisk(77, 0), 77u);
  EXPECT_EQ(OnDisk(UINT64_MAX - 5, 4096), UINT64_MAX - 5) << "no wrap past the top";
  EXPECT_EQ(GroupDigits(0), "0");
  EXPECT_EQ(GroupDigits(999), "999");
  EXPECT_EQ(GroupDigits(1457664), "1,457,664");
  EXPECT_EQ(GroupDigits(1000), "1,000");
  EXPECT_EQ(GroupDigits(4294967296u), "4,294,967,296");
  EXPECT_EQ(GroupDigits(UINT64_MAX), "18,446,744,073,709,551,615");
  EXPECT_EQ(DriveRoot("C:\\WINDOWS\\TEMP\\QFINST1"), "C:\\");
  EXPECT_EQ(DriveRoot("d:"), "d:\\");
  EXPECT_EQ(DriveRoot("\\\\srv\\share\\win\\temp"), "\\\\srv\\share\\");
  EXPECT_EQ(DriveRoot("\\\\srv\\share"), "\\\\srv\\share\\");
  EXPECT_EQ(DriveRoot("\\\\srv"), "");
  EXPECT_EQ(DriveRoot("\\\\\\x"), "");
  EXPECT_EQ(DriveRoot("TEMP\\QFINST1"), "");
}
