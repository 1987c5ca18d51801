// Whole runs through the build's own file layer (POSIX natively, Win32 under Wine).
#include "kerfwise/engine/SliceRun.h"

#include <gtest/gtest.h>

#include "kerfwise/engine/CheckFile.h"
#include "kerfwise/engine/Crc32.h"
#include "kerfwise/engine/IoError.h"
#include "tests/slicing/SliceTestKit.h"

using namespace kerfwise;
using slicetest::Exists;
using slicetest::Get;
using slicetest::Pattern;
using slicetest::Put;
using Strings = std::vector<std::string>;

namespace {
class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = slicetest::ScratchFolder();
    fs.programFolder = dir + "prog\\";
    slicetest::MakeFolder(fs.programFolder);
    Put(fs.programFolder + "unkerf.exe", "MZ joiner");
  }
  std::string Source(const std::string& name, size_t size, unsigned seed = 1) {
    Put(dir + name, Pattern(size, seed));
    in.sources.push_back(dir + name);
    return dir + name;
  }
  RunOutcome Go() { return RunSlicing(in, host, fs); }

  std::string dir;
  slicetest::Platform fs;
  slicetest::Host host;
  RunInputs in;
};
}  // namespace

TEST_F(Run, ThreeMillionBytesAt144BesideTheSource) {
  Source("REPORT.DOC", 3000000);
  ASSERT_EQ(Go(), RunOutcome::Done);
  std::string all = Pattern(3000000);
  EXPECT_EQ(Get(dir + "REPORT.s10"), all.substr(0, 1441792));
  EXPECT_EQ(Get(dir + "REPORT.s11"), all.substr(1441792, 1441792));
  EXPECT_EQ(Get(dir + "REPORT.s12"), all.substr(2883584));
  EXPECT_FALSE(Exists(dir + "REPORT.s13"));
  EXPECT_EQ(Get(dir + "REPORT.sss"), "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\nREPORT.s12\r\n");
  EXPECT_EQ(Get(dir + "REPORTs.bat"), "@echo off\r\ncopy /b REPORT.s10 + REPORT.s11 + REPORT.s12 REPORT.DOC\r\n");
  EXPECT_EQ(Get(dir + "REPORTs.exe"), "MZ joiner");
  EXPECT_TRUE(Exists(dir + "REPORT.DOC"));
  EXPECT_EQ(host.calls, (Strings{"started", "ended"}));
  ASSERT_FALSE(host.progress.empty());
  for (size_t i = 1; i < host.progress.size(); ++i) EXPECT_GT(host.progress[i], host.progress[i - 1]);
  EXPECT_LE(host.progress.back(), 100);
}

TEST_F(Run, EmptyListOnlySwapsTheButtons) {
  EXPECT_EQ(Go(), RunOutcome::Done);
  EXPECT_EQ(host.calls, (Strings{"started", "ended"}));
  EXPECT_TRUE(host.progress.empty());
}

TEST_F(Run, EmptySourceAmongOthersAndDeleteOptions) {
  Source("a.bin", 5000, 1);
  Source("NAME", 0);
  in.sizeText = "@2048";
  in.deleteSource = true;
  in.deleteSlicesAfterJoin = true;
  ASSERT_EQ(Go(), RunOutcome::Done);
  EXPECT_EQ(Get(dir + "Ns10"), "");
  EXPECT_EQ(Get(dir + "NAME.sss"), "DEL\r\nNAME\r\nNs10\r\n");
  EXPECT_EQ(Get(dir + "NAMEs.bat"), JoinCrLf(BatchLines(true, "NAME", {"Ns10"})));
  EXPECT_EQ(Get(dir + "as.bat"), JoinCrLf(BatchLines(true, "a.bin", {"a.s10", "a.s11", "a.s12"})));
  EXPECT_EQ(Get(dir + "a.s12"), Pattern(5000).substr(4096));
  EXPECT_FALSE(Exists(dir + "a.bin"));
  EXPECT_FALSE(Exists(dir + "NAME"));
}

TEST_F(Run, ByteFormBelowOneBlockGivesExactSlices) {
  Source("tiny.txt", 7000);
  in.sizeText = "@1000";
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out";
  slicetest::MakeFolder(in.slicePath);
  ASSERT_EQ(Go(), RunOutcome::Done);
  std::string all = Pattern(7000);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Get(dir + "out\\tiny.s" + std::to_string(10 + i)), all.substr(i * 1000, 1000));
  EXPECT_FALSE(Exists(dir + "out\\tiny.s17"));
  EXPECT_TRUE(Exists(dir + "out\\tiny.sss"));
}

