// The program as an author runs it: a project folder made into floppy disk
// folders and FAT12 images, checked with mtools and Info-ZIP's unzip, made
// twice to the same bytes; and projects with mistakes refused before anything
// is written.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "mksetup/Fs.h"
#include "setup/wizard/PartCheck.h"

namespace fs = std::filesystem;
using namespace mksetup;

namespace {

struct Result {
  int rc = -1;
  std::string out;
};

Result Shell(const std::string& cmd) {
  Result r;
  FILE* p = popen((cmd + " 2>&1").c_str(), "r");
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  const int status = pclose(p);
  r.rc = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string Mksetup() { return std::string(std::getenv("KW_BIN")) + "/mksetup/mksetup"; }

std::string Noise(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (char& c : s) c = char((seed = seed * 1103515245u + 12345u) >> 24);
  return s;
}

const char kIni[] =
    "\\Kerf Demo\r\nKerf Demo\r\nKerf Demo 1.0\r\n"
    ":UNINSTALL\r\nKerfDemoTest\r\nKerf Demo 1.0\r\nqfunin.exe\r\nr\r\n"
    ":INSTALL\r\nkwdemo.ex_\r\nreadme.txt\r\nextra.txt\r\n:\r\n"
    ":WIN\r\nqfunin.exe\r\n:\r\n"
    ":SHORTCUTS\r\nKerf Demo\r\nkwdemo.exe\r\n:\r\n"
    ":RUNFILE\r\nkwdemo.exe\r\n:\r\n";

// A project of three floppies' worth, a stand-in installer, and an uninstaller.
class Author : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mksetup-road-" + std::to_string(getpid()));
    fs::remove_all(root_);
    MakeFolders(P("proj/disk1"));
    MakeFolders(P("bin"));
    WriteFile(P("proj/setup.ini"), kIni);
    WriteFile(P("proj/license.txt"), "KERF DEMO LICENSE\r\n");
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i * 7919 % 10007) + " of the readme\r\n";
    WriteFile(P("proj/readme.txt"), text);
    WriteFile(P("proj/kwdemo.ex_"), Noise(3000000, 7));
    WriteFile(P("proj/logo.bmp"), "BM" + Noise(5000, 3));
    WriteFile(P("proj/disk1/copyBrin.txt"), "Kerf Demo 1.0\r\n");
    WriteFile(P("proj/disk1/extra.txt"), "From disk 1.\r\n");
    WriteFile(P("bin/setup.exe"), Noise(174592, 1));
    WriteFile(P("bin/UNPACK32.DLL"), Noise(121344, 2));
    WriteFile(P("bin/qfunin.exe"), Noise(20000, 4));
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string P(const std::string& rel) const { return (root_ / rel).string(); }
  Result Make(const std::string& args, const std::string& out = "out") {
    return Shell(Mksetup() + " --bin " + P("bin") + " " + args + " " + P("proj") + " " + P(out));
  }
  std::vector<std::string> Names(const std::string& rel) const {
    std::vector<std::string> v;
    for (const FolderEntry& e : ListFolder(P(rel))) v.push_back(e.name);
    return v;
  }
  // A mistake is refused naming its place, and nothing is written.
  void Refused(const std::string& args, const std::string& where) {
    const Result r = Make(args, "refused");
    EXPECT_EQ(r.rc, 1) << r.out;
    EXPECT_NE(r.out.find(where), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("nothing written"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(P("refused")));
  }

  fs::path root_;
};

}  // namespace

