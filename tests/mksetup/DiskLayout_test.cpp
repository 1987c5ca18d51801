// The floppy arithmetic: what each size holds, what a file costs, and the
// cutting of the archive so that joining last listed first restores it.
#include <gtest/gtest.h>

#include "mksetup/Builder.h"
#include "mksetup/DiskLayout.h"

using namespace mksetup;

namespace {
DiskFormat Floppy(const char* size) {
  DiskFormat f;
  std::string why;
  EXPECT_TRUE(ParseDiskFormat(size, &f, &why)) << why;
  return f;
}
}  // namespace

TEST(DiskLayout, SizesAndWhatFilesCost) {
  EXPECT_EQ(Floppy("1.44M").dataBytes, 1457664u);
  EXPECT_EQ(Floppy("1.44m").rootEntries, 224u);
  EXPECT_EQ(Floppy("720K").dataBytes, 730112u);
  EXPECT_EQ(Floppy("720K").cluster, 1024u);
  EXPECT_EQ(Floppy("1.2M").dataBytes, 1213952u);
  EXPECT_EQ(Floppy("2.88MB").dataBytes, 2931712u);
  EXPECT_EQ(Floppy("100000").dataBytes, 100000u);
  EXPECT_EQ(Floppy("100000").mformatKb, 0);
  DiskFormat f;
  std::string why;
  for (const char* bad : {"", "1.4M", "4095", "12k", "-5", "99999999999999"}) {
    EXPECT_FALSE(ParseDiskFormat(bad, &f, &why)) << bad;
    EXPECT_NE(why.find("1.44M"), std::string::npos);
  }
  // Whole clusters: a 0-byte file takes none, one byte a whole cluster.
  EXPECT_EQ(SpaceOf(0, Floppy("1.44M")), 0u);
  EXPECT_EQ(SpaceOf(1, Floppy("1.44M")), 512u);
  EXPECT_EQ(SpaceOf(513, Floppy("1.44M")), 1024u);
  EXPECT_EQ(SpaceOf(513, Floppy("720K")), 1024u);
  EXPECT_EQ(SpaceOf(1025, Floppy("720K")), 2048u);
  EXPECT_EQ(SpaceOf(1025, Floppy("5000")), 1025u);
  // Root folder entries: short names one, long or mixed-case names more.
  EXPECT_EQ(DirEntriesOf("setup.exe"), 1);
  EXPECT_EQ(DirEntriesOf("UNPACK32.DLL"), 1);
  EXPECT_EQ(DirEntriesOf("package.12"), 1);
  EXPECT_EQ(DirEntriesOf("copyBrin.txt"), 2);
  EXPECT_EQ(DirEntriesOf("a long name of 27 chars.txt"), 4);
  EXPECT_EQ(DirEntriesOf("two.dots.txt"), 2);
}

TEST(DiskLayout, RoomOnDiskOne) {
  const DiskFormat f = Floppy("1.44M");
  uint64_t room = 0;
  std::string why;
  ASSERT_TRUE(PartRoom(f, {{"setup.exe", 174592}, {"UNPACK32.DLL", 121344}, {"setup.lst", 40}}, "package.1", &room, &why));
  EXPECT_EQ(room, 1457664u - 174592 - 121344 - 512);
  // The files alone fill the disk: no room for the package.
  EXPECT_FALSE(PartRoom(f, {{"setup.exe", 1457664}}, "package.1", &room, &why));
  EXPECT_NE(why.find("no room"), std::string::npos);
  // 720K: 112 root entries, the label and the part taking two of them.
  std::vector<DiskFile> many;
  for (int i = 0; i < 110; ++i) many.push_back({"F" + std::to_string(i) + ".TXT", 1});
  EXPECT_TRUE(PartRoom(Floppy("720K"), many, "package.1", &room, &why));
  EXPECT_EQ(room, 730112u - 110 * 1024);
  many.push_back({"ONE.TXT", 1});
  EXPECT_FALSE(PartRoom(Floppy("720K"), many, "package.1", &room, &why));
  EXPECT_NE(why.find("113 root folder entries"), std::string::npos) << why;
}