// A last disk with no room for the joiner copy; CopyFile may leave part of it.
struct NoRoomForTheJoiner : slicetest::Platform {
  bool CopyOver(const std::string&, const std::string& to) override {
    Put(to, "MZ cut");
    return false;
  }
};

TEST_F(Run, FloppiesAt075FillA720KDiskAndSayWhenTheJoinerFoundNoRoom) {
  NoRoomForTheJoiner small;
  small.programFolder = fs.programFolder;
  Source("REPORT.DOC", 1500000);
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  in.sizeText = "0.75";
  slicetest::MakeFolder(in.driveText);
  ASSERT_EQ(RunSlicing(in, host, small), RunOutcome::Done);
  EXPECT_EQ(Get(dir + "floppy\\REPORT.s10").size(), 730112u) << "the data space of a 720 KB floppy";
  EXPECT_EQ(Get(dir + "floppy\\REPORT.s11").size(), 730112u);
  EXPECT_EQ(Get(dir + "floppy\\REPORT.s12"), Pattern(1500000).substr(2 * 730112));
  EXPECT_FALSE(Exists(dir + "floppy\\REPORTs.exe")) << "no cut joiner left behind";
  EXPECT_EQ(host.calls.back(),
            "note:There was no room for the joiner REPORTs.exe beside the slices of REPORT.DOC on the "
            "last disk. The set is whole: join it with REPORTs.bat or another copy of unkerf.exe.");
  // Beside the source there is no disk to run out of: a missing joiner stays unsaid.
  in.destination = Destination::CurrentDirectory;
  slicetest::Host quiet;
  ASSERT_EQ(RunSlicing(in, quiet, small), RunOutcome::Done);
  EXPECT_EQ(quiet.calls, (Strings{"started", "ended"}));
}

// The last slice filled its disk: the slice list finds no room beside it.
struct FullLastDisk : slicetest::Platform {
  struct Full : WriteFile {
    void Write(const void*, size_t) override { throw IoError(kDiskFull); }
  };
  int listsRefused = 0;
  std::unique_ptr<WriteFile> Create(const std::string& p) override {
    if (p.size() > 4 && p.substr(p.size() - 4) == ".sss" && listsRefused++ == 0) {
      base.Create(p);
      return std::make_unique<Full>();
    }
    return base.Create(p);
  }
};

TEST_F(Run, SliceListThatFindsNoRoomGoesOnOneMoreFloppy) {
  FullLastDisk full;
  full.programFolder = fs.programFolder;
  Source("REPORT.DOC", 1460224);  // two full 720 KB disks
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  in.sizeText = "0.75";
  slicetest::MakeFolder(in.driveText);
  ASSERT_EQ(RunSlicing(in, host, full), RunOutcome::Done);
  EXPECT_EQ(host.calls, (Strings{"started", "prompt:Please insert Disk 1 of 2", "prompt:Please insert Disk 2 of 2",
                                 "prompt:Please insert Disk 3 of 2", "ended"}));
  EXPECT_EQ(Get(dir + "floppy\\REPORT.sss"), "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\n");
  EXPECT_TRUE(Exists(dir + "floppy\\REPORTs.exe"));

  // Fresh floppies: the first set's disk 2 holds a slice without its list,
  // which a later run may not take for its own.
  for (const char* n : {"REPORT.s10", "REPORT.s11", "REPORT.sss", "REPORT.ssc", "REPORTs.bat", "REPORTs.exe"})
    slicetest::SystemDelete(dir + "floppy\\" + n);
  FullLastDisk again;
  slicetest::Host cancel;
  cancel.prompt = [&](const std::string& t) { return t != "Please insert Disk 3 of 2"; };
  in.deleteSource = true;
  EXPECT_EQ(RunSlicing(in, cancel, again), RunOutcome::Cancelled);
  EXPECT_EQ(cancel.calls.back(), "close") << ::testing::PrintToString(cancel.calls);
  EXPECT_TRUE(Exists(dir + "REPORT.DOC")) << "no slice list: the source stays";
}

