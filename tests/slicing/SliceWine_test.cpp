// Under Wine: floppies in drive A: swapped at each prompt, a read-only source,
// and the real unkerf.exe run on the slice sets it will meet.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "kerfwise/engine/SliceRun.h"
#include "tests/slicing/SliceTestKit.h"

using namespace kerfwise;
using slicetest::Exists;
using slicetest::Get;
using slicetest::Pattern;
using slicetest::Put;
using Strings = std::vector<std::string>;

namespace {
std::string Unkerf() {
  std::string p = "Z:" UNKERF_EXE;
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}

Strings Files(const std::string& folder) {
  Strings out;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(d.cFileName);
  } while (FindNextFileA(h, &d));
  FindClose(h);
  return out;
}

// Takes the disk out of drive A: into a folder of its own.
void EjectInto(const std::string& folder) {
  slicetest::MakeFolder(folder);
  for (const std::string& f : Files("A:\\")) MoveFileA(("A:\\" + f).c_str(), (folder + f).c_str());
}

DWORD RunIn(const std::string& exe, const std::string& args, const char* folder) {
  std::string cmd = "\"" + exe + "\" " + args;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // A joiner that does not start or does not end fails the test here: its
  // made-up exit code would pass for a refusal.
  if (!CreateProcessA(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi)) {
    ADD_FAILURE() << "cannot start " << exe;
    return 999;
  }
  DWORD code = 998;
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0 || !GetExitCodeProcess(pi.hProcess, &code)) {
    ADD_FAILURE() << exe << " " << args << " did not end within 60 s";
    TerminateProcess(pi.hProcess, 998);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

DWORD RunUnkerf(const std::string& exe, const std::string& args) { return RunIn(exe, args, nullptr); }

// The join batch file run by the system's command interpreter in its folder,
// its output kept in out.txt there.
void RunBatch(const std::string& folder, const std::string& batch) {
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  RunIn(std::string(system) + "\\cmd.exe", "/c " + batch + " > out.txt", folder.c_str());
}
}  // namespace

TEST(Wine, FloppiesInDriveAThenUnkerfRebuilds) {
  std::string dir = slicetest::ScratchFolder();
  EjectInto(dir + "leftovers\\");
  slicetest::Platform fs;
  fs.programFolder = Unkerf().substr(0, Unkerf().rfind('\\') + 1);
  Put(dir + "REPORT.DOC", Pattern(3000000, 3));
  RunInputs in;
  in.sources = {dir + "REPORT.DOC"};
  in.destination = Destination::FloppyDisk;
  in.driveText = "A:";
  in.deleteSlicesAfterJoin = true;
  slicetest::Host host;
  int disk = 0;
  host.prompt = [&](const std::string&) {
    if (disk > 0) EjectInto(dir + "disk" + std::to_string(disk) + "\\");
    ++disk;
    return true;
  };
  ASSERT_EQ(RunSlicing(in, host, fs), RunOutcome::Done);
  EjectInto(dir + "disk3\\");
  EXPECT_EQ(Files(dir + "disk1\\"), Strings{"REPORT.s10"});
  EXPECT_EQ(Files(dir + "disk2\\"), Strings{"REPORT.s11"});
  Strings last = Files(dir + "disk3\\");
  std::sort(last.begin(), last.end());
  EXPECT_EQ(last, (Strings{"REPORT.s12", "REPORT.ssc", "REPORT.sss", "REPORTs.bat", "REPORTs.exe"}));

  // The user copies the disks into one folder and starts the joiner copy.
  std::string join = dir + "join\\";
  slicetest::MakeFolder(join);
  for (int d = 1; d <= 3; ++d) {
    std::string from = dir + "disk" + std::to_string(d) + "\\";
    for (const std::string& f : Files(from)) MoveFileA((from + f).c_str(), (join + f).c_str());
  }
  EXPECT_EQ(RunUnkerf(join + "REPORTs.exe", "/q"), 0u);
  EXPECT_EQ(Get(join + "REPORT.DOC"), Pattern(3000000, 3));
  EXPECT_FALSE(Exists(join + "REPORT.s10")) << "DEL in the slice list";
}