TEST(DiskLayout, CuttingFillsEveryDiskButTheLast) {
  // Parts exactly filling their disks.
  EXPECT_EQ(CutSizes(1000 + 2 * 3000, 1000, 3000), (std::vector<uint64_t>{1000, 3000, 3000}));
  // One byte more gives a last disk of one byte.
  EXPECT_EQ(CutSizes(1000 + 2 * 3000 + 1, 1000, 3000), (std::vector<uint64_t>{1000, 3000, 3000, 1}));
  // A package that fits on disk 1 alone, exactly or with room to spare.
  EXPECT_EQ(CutSizes(1000, 1000, 3000), (std::vector<uint64_t>{1000}));
  EXPECT_EQ(CutSizes(10, 1000, 3000), (std::vector<uint64_t>{10}));
  EXPECT_EQ(CutSizes(1001, 1000, 3000), (std::vector<uint64_t>{1000, 1}));
  // Part 1 is the archive's end: joined last listed first, the parts are in order.
  const std::vector<uint64_t> s{1000, 3000, 3000, 5};
  EXPECT_EQ(PartOffset(s, 3), 0u);
  EXPECT_EQ(PartOffset(s, 2), 5u);
  EXPECT_EQ(PartOffset(s, 1), 3005u);
  EXPECT_EQ(PartOffset(s, 0), 6005u);
}

TEST(DiskLayout, PlanCountsTheListItWrites) {
  // A package list names every part, so the part count feeds back into the
  // room on disk 1; the plan settles it and the disks hold what it says.
  Project p;
  p.setupExe = {"setup.exe", "", std::string(174592, 'x'), 0};
  p.unpackDll = {"UNPACK32.DLL", "", std::string(121344, 'y'), 0};
  p.extras.push_back({"extra.txt", "", "extra", 0});
  p.beside.push_back({"copyBrin.txt", "", "Kerf Demo", 0});
  std::string data(4000000, '\0');
  uint32_t x = 1;
  for (char& c : data) c = char((x = x * 1103515245u + 12345u) >> 24);  // does not deflate
  p.package.push_back({"big.bin", "", data, 0});
  Options opt;
  std::string why;
  ASSERT_TRUE(ParseDiskFormat("1.44M", &opt.disk, &why));
  Plan plan;
  ASSERT_TRUE(MakePlan(opt, p, &plan, &why)) << why;
  ASSERT_EQ(plan.disks.size(), 3u);
  std::vector<setup::PartRecord> parts;
  for (size_t i = 0; i < plan.disks.size(); ++i) {
    const Disk& d = plan.disks[i];
    parts.push_back({d.partName, d.partSize, setup::Crc32Of(plan.archive.substr(d.partOffset, d.partSize))});
  }
  EXPECT_EQ(plan.setupLst, PackageList({"extra.txt"}, parts));
  EXPECT_EQ(plan.setupLst, ":EXTRA\r\nextra.txt\r\n:\r\n:PACKAGE\r\npackage.1\r\npackage.2\r\npackage.3\r\n:\r\n"
                           ":PARTS\r\n" + setup::FormatPartRecord(parts[0]) + "\r\n" + setup::FormatPartRecord(parts[1]) +
                           "\r\n" + setup::FormatPartRecord(parts[2]) + "\r\n:\r\n");
  EXPECT_EQ(parts[1].size, opt.disk.dataBytes);
  EXPECT_EQ(plan.disks[0].used, opt.disk.dataBytes);
  EXPECT_EQ(plan.disks[1].used, opt.disk.dataBytes);
  EXPECT_EQ(plan.disks[1].partSize, opt.disk.dataBytes);
  EXPECT_LT(plan.disks[2].used, opt.disk.dataBytes);
  std::string joined;
  for (size_t i = plan.disks.size(); i-- > 0;)
    joined += plan.archive.substr(plan.disks[i].partOffset, plan.disks[i].partSize);
  EXPECT_EQ(joined, plan.archive);
  EXPECT_GT(plan.archive.size(), data.size());  // stored, not deflated
  EXPECT_LT(plan.archive.size(), data.size() + 200);
}