TEST_F(Run, FloppyPromptsCarryTheRunWideCounter) {
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  slicetest::MakeFolder(in.driveText);
  Source("ONE.DAT", 3000000, 1);
  Source("TWO.DAT", 3000000, 2);
  ASSERT_EQ(Go(), RunOutcome::Done);
  EXPECT_EQ(host.calls, (Strings{"started", "prompt:Please insert Disk 1 of 4", "prompt:Please insert Disk 2 of 4",
                                 "prompt:Please insert Disk 3 of 4", "prompt:Please insert Disk 1 of 4",
                                 "prompt:Please insert Disk 4 of 4", "prompt:Please insert Disk 5 of 4", "ended"}));
  EXPECT_EQ(Get(dir + "floppy\\TWO.s12"), Pattern(3000000, 2).substr(2883584));
  EXPECT_TRUE(Exists(dir + "floppy\\ONE.sss"));
  EXPECT_TRUE(Exists(dir + "floppy\\TWOs.bat"));
}

TEST_F(Run, CancelAtAPromptClosesTheWindow) {
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  slicetest::MakeFolder(in.driveText);
  Source("ONE.DAT", 3000000);
  host.prompt = [](const std::string& t) { return t.find("Disk 2") == std::string::npos; };
  EXPECT_EQ(Go(), RunOutcome::Cancelled);
  EXPECT_EQ(host.calls.back(), "close");
  EXPECT_EQ(Get(dir + "floppy\\ONE.s10").size(), 1441792u);
  EXPECT_FALSE(Exists(dir + "floppy\\ONE.s11"));
  EXPECT_FALSE(Exists(dir + "floppy\\ONE.sss"));

  slicetest::Host first;
  first.prompt = [](const std::string&) { return false; };
  in.sources = {dir + "ONE.DAT"};
  in.driveText = dir + "floppy2";
  EXPECT_EQ(RunSlicing(in, first, fs), RunOutcome::Cancelled);
  EXPECT_EQ(first.calls, (Strings{"started", "prompt:Please insert Disk 1 of 2", "close"}));
}

TEST_F(Run, ByteFormPromptsCarryAnEstimateOfZero) {
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  slicetest::MakeFolder(in.driveText);
  in.sizeText = "@1000000";
  Source("ONE.DAT", 2500000);
  ASSERT_EQ(Go(), RunOutcome::Done);
  EXPECT_EQ(host.calls, (Strings{"started", "prompt:Please insert Disk 1 of 0", "prompt:Please insert Disk 2 of 0",
                                 "prompt:Please insert Disk 3 of 0", "ended"}));
  EXPECT_EQ(Get(dir + "floppy\\ONE.s11"), Pattern(2500000).substr(1000000, 1000000));
}

TEST_F(Run, SourcesThatWouldShareSlicesAreRefusedBeforeWriting) {
  Source("REPORT.DOC", 10);
  Source("REPORT.TXT", 10);
  in.deleteSource = true;
  EXPECT_EQ(Go(), RunOutcome::Failed);
  EXPECT_EQ(host.calls.back(), "error:The slices of " + dir + "REPORT.TXT would overwrite those of " + dir + "REPORT.DOC");
  EXPECT_FALSE(Exists(dir + "REPORT.s10"));
  EXPECT_TRUE(Exists(dir + "REPORT.DOC"));

  // On floppies too: the second source's set may land on the first's disk.
  slicetest::Host floppy;
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  slicetest::MakeFolder(in.driveText);
  EXPECT_EQ(RunSlicing(in, floppy, fs), RunOutcome::Failed);
  EXPECT_EQ(floppy.calls, (Strings{"started", "ended", "error:The slices of " + dir + "REPORT.TXT would overwrite those of " + dir + "REPORT.DOC"}))
      << "refused before the first prompt";
  EXPECT_TRUE(Exists(dir + "REPORT.DOC"));
  EXPECT_TRUE(Exists(dir + "REPORT.TXT"));
  EXPECT_FALSE(Exists(dir + "floppy\\REPORT.s10"));

  slicetest::Host again;
  in.sources = {dir + "REPORT.DOC", dir + "REPORT.DOC"};
  in.deleteSource = false;
  EXPECT_EQ(RunSlicing(in, again, fs), RunOutcome::Done) << "the same file twice";
}