TEST_F(Author, ThreeDisksAsFoldersAndImages) {
  const Result r = Make("--uninstaller --images");
  ASSERT_EQ(r.rc, 0) << r.out;
  EXPECT_NE(r.out.find("Kerf Demo 1.0: 3 disks of 1.44M (1,457,664 bytes of data space each)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("disk 1:     1,457,664 bytes used,             0 free"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("disk 2:     1,457,664 bytes used,             0 free  package.2"), std::string::npos);
  EXPECT_NE(r.out.find("verified:"), std::string::npos);
  EXPECT_EQ(Names("out"), (std::vector<std::string>{"disk1", "disk1.img", "disk2", "disk2.img", "disk3", "disk3.img"}));
  EXPECT_EQ(Names("out/disk1"), (std::vector<std::string>{"UNPACK32.DLL", "copyBrin.txt", "extra.txt", "package.1",
                                                          "setup.exe", "setup.lst"}));
  // setup.lst: the two sections every installer reads, then what identifies each part.
  const std::string lst = ReadFile(P("out/disk1/setup.lst"));
  const std::string old = ":EXTRA\r\nextra.txt\r\n:\r\n:PACKAGE\r\npackage.1\r\npackage.2\r\npackage.3\r\n:\r\n:PARTS\r\n";
  EXPECT_EQ(lst.substr(0, old.size()), old);
  std::string records;
  for (int d = 1; d <= 3; ++d) {
    const std::string part = ReadFile(P("out/disk" + std::to_string(d) + "/package." + std::to_string(d)));
    records += setup::FormatPartRecord({"package." + std::to_string(d), part.size(), setup::Crc32Of(part)}) + "\r\n";
  }
  EXPECT_EQ(lst.substr(std::min(lst.size(), old.size())), records + ":\r\n");
  EXPECT_EQ(Names("out/disk3"), std::vector<std::string>{"package.3"});

  // The images hold what the folders hold, full where the summary says so.
  for (int d = 1; d <= 3; ++d) {
    const std::string n = std::to_string(d), img = P("out/disk" + n + ".img");
    EXPECT_EQ(fs::file_size(img), 1474560u);
    const Result dir = Shell("mdir -i " + img + " ::");
    EXPECT_NE(dir.out.find("PACKAGE " + n), std::string::npos) << dir.out;
    EXPECT_EQ(dir.out.find(" 0 bytes free") != std::string::npos, d < 3) << dir.out;
    MakeFolders(P("from" + n));
    ASSERT_EQ(Shell("mcopy -n -m -i " + img + " '::*' " + P("from" + n)).rc, 0);
    EXPECT_EQ(Shell("diff -r " + P("from" + n) + " " + P("out/disk" + n)).rc, 0);
  }

  // Joined last listed first, the parts are a ZIP archive Info-ZIP accepts,
  // holding the package files and the uninstaller, flat.
  ASSERT_EQ(Shell("cat " + P("out/disk3/package.3") + " " + P("out/disk2/package.2") + " " + P("out/disk1/package.1") +
                " > " + P("joined.zip")).rc, 0);
  EXPECT_EQ(Shell("unzip -tq " + P("joined.zip")).rc, 0);
  EXPECT_EQ(Shell("unzip -Z1 " + P("joined.zip")).out, "kwdemo.ex_\nlicense.txt\nlogo.bmp\nqfunin.exe\nreadme.txt\nsetup.ini\n");
  MakeFolders(P("unzipped"));
  ASSERT_EQ(Shell("unzip -q " + P("joined.zip") + " -d " + P("unzipped")).rc, 0);
  EXPECT_EQ(ReadFile(P("unzipped/qfunin.exe")), ReadFile(P("bin/qfunin.exe")));
  EXPECT_EQ(ReadFile(P("unzipped/readme.txt")), ReadFile(P("proj/readme.txt")));

  // The same project again: the same bytes, images included; the old output
  // is replaced, nothing else in OUT is.
  ASSERT_EQ(Make("--uninstaller --images", "again").rc, 0);
  EXPECT_EQ(Shell("diff -r " + P("out") + " " + P("again")).rc, 0);
  ASSERT_EQ(Make("--uninstaller --images").rc, 0);
  WriteFile(P("again/notes.txt"), "mine");
  const Result kept = Make("--uninstaller", "again");
  EXPECT_EQ(kept.rc, 1);
  EXPECT_NE(kept.out.find("holds notes.txt, which mksetup did not make"), std::string::npos) << kept.out;
  EXPECT_EQ(ReadFile(P("again/notes.txt")), "mine");

  // An earlier disk folder that is a link: the link goes, what it points to stays.
  MakeFolders(P("elsewhere"));
  WriteFile(P("elsewhere/keep.txt"), "keep");
  fs::remove(P("again/notes.txt"));
  fs::remove_all(P("again/disk2"));
  fs::remove(P("again/disk3.img"));
  fs::create_directory_symlink(P("elsewhere"), P("again/disk2"));
  fs::create_symlink(P("nowhere"), P("again/disk3.img"));
  const Result linked = Make("--uninstaller", "again");
  ASSERT_EQ(linked.rc, 0) << linked.out;
  EXPECT_EQ(ReadFile(P("elsewhere/keep.txt")), "keep");
  EXPECT_EQ(Names("elsewhere"), std::vector<std::string>{"keep.txt"});
  EXPECT_FALSE(fs::is_symlink(P("again/disk2")));
  EXPECT_EQ(Names("again/disk2"), std::vector<std::string>{"package.2"});
  EXPECT_FALSE(fs::exists(fs::symlink_status(P("again/disk3.img"))));

  // Larger disks: all on disk 1.
  const Result big = Make("--disk 2.88M --uninstaller", "big");
  ASSERT_EQ(big.rc, 0) << big.out;
  EXPECT_NE(big.out.find("2 disks of 2.88M"), std::string::npos) << big.out;
}

TEST_F(Author, MistakesStopBeforeAnythingIsWritten) {
  // The uninstaller named but not packed: its line in setup.ini.
  Refused("", "setup.ini:15: error: 'qfunin.exe' is not in the package");
  // Asked for, but not built.
  fs::remove(P("bin/qfunin.exe"));
  Refused("--uninstaller", "--uninstaller: no qfunin.exe here");
  WriteFile(P("bin/qfunin.exe"), "MZ");
  const std::string ok = "--uninstaller";
  ASSERT_EQ(Make(ok, "fine").rc, 0);

  auto refusedWith = [&](const std::string& file, const std::string& where) {
    WriteFile(P(file), "x");
    Refused(ok, where);
    fs::remove(P(file));
  };
  refusedWith("proj/README.TXT", "error: 'README.TXT' and 'readme.txt' land on one name");
  refusedWith("proj/disk1/setup.exe", "disk1/setup.exe: error: mksetup puts the installer's own");
  refusedWith("proj/package.zip", "package.zip: error: 'package.zip' clashes with the package's own package.zip");
  refusedWith("proj/disk1/package.2", "disk1/package.2: error: 'package.2' clashes");
  // Two names on disk 1 that a FAT floppy holds as one.
  refusedWith("proj/disk1/EXTRA.TXT", "disk1/extra.txt: error: 'EXTRA.TXT' and 'extra.txt' are one name on a floppy");
  refusedWith("proj/disk1/CopyBrin.txt", "disk1/copyBrin.txt: error: 'CopyBrin.txt' and 'copyBrin.txt' are one name");
  refusedWith("proj/caf\xc3\xa9.txt", "error: a name with letters outside ASCII");
  refusedWith("proj/what?.txt", "error: the unpack library refuses this name");
  MakeFolders(P("proj/docs"));
  Refused(ok, "docs/: error: sub-folders are not packed");
  fs::remove(P("proj/docs"));
  fs::rename(P("proj/setup.ini"), P("setup.ini"));
  Refused(ok, "setup.ini: error: the project folder has no setup.ini");
  fs::rename(P("setup.ini"), P("proj/setup.ini"));
  Refused(ok + " --bin " + P("nowhere"), "nowhere: error: no setup.exe here");
  // Disk 1 too small for the installer's own files.
  Refused(ok + " --disk 200000", "leaving no room for the package");
  const Result bad = Make("--disk 1.4M", "refused");
  EXPECT_EQ(bad.rc, 2);
  EXPECT_NE(bad.out.find("use 720K, 1.2M, 1.44M, 2.88M or a byte count"), std::string::npos);
  // Images asked for without mtools: the disks already written go again.
  const Result noTools = Shell("PATH=/nowhere " + Mksetup() + " --bin " + P("bin") + " " + ok + " --images " +
                               P("proj") + " " + P("notools"));
  EXPECT_EQ(noTools.rc, 1);
  EXPECT_NE(noTools.out.find("--images needs mtools"), std::string::npos) << noTools.out;
  EXPECT_NE(noTools.out.find("the disks written are removed again"), std::string::npos) << noTools.out;
  EXPECT_TRUE(Names("notools").empty());
  const Result noImg = Make(ok + " --disk 2000000 --images", "noimg");
  EXPECT_EQ(noImg.rc, 1);
  EXPECT_NE(noImg.out.find("--images needs a floppy size"), std::string::npos) << noImg.out;
}