TEST(Wine, CancelAtTheFirstFloppyWritesNothing) {
  std::string dir = slicetest::ScratchFolder();
  EjectInto(dir + "leftovers\\");
  Put(dir + "A.DAT", Pattern(5000));
  RunInputs in;
  in.sources = {dir + "A.DAT"};
  in.destination = Destination::FloppyDisk;
  slicetest::Host host;
  host.prompt = [](const std::string&) { return false; };
  EXPECT_EQ(RunSlicing(in, host, kerfwise::SystemPlatform()), RunOutcome::Cancelled);
  EXPECT_EQ(host.calls.back(), "close");
  EXPECT_TRUE(Files("A:\\").empty());
}

TEST(Wine, ReadOnlySourceIsSliced) {
  std::string dir = slicetest::ScratchFolder();
  Put(dir + "CD.ISO", Pattern(5000));
  ASSERT_TRUE(SetFileAttributesA((dir + "CD.ISO").c_str(), FILE_ATTRIBUTE_READONLY));
  RunInputs in;
  in.sources = {dir + "CD.ISO"};
  in.sizeText = "@4096";
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out";
  slicetest::MakeFolder(in.slicePath);
  slicetest::Host host;
  EXPECT_EQ(RunSlicing(in, host, kerfwise::SystemPlatform()), RunOutcome::Done);
  EXPECT_EQ(Get(dir + "out\\CD.s11"), Pattern(5000).substr(4096));
  SetFileAttributesA((dir + "CD.ISO").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Wine, UnkerfReportsThroughItsExitCode) {
  std::string dir = slicetest::ScratchFolder();
  Put(dir + "R.s10", Pattern(2048));
  Put(dir + "R.s11", Pattern(10));
  Put(dir + "R.sss", "NODEL\r\nR.DOC\r\nR.s10\r\nR.s11\r\nR.s12\r\n");
  EXPECT_NE(RunUnkerf(Unkerf(), "/q " + dir + "R.sss"), 0u) << "R.s12 is missing";
  EXPECT_FALSE(Exists(dir + "R.DOC"));
  Put(dir + "R.sss", "NODEL\r\nR.DOC\r\nR.s10\r\nR.s11\r\n");
  EXPECT_EQ(RunUnkerf(Unkerf(), "/q \"" + dir + "R.sss\""), 0u);
  EXPECT_EQ(Get(dir + "R.DOC"), Pattern(2048) + Pattern(10));
  EXPECT_TRUE(Exists(dir + "R.s11"));
}

// The folder of the sources typed as its short name, with a "." part or a
// trailing dot: the joiner copy would land on another source of the run.
TEST(Wine, AFolderSpelledAnotherWayIsTheSameFolder) {
  std::string dir = slicetest::ScratchFolder() + "Long Folder Name";
  slicetest::MakeFolder(dir);
  char shortName[MAX_PATH];
  ASSERT_GT(GetShortPathNameA(dir.c_str(), shortName, MAX_PATH), 0u);
  ASSERT_NE(std::string(shortName), dir);
  Put(dir + "\\REPORT.DOC", Pattern(10));
  Put(dir + "\\REPORTs.exe", Pattern(10, 2));
  RunInputs in;
  in.sources = {dir + "\\REPORT.DOC", dir + "\\REPORTs.exe"};
  in.destination = Destination::SlicedPath;
  in.deleteSource = true;
  for (std::string spelled : {std::string(shortName), dir + "\\.", dir + ".", std::string(shortName) + "\\.\\"}) {
    in.slicePath = spelled;
    slicetest::Host host;
    EXPECT_EQ(RunSlicing(in, host, kerfwise::SystemPlatform()), RunOutcome::Failed) << spelled;
    EXPECT_EQ(host.calls.back(), "error:The slices of " + dir + "\\REPORT.DOC would overwrite " + dir + "\\REPORTs.exe");
    EXPECT_EQ(Get(dir + "\\REPORTs.exe"), Pattern(10, 2)) << spelled;
    EXPECT_TRUE(Exists(dir + "\\REPORT.DOC"));
    EXPECT_TRUE(Files(dir + "\\").size() == 2) << spelled;
  }
}

// unkerf.exe on a set whose check values tell a slice from another set's.
TEST(Wine, UnkerfChecksEverySlice) {
  std::string dir = slicetest::ScratchFolder();
  slicetest::Platform fs;
  fs.programFolder = Unkerf().substr(0, Unkerf().rfind('\\') + 1);
  Put(dir + "REPORT.DOC", Pattern(10000, 4));
  RunInputs in;
  in.sources = {dir + "REPORT.DOC"};
  in.sizeText = "@4096";
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out";
  slicetest::MakeFolder(in.slicePath);
  slicetest::Host host;
  ASSERT_EQ(RunSlicing(in, host, fs), RunOutcome::Done);
  std::string out = dir + "out\\", exe = out + "REPORTs.exe";

  EXPECT_EQ(RunUnkerf(exe, "/q"), 0u) << "intact";
  EXPECT_EQ(Get(out + "REPORT.DOC"), Pattern(10000, 4));
  slicetest::SystemDelete(out + "REPORT.DOC");

  std::string written = Get(out + "REPORT.s11");
  Put(out + "REPORT.s11", Pattern(4096, 5));
  EXPECT_NE(RunUnkerf(exe, "/q"), 0u) << "another REPORT.s11 of the same size";
  EXPECT_EQ(Files(out).size(), 7u) << "no rebuilt or half-built file";
  EXPECT_FALSE(Exists(out + "REPORT.DOC"));

  // A set of an older splitter has no check values: joined as before.
  Put(out + "REPORT.s11", written);
  slicetest::SystemDelete(out + "REPORT.ssc");
  EXPECT_EQ(RunUnkerf(exe, "/q"), 0u);
  EXPECT_EQ(Get(out + "REPORT.DOC"), Pattern(10000, 4));
}

// 40 slices: a copy line far past what COMMAND.COM takes, so the join goes in
// steps, and DEL runs only once the whole file is there.
TEST(Wine, JoinBatchFileOfALongSetUnderTheCommandInterpreter) {
  std::string dir = slicetest::ScratchFolder();
  Put(dir + "REPORT.DOC", Pattern(81000, 5));
  RunInputs in;
  in.sources = {dir + "REPORT.DOC"};
  in.sizeText = "@2048";
  in.deleteSource = true;
  in.deleteSlicesAfterJoin = true;
  slicetest::Host host;
  ASSERT_EQ(RunSlicing(in, host, kerfwise::SystemPlatform()), RunOutcome::Done);
  std::string batch = Get(dir + "REPORTs.bat");
  ASSERT_NE(batch.find("copy /b REPORT.DOC + "), std::string::npos) << batch;
  for (size_t at = 0, end; (end = batch.find("\r\n", at)) != std::string::npos; at = end + 2)
    EXPECT_LE(end - at, 127u) << batch.substr(at, end - at);

  // One slice still on another disk: nothing joined, nothing deleted.
  MoveFileA((dir + "REPORT.s33").c_str(), (dir + "REPORT.away").c_str());
  RunBatch(dir, "REPORTs.bat");
  EXPECT_FALSE(Exists(dir + "REPORT.DOC"));
  EXPECT_TRUE(Exists(dir + "REPORT.s10"));
  EXPECT_TRUE(Exists(dir + "REPORT.s49"));
  EXPECT_NE(Get(dir + "out.txt").find("A slice of REPORT.DOC is missing"), std::string::npos);

  MoveFileA((dir + "REPORT.away").c_str(), (dir + "REPORT.s33").c_str());
  RunBatch(dir, "REPORTs.bat");
  EXPECT_EQ(Get(dir + "REPORT.DOC"), Pattern(81000, 5));
  EXPECT_FALSE(Exists(dir + "REPORT.s10"));
  EXPECT_FALSE(Exists(dir + "REPORT.s49"));

  // Run again with the slices gone: the rebuilt file is left alone.
  RunBatch(dir, "REPORTs.bat");
  EXPECT_EQ(Get(dir + "REPORT.DOC"), Pattern(81000, 5));
}

TEST(Wine, ShortSetKeepsItsOneLineBatchFile) {
  std::string dir = slicetest::ScratchFolder();
  Put(dir + "NOTES.TXT", Pattern(5000, 6));
  RunInputs in;
  in.sources = {dir + "NOTES.TXT"};
  in.sizeText = "@2048";
  in.destination = Destination::SlicedPath;
  in.slicePath = dir + "out";
  slicetest::MakeFolder(in.slicePath);
  slicetest::Host host;
  ASSERT_EQ(RunSlicing(in, host, kerfwise::SystemPlatform()), RunOutcome::Done);
  EXPECT_EQ(Get(dir + "out\\NOTESs.bat"), "@echo off\r\ncopy /b NOTES.s10 + NOTES.s11 + NOTES.s12 NOTES.TXT\r\n");
  RunBatch(dir + "out", "NOTESs.bat");
  EXPECT_EQ(Get(dir + "out\\NOTES.TXT"), Pattern(5000, 6));
}

// Run under a Japanese locale (KW_ACP=932, tests/slicing/dbcs.sh): "表" is
// 0x95 0x5C in the ANSI code page, its second byte a backslash.
TEST(DoubleByte, NameWithABackslashSecondByteIsSlicedAndJoined) {
  char want[8] = "";
  GetEnvironmentVariableA("KW_ACP", want, sizeof want);
  if (!want[0]) GTEST_SKIP() << "runs under dbcs.sh";
  ASSERT_EQ(GetACP(), UINT(atoi(want))) << "Wine took no double-byte code page from the locale";
  const std::string hyo = "\x95\x5C";
  for (bool deleteSource : {false, true}) {
    std::string dir = slicetest::ScratchFolder();
    std::string source = dir + hyo + ".txt";
    Put(source, Pattern(10000, 7));
    RunInputs in;
    in.sources = {source};
    in.sizeText = "@4096";
    in.destination = Destination::SlicedPath;
    in.slicePath = dir + "out";
    in.deleteSource = deleteSource;
    in.deleteSlicesAfterJoin = true;
    slicetest::MakeFolder(in.slicePath);
    slicetest::Platform fs;
    fs.programFolder = Unkerf().substr(0, Unkerf().rfind('\\') + 1);
    slicetest::Host host;
    ASSERT_EQ(RunSlicing(in, host, fs), RunOutcome::Done);
    std::string out = dir + "out\\";
    Strings files = Files(out);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (Strings{hyo + ".s10", hyo + ".s11", hyo + ".s12", hyo + ".ssc", hyo + ".sss",
                              hyo + "s.bat", hyo + "s.exe"}));
    EXPECT_EQ(Exists(source), !deleteSource);
    EXPECT_EQ(Get(out + hyo + ".sss"),
              "DEL\r\n" + hyo + ".txt\r\n" + hyo + ".s10\r\n" + hyo + ".s11\r\n" + hyo + ".s12\r\n");
    EXPECT_EQ(RunUnkerf(out + hyo + "s.exe", "/q"), 0u);
    EXPECT_EQ(Get(out + hyo + ".txt"), Pattern(10000, 7));
    EXPECT_FALSE(Exists(out + hyo + ".s10"));
  }
}