TEST_F(Run, SourcesTheRunWouldOverwriteAreRefused) {
  struct Case {
    Strings names;
    Destination where;
    std::string error;  // after the folder is put in front of the names
  } cases[] = {
      {{"A.sss"}, Destination::CurrentDirectory, "Cannot slice {}A.sss into itself"},
      {{"b.SSS"}, Destination::SlicedPath, "Cannot slice {}b.SSS into itself"},
      {{"C.s12"}, Destination::CurrentDirectory, "Cannot slice {}C.s12 into itself"},
      {{"REPORT.DOC", "REPORTs.bat"}, Destination::CurrentDirectory,
       "The slices of {}REPORT.DOC would overwrite {}REPORTs.bat"},
      {{"REPORT.DOC", "reports.exe"}, Destination::SlicedPath,
       "The slices of {}REPORT.DOC would overwrite {}reports.exe"},
  };
  in.sizeText = "@4";
  for (const Case& c : cases) {
    std::string error = c.error;
    for (size_t at; (at = error.find("{}")) != std::string::npos;) error.replace(at, 2, dir);
    in.sources.clear();
    for (const std::string& n : c.names) Source(n, 10);  // three slices of 4 bytes: s10 to s12
    in.destination = c.where;
    in.slicePath = dir;
    in.deleteSource = true;
    slicetest::Host h;
    EXPECT_EQ(RunSlicing(in, h, fs), RunOutcome::Failed) << error;
    EXPECT_EQ(h.calls.back(), "error:" + error);
    for (const std::string& n : c.names) EXPECT_EQ(Get(dir + n), Pattern(10)) << n;
    for (const std::string& n : c.names) slicetest::SystemDelete(dir + n);
  }
  // Numbers past the last slice, or written otherwise, are not slices.
  in.sources.clear();
  Source("D.s13", 10);
  Source("E.s010", 10);
  slicetest::Host h;
  EXPECT_EQ(RunSlicing(in, h, fs), RunOutcome::Done);
  EXPECT_EQ(Get(dir + "D.s10"), Pattern(10).substr(0, 4));
}

TEST_F(Run, SlicePathWithASpaceGetsNoBatchFile) {
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "My Files\\";
  slicetest::MakeFolder(in.slicePath);
  Source("REPORT.DOC", 100);
  ASSERT_EQ(Go(), RunOutcome::Done);
  EXPECT_TRUE(Exists(in.slicePath + "REPORT.sss"));
  EXPECT_TRUE(Exists(in.slicePath + "REPORTs.exe"));
  EXPECT_FALSE(Exists(in.slicePath + "REPORTs.bat"));
}

TEST_F(Run, StopInTheSecondSlice) {
  std::string first = Source("ONE.DAT", 3000000, 1);
  Source("TWO.DAT", 3000000, 2);
  in.deleteSource = true;
  host.stop = [&] { return Exists(dir + "ONE.s11") && host.pumps > 3; };
  EXPECT_EQ(Go(), RunOutcome::Stopped);
  EXPECT_EQ(Get(dir + "ONE.s10"), Pattern(3000000).substr(0, 1441792));
  std::string partial = Get(dir + "ONE.s11");
  EXPECT_LT(partial.size(), 1441792u);
  EXPECT_EQ(partial, Pattern(3000000).substr(1441792, partial.size()));
  EXPECT_FALSE(Exists(dir + "ONE.s12"));
  EXPECT_FALSE(Exists(dir + "ONE.sss"));
  EXPECT_FALSE(Exists(dir + "ONEs.exe"));
  EXPECT_FALSE(Exists(dir + "TWO.s10"));
  EXPECT_TRUE(Exists(first)) << "delete source is not applied";
  EXPECT_EQ(host.calls, (Strings{"started", "ended"}));
}

TEST_F(Run, ErrorsStopTheRunWithTheRunTimeMessage) {
  Source("A.DAT", 10);
  in.sources.push_back(dir + "missing.dat");
  EXPECT_EQ(Go(), RunOutcome::Failed);
  EXPECT_EQ(host.calls, (Strings{"started", "ended", "error:File not found"}));
  EXPECT_FALSE(Exists(dir + "A.s10")) << "the sizing pass comes before any slice";

  slicetest::Host h2;
  in.sources = {dir + "A.DAT"};
  in.sizeText = "abc";
  EXPECT_EQ(RunSlicing(in, h2, fs), RunOutcome::Failed);
  EXPECT_EQ(h2.calls, (Strings{"started", "ended", "error:'abc' is not a valid slice size"}));
  EXPECT_FALSE(Exists(dir + "A.s10"));

  struct NoList : slicetest::Platform {
    std::unique_ptr<WriteFile> Create(const std::string& p) override {
      if (p.size() > 4 && p.substr(p.size() - 4) == ".sss") throw IoError(kAccessDenied);
      return base.Create(p);
    }
  } noList;
  noList.programFolder = fs.programFolder;
  slicetest::Host h3;
  in.sizeText = "1.44";
  in.deleteSource = true;
  EXPECT_EQ(RunSlicing(in, h3, noList), RunOutcome::Failed);
  EXPECT_EQ(h3.calls.back(), "error:Cannot create file " + dir + "A.sss");
  EXPECT_FALSE(Exists(dir + "As.bat"));
  EXPECT_TRUE(Exists(dir + "A.DAT")) << "kept while its set has no slice list";
  in.deleteSource = false;

  slicetest::Host h4;
  Source("X.s10", 10);
  in.sources = {dir + "X.s10"};
  EXPECT_EQ(RunSlicing(in, h4, fs), RunOutcome::Failed);
  EXPECT_EQ(h4.calls.back(), "error:Cannot slice " + dir + "X.s10 into itself");
  EXPECT_EQ(Get(dir + "X.s10"), Pattern(10));
}

namespace {
// A disk that takes `room` bytes over all the files written to it, and
// cannot close the file named `badClose` cleanly.
struct SmallDisk : slicetest::Platform {
  int64_t room = INT64_MAX;
  std::string badClose;
  struct Writer : WriteFile {
    std::unique_ptr<WriteFile> real;
    SmallDisk* disk;
    bool badClose;
    void Write(const void* b, size_t n) override {
      if (int64_t(n) > disk->room) throw IoError(kDiskFull);
      disk->room -= int64_t(n);
      real->Write(b, n);
    }
    void Close() override {
      real->Close();
      if (badClose) throw IoError(1117);  // ERROR_IO_DEVICE
    }
  };
  std::unique_ptr<WriteFile> Create(const std::string& p) override {
    auto w = std::make_unique<Writer>();
    w->real = base.Create(p);
    w->disk = this;
    w->badClose = p == badClose;
    return w;
  }
};

// A huge source that is never stored: reads only count, and so do writes,
// slice by slice.
struct Virtual : slicetest::Platform {
  int64_t size = 0;
  std::vector<int64_t> written;  // per slice
  int64_t other = 0;             // slice list and batch file
  struct Reader : ReadFile {
    int64_t left = 0, total = 0;
    int64_t Size() override { return total; }
    size_t Read(void*, size_t n) override {
      size_t k = size_t(std::min<int64_t>(left, int64_t(n)));
      left -= int64_t(k);
      return k;
    }
  };
  struct Writer : WriteFile {
    Virtual* v = nullptr;
    int64_t slice = -1;
    void Write(const void*, size_t n) override { (slice < 0 ? v->other : v->written[size_t(slice)]) += int64_t(n); }
  };
  std::unique_ptr<ReadFile> OpenRead(const std::string&) override {
    auto r = std::make_unique<Reader>();
    r->left = r->total = size;
    return r;
  }
  std::unique_ptr<WriteFile> Create(const std::string& p) override {
    auto w = std::make_unique<Writer>();
    w->v = this;
    std::string ext = p.substr(p.size() - 4);
    if (ext != ".sss" && ext != ".bat" && ext != ".ssc") {
      w->slice = int64_t(written.size());
      written.push_back(0);
    }
    return w;
  }
  bool CopyOver(const std::string&, const std::string&) override { return true; }
};
}  // namespace

TEST_F(Run, FullDiskIsReportedAndClaimsNoCompleteSet) {
  SmallDisk disk;
  disk.programFolder = fs.programFolder;
  disk.room = 2000000;
  std::string src = Source("REPORT.DOC", 3000000);
  Put(dir + "REPORT.sss", "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\n");  // an older set's
  Put(dir + "REPORTs.bat", "@echo off\r\ncopy /b REPORT.s10 REPORT.DOC\r\n");
  in.deleteSource = true;
  EXPECT_EQ(RunSlicing(in, host, disk), RunOutcome::Failed);
  EXPECT_EQ(host.calls, (Strings{"started", "ended", "error:Disk full"}));
  EXPECT_TRUE(Exists(src));
  EXPECT_FALSE(Exists(dir + "REPORT.sss"));
  EXPECT_FALSE(Exists(dir + "REPORTs.bat"));
  EXPECT_FALSE(Exists(dir + "REPORTs.exe"));
  EXPECT_FALSE(Exists(dir + "REPORT.ssc"));
}

TEST_F(Run, NoSetLooksCompleteAfterAFailedWriteOrClose) {
  std::string src = Source("REPORT.DOC", 5000);
  in.sizeText = "@2048";
  in.deleteSource = true;
  // The slices fit, the slice list does not.
  SmallDisk full;
  full.programFolder = fs.programFolder;
  full.room = 5000;
  EXPECT_EQ(RunSlicing(in, host, full), RunOutcome::Failed);
  EXPECT_EQ(host.calls.back(), "error:Disk full");
  EXPECT_FALSE(Exists(dir + "REPORT.sss")) << "a cut slice list is removed";
  EXPECT_TRUE(Exists(src));

  // What a failed run leaves is not taken over by the next: the user clears it.
  slicetest::Host retry;
  EXPECT_EQ(RunSlicing(in, retry, fs), RunOutcome::Done);
  EXPECT_EQ(retry.calls[1], "error:The slices of " + src + " would overwrite " + dir +
                                "REPORT.s10, left by another set or an unfinished run");

  // A slice whose close fails may not hold its data: the source stays.
  for (const char* slice : {"REPORT.s11", "REPORT.s12"}) {
    for (const char* n : {"REPORT.s10", "REPORT.s11", "REPORT.s12"}) slicetest::SystemDelete(dir + n);
    SmallDisk shaky;
    shaky.programFolder = fs.programFolder;
    shaky.badClose = dir + slice;
    slicetest::Host h;
    EXPECT_EQ(RunSlicing(in, h, shaky), RunOutcome::Failed) << slice;
    EXPECT_EQ(h.calls.back(), "error:I/O error 1117");
    EXPECT_FALSE(Exists(dir + "REPORT.sss"));
    EXPECT_TRUE(Exists(src)) << slice;
  }
}

TEST_F(Run, SourcesOfFiveGigabytes) {
  Virtual v;
  v.size = (int64_t(5) << 30) + 3;
  in.sources = {"C:\\BIG.ISO"};
  in.checkValues = false;  // five gigabytes of CRC under the sanitizers: minutes
  EXPECT_EQ(RunSlicing(in, host, v), RunOutcome::Done);
  EXPECT_EQ(v.written, SliceLengths(v.size, ParseSliceSize("1.44")));
  ASSERT_FALSE(host.progress.empty());
  for (size_t i = 1; i < host.progress.size(); ++i) EXPECT_GT(host.progress[i], host.progress[i - 1]);
  EXPECT_EQ(host.progress.back(), 99);
}

namespace {
// A disk of a given speed on a simulated clock: each write advances it.
struct TimedDisk : slicetest::Platform {
  uint32_t now = 0;
  int64_t bytesPerMs = 1;
  struct W : WriteFile {
    TimedDisk* d = nullptr;
    void Write(const void*, size_t n) override { d->now += uint32_t(int64_t(n) / d->bytesPerMs); }
  };
  std::unique_ptr<WriteFile> Create(const std::string&) override {
    auto w = std::make_unique<W>();
    w->d = this;
    return w;
  }
  bool CopyOver(const std::string&, const std::string&) override { return true; }
  uint32_t Milliseconds() override { return now; }
};
}  // namespace

TEST_F(Run, MessagesAreProcessedEvery50MsOnFastAndSlowDisks) {
  Source("BIG.DAT", 40 << 20);
  for (int64_t speed : {int64_t(50), int64_t(100000)}) {  // a floppy-like 50 KB/s, a 100 MB/s disk
    TimedDisk disk;
    disk.bytesPerMs = speed;
    slicetest::Host h;
    uint32_t last = 0, worst = 0;
    int64_t pumps = 0;
    h.stop = [&] {
      worst = std::max(worst, disk.now - last);
      last = disk.now;
      ++pumps;
      return speed == 50 && pumps == 200;  // Stop after some time on the slow disk
    };
    in.destination = Destination::SlicedPath;
    in.slicePath = "X:\\";
    RunOutcome r = RunSlicing(in, h, disk);
    EXPECT_LE(worst, 50u) << speed;
    EXPECT_EQ(r, speed == 50 ? RunOutcome::Stopped : RunOutcome::Done);
    if (speed > 50) {
      EXPECT_LT(pumps, 200) << "big chunks on a fast disk";
    }
  }
}

// The destination and "delete source" outlive a run: a later run must not
// take the names of an earlier run's set of another file.
TEST_F(Run, AnEarlierSetOfAnotherFileIsNeverReplaced) {
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out\\";
  slicetest::MakeFolder(in.slicePath);
  in.sizeText = "@4096";
  in.deleteSource = true;
  Source("REPORT.DOC", 10000, 1);
  ASSERT_EQ(Go(), RunOutcome::Done);
  std::string list = Get(in.slicePath + "REPORT.sss");

  // Another day: REPORT.XLS into the same folder, with a third file after it.
  in.sources.clear();
  std::string xls = Source("REPORT.XLS", 9000, 2);
  Source("ZEBRA.DAT", 5000, 3);
  slicetest::Host later;
  EXPECT_EQ(RunSlicing(in, later, fs), RunOutcome::Done);
  EXPECT_EQ(later.calls, (Strings{"started", "error:The slices of " + xls + " would overwrite those of REPORT.DOC (" +
                                                 in.slicePath + "REPORT.sss)", "ended"}));
  EXPECT_EQ(Get(xls), Pattern(9000, 2)) << "kept whatever delete source says";
  EXPECT_EQ(Get(in.slicePath + "REPORT.sss"), list);
  EXPECT_EQ(Get(in.slicePath + "REPORT.s10") + Get(in.slicePath + "REPORT.s11") + Get(in.slicePath + "REPORT.s12"),
            Pattern(10000, 1));
  EXPECT_TRUE(Exists(in.slicePath + "ZEBRA.sss")) << "the run goes on";
  EXPECT_FALSE(Exists(dir + "ZEBRA.DAT"));

  // Slices without a list, or a file at the list's name that is no list,
  // belong to someone else as well.
  slicetest::SystemDelete(in.slicePath + "REPORT.sss");
  slicetest::Host orphan;
  in.sources = {xls};
  EXPECT_EQ(RunSlicing(in, orphan, fs), RunOutcome::Done);
  EXPECT_EQ(orphan.calls[1], "error:The slices of " + xls + " would overwrite " + in.slicePath + "REPORT.s10, left by another set or an unfinished run");
  Put(in.slicePath + "REPORT.sss", "my own notes");
  slicetest::Host notes;
  EXPECT_EQ(RunSlicing(in, notes, fs), RunOutcome::Done);
  EXPECT_EQ(notes.calls[1], "error:The slices of " + xls + " would overwrite " + in.slicePath + "REPORT.sss");
  EXPECT_EQ(Get(in.slicePath + "REPORT.sss"), "my own notes");
  EXPECT_TRUE(Exists(xls));
}

TEST_F(Run, AnEarlierSetOfTheSameFileIsReplaced) {
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out\\";
  slicetest::MakeFolder(in.slicePath);
  in.sizeText = "@2048";
  std::string src = Source("REPORT.DOC", 5000, 1);
  ASSERT_EQ(Go(), RunOutcome::Done);
  EXPECT_TRUE(Exists(in.slicePath + "REPORT.s12"));
  // Changed and sliced again with fewer, larger slices.
  Put(src, Pattern(6000, 4));
  in.sizeText = "@4096";
  slicetest::Host again;
  EXPECT_EQ(RunSlicing(in, again, fs), RunOutcome::Done);
  EXPECT_EQ(again.calls, (Strings{"started", "ended"}));
  EXPECT_EQ(Get(in.slicePath + "REPORT.sss"), "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\n");
  EXPECT_EQ(Get(in.slicePath + "REPORT.s10") + Get(in.slicePath + "REPORT.s11"), Pattern(6000, 4));

  // More slices than the earlier set had: a slice its list does not name is not its.
  Put(in.slicePath + "REPORT.s12", "a stranger");
  in.sizeText = "@2048";
  slicetest::Host more;
  EXPECT_EQ(RunSlicing(in, more, fs), RunOutcome::Done);
  EXPECT_EQ(more.calls[1], "error:The slices of " + src + " would overwrite " + in.slicePath + "REPORT.s12, left by another set or an unfinished run");
  EXPECT_EQ(Get(in.slicePath + "REPORT.s12"), "a stranger");
}

TEST_F(Run, EachFloppyIsLookedAtBeforeItIsWritten) {
  in.destination = Destination::FloppyDisk;
  in.driveText = dir + "floppy";
  slicetest::MakeFolder(in.driveText);
  in.sizeText = "@4096";
  in.deleteSource = true;
  std::string one = Source("ONE.DAT", 10000, 1);
  Source("TWO.DAT", 5000, 2);
  // Disk 2 of ONE.DAT holds an old ONE.s11 of someone else's; the first disk is empty.
  host.prompt = [&](const std::string& t) {
    if (t == "Please insert Disk 2 of 0") Put(dir + "floppy\\ONE.s11", "old");
    return true;
  };
  EXPECT_EQ(Go(), RunOutcome::Done);
  EXPECT_EQ(host.calls, (Strings{"started", "prompt:Please insert Disk 1 of 0", "prompt:Please insert Disk 2 of 0",
                                 "error:The slices of " + one + " would overwrite " + dir + "floppy\\ONE.s11, left by another set or an unfinished run",
                                 "prompt:Please insert Disk 1 of 0", "prompt:Please insert Disk 3 of 0", "ended"}));
  EXPECT_EQ(Get(dir + "floppy\\ONE.s11"), "old");
  EXPECT_FALSE(Exists(dir + "floppy\\ONE.sss"));
  EXPECT_EQ(Get(one), Pattern(10000, 1));
  EXPECT_TRUE(Exists(dir + "floppy\\TWO.sss"));

  // The last disk of another file's set: its list would be replaced. A disk
  // that only holds that set's list, and takes a slice, is fine.
  in.sources = {one};
  in.driveText = dir + "floppy2";
  slicetest::MakeFolder(in.driveText);
  Put(dir + "floppy2\\ONE.sss", "NODEL\r\nONE.TXT\r\nONE.s10\r\n");
  slicetest::Host last;
  EXPECT_EQ(RunSlicing(in, last, fs), RunOutcome::Done);
  EXPECT_EQ(last.calls[4], "error:The slices of " + one + " would overwrite those of ONE.TXT (" + dir + "floppy2\\ONE.sss)");
  EXPECT_EQ(Get(dir + "floppy2\\ONE.sss"), "NODEL\r\nONE.TXT\r\nONE.s10\r\n");
  EXPECT_TRUE(Exists(one));
}

TEST_F(Run, CheckValuesOfEverySliceAndTheWholeFile) {
  Source("REPORT.DOC", 10000, 5);
  in.sizeText = "@4096";
  ASSERT_EQ(Go(), RunOutcome::Done);
  std::string all = Pattern(10000, 5);
  auto line = [&](const std::string& bytes, const std::string& name) {
    return CrcText(Crc32(0, bytes.data(), bytes.size())) + " " + std::to_string(bytes.size()) + " " + name + "\r\n";
  };
  EXPECT_EQ(Get(dir + "REPORT.ssc"), "CRC32\r\n" + line(all, "REPORT.DOC") + line(all.substr(0, 4096), "REPORT.s10") +
                                         line(all.substr(4096, 4096), "REPORT.s11") + line(all.substr(8192), "REPORT.s12"));
  EXPECT_EQ(Get(dir + "REPORT.sss"), "NODEL\r\nREPORT.DOC\r\nREPORT.s10\r\nREPORT.s11\r\nREPORT.s12\r\n")
      << "the slice list stays as every joiner reads it";

  // A disk with no room for them: the set is still made, and joins unchecked.
  SmallDisk full;
  full.programFolder = fs.programFolder;
  full.room = 10000 + 60;  // the slices and the list
  slicetest::Host h;
  EXPECT_EQ(RunSlicing(in, h, full), RunOutcome::Done);
  EXPECT_FALSE(Exists(dir + "REPORT.ssc")) << "no cut check values";
  EXPECT_TRUE(Exists(dir + "REPORT.sss"));
}

// "C:\DATA\.", "C:\DATA\SUB\..", "C:\LONGFO~1": one folder, whatever the spelling.
TEST_F(Run, AFolderSpelledAnotherWayIsTheSameFolder) {
  slicetest::MakeFolder(dir + "sub");
  Source("REPORT.DOC", 10);
  std::string list = Source("REPORTs.exe", 10, 2);
  in.destination = Destination::SlicedPath;
  in.deleteSource = true;
  for (std::string spelled : {dir + ".\\", dir + "sub\\..", dir + "sub\\.\\..\\"}) {
    in.slicePath = spelled;
    slicetest::Host h;
    EXPECT_EQ(RunSlicing(in, h, fs), RunOutcome::Failed) << spelled;
    EXPECT_EQ(h.calls.back(), "error:The slices of " + dir + "REPORT.DOC would overwrite " + list) << spelled;
    EXPECT_EQ(Get(list), Pattern(10, 2));
    EXPECT_TRUE(Exists(dir + "REPORT.DOC"));
    EXPECT_FALSE(Exists(dir + "REPORT.s10"));
  }
  in.sources = {dir + "REPORT.DOC", dir + "sub\\..\\REPORT.DOC"};
  in.deleteSource = false;
  in.slicePath = dir + "sub";
  slicetest::Host twice;
  EXPECT_EQ(RunSlicing(in, twice, fs), RunOutcome::Done) << "the same file twice, spelled two ways";
}
