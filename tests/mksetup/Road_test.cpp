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

// --best: the readme packs smaller than at zlib's highest level, the noise is
// stored either way, every run gives the same bytes, and Info-ZIP reads it.
TEST_F(Author, BestPacksSmallerTheSameEveryRun) {
  ASSERT_EQ(Make("--uninstaller", "plain").rc, 0);
  const Result r = Make("--uninstaller --best", "best");
  ASSERT_EQ(r.rc, 0) << r.out;
  EXPECT_NE(r.out.find("verified:"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("%, --best)"), std::string::npos) << r.out;
  ASSERT_EQ(Make("--uninstaller --best", "again").rc, 0);
  EXPECT_EQ(Shell("diff -r " + P("best") + " " + P("again")).rc, 0);
  auto archive = [&](const std::string& out) {
    std::string zip;
    for (const char* part : {"/disk3/package.3", "/disk2/package.2", "/disk1/package.1"}) zip += ReadFile(P(out + part));
    WriteFile(P(out + ".zip"), zip);
    return zip;
  };
  const std::string plain = archive("plain"), best = archive("best");
  EXPECT_LT(best.size(), plain.size());
  EXPECT_EQ(Shell("unzip -tq " + P("best.zip")).rc, 0);
  EXPECT_EQ(Shell("unzip -v " + P("best.zip") + " | grep -c ' Stored '").out, Shell("unzip -v " + P("plain.zip") + " | grep -c ' Stored '").out);
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
  Refused(ok + " --bin " + P("nowhere"), "nowhere: error: no such folder: make build puts setup.exe");
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

namespace {

std::string Without(std::string s, const std::string& part) {
  const size_t i = s.find(part);
  return i == std::string::npos ? s : s.erase(i, part.size());
}

bool Has(const Result& r, const std::string& text) { return r.out.find(text) != std::string::npos; }

}  // namespace

// --uninstaller lists the uninstaller under :WIN when the list does not, and
// a package without copyBrin.txt gets one naming the program: both said in
// the summary, both only on the disks. Without them the entry would point at
// nothing, which is refused with its fix.
TEST_F(Author, AddsWhatTheProjectLacksAndSaysSo) {
  const std::string bare = Without(kIni, ":WIN\r\nqfunin.exe\r\n:\r\n");
  WriteFile(P("proj/setup.ini"), bare);
  fs::remove(P("proj/disk1/copyBrin.txt"));
  const Result r = Make("--uninstaller");
  ASSERT_EQ(r.rc, 0) << r.out;
  EXPECT_TRUE(Has(r, "added: setup.ini: qfunin.exe listed under :WIN (--uninstaller)")) << r.out;
  EXPECT_TRUE(Has(r, "added: disk1/copyBrin.txt: written from the program name, so the first question reads "
                     "\"This program will install Kerf Demo 1.0\"")) << r.out;
  EXPECT_TRUE(Has(r, "setup.exe UNPACK32.DLL setup.lst copyBrin.txt extra.txt package.1")) << r.out;
  EXPECT_EQ(ReadFile(P("out/disk1/copyBrin.txt")), "Kerf Demo 1.0\r\n");
  EXPECT_EQ(ReadFile(P("proj/setup.ini")), bare);
  ASSERT_EQ(Shell("cat " + P("out/disk3/package.3") + " " + P("out/disk2/package.2") + " " + P("out/disk1/package.1") +
                  " > " + P("joined.zip")).rc, 0);
  EXPECT_EQ(Shell("unzip -p " + P("joined.zip") + " setup.ini").out, bare + ":WIN\r\nqfunin.exe\r\n:\r\n");

  Refused("", "setup.ini:7: error: uninstall program 'qfunin.exe' is not installed, so the uninstall entry would "
              "point at nothing in the Windows folder: pack it with --uninstaller, or list it under :WIN");
  // Its problems keep the author's line numbers; without qfunin.exe in --bin
  // that alone is said.
  std::string shifted = kIni;
  shifted.replace(shifted.find(":WIN\r\nqfunin.exe"), 16, ":WIN\r\nreadme.txt");
  shifted.replace(shifted.find(":RUNFILE\r\nkwdemo.exe"), 20, ":RUNFILE\r\nkwdemo.ex_");
  WriteFile(P("proj/setup.ini"), shifted);
  Refused("--uninstaller", "setup.ini:22: error: :RUNFILE program 'kwdemo.ex_'");
  WriteFile(P("proj/setup.ini"), bare);
  fs::rename(P("bin/qfunin.exe"), P("qfunin.exe"));
  const Result noBin = Make("--uninstaller", "refused");
  EXPECT_EQ(noBin.rc, 1);
  EXPECT_TRUE(Has(noBin, "--uninstaller: no qfunin.exe here")) << noBin.out;
  EXPECT_FALSE(Has(noBin, "setup.ini:")) << noBin.out;
  fs::rename(P("qfunin.exe"), P("bin/qfunin.exe"));

  std::string other = bare;
  other.replace(other.find("qfunin.exe"), 10, "kwunin.exe");
  WriteFile(P("proj/setup.ini"), other);
  Refused("--uninstaller", "setup.ini:7: error: --uninstaller packs qfunin.exe, but :UNINSTALL names 'kwunin.exe'");
  WriteFile(P("proj/setup.ini"), Without(Without(kIni, ":WIN\r\nqfunin.exe\r\n:\r\n"),
                                         ":UNINSTALL\r\nKerfDemoTest\r\nKerf Demo 1.0\r\nqfunin.exe\r\nr\r\n"));
  const Result noEntry = Make("--uninstaller", "noentry");
  EXPECT_EQ(noEntry.rc, 0) << noEntry.out;
  EXPECT_TRUE(Has(noEntry, "setup.ini: warning: --uninstaller packs qfunin.exe, but no :UNINSTALL section")) << noEntry.out;

  // The author's own copyBrin.txt is kept.
  WriteFile(P("proj/setup.ini"), kIni);
  WriteFile(P("proj/copyBrin.txt"), "Kerf Demo, the sample\r\n");
  const Result own = Make("--uninstaller", "own");
  EXPECT_FALSE(Has(own, "added:")) << own.out;
  EXPECT_EQ(ReadFile(P("own/disk1/copyBrin.txt")), "Kerf Demo, the sample\r\n");
}

// --plan: what lands where with the default folders, the values after
// substitution, the uninstall entry and the disks; the build's checks; nothing written.
TEST_F(Author, PlanSaysWhatTheInstallationWillDo) {
  WriteFile(P("proj/setup.ini"), std::string(kIni) +
                                     ":reg\r\nHKEY_CURRENT_USER\r\nSoftware\\Quillfen\\KerfDemo\r\nPath\r\nr\r\n"
                                     "HKEY_CURRENT_USER\r\n\\Software\\Quillfen\\KerfDemo\r\nRuns\r\n#$10#\r\n"
                                     "HKEY_CLASSES_ROOT\r\n>.kd<\\shell\\open\\command\r\n\r\np\r\n:\r\n"
                                     ":REMOVEFILES\r\n<INSTALL>old.hlp\r\n:\r\n");
  const std::string plan = Mksetup() + " --bin " + P("bin") + " --plan ";
  const Result r = Shell(plan + "--uninstaller " + P("proj"));
  ASSERT_EQ(r.rc, 0) << r.out;
  for (const char* line : {
           "  destination folder  C:\\Program Files\\Kerf Demo\n",
           "  Start Menu folder   C:\\WINDOWS\\Start Menu\\Programs\\Kerf Demo\n",
           "deletes, where they exist:\n  C:\\Program Files\\Kerf Demo\\old.hlp\n",
           "  kwdemo.ex_      C:\\Program Files\\Kerf Demo\\kwdemo.exe  (installed as kwdemo.exe)\n",
           "  extra.txt       C:\\Program Files\\Kerf Demo\\extra.txt\n",
           "  qfunin.exe      C:\\WINDOWS\\qfunin.exe\n",
           "  Kerf Demo.lnk   shortcut to C:\\Program Files\\Kerf Demo\\kwdemo.exe\n",
           "  HKEY_CURRENT_USER\\Software\\Quillfen\\KerfDemo\n    Path = \"C:\\Program Files\\Kerf Demo\"\n",
           "    Runs = 16 (number)\n",
           "  HKEY_CLASSES_ROOT\\{default value of .kd}\\shell\\open\\command  (or .kd<\\shell\\open\\command when that key "
           "has no default value)\n    (default) = \"C:\\Program Files\\Kerf Demo\\kwdemo.exe %1\"\n",
           "uninstall entry: HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KerfDemoTest\n",
           "    UninstallString = \"C:\\WINDOWS\\qfunin.exe \"C:\\Program Files\\Kerf Demo\\unin.ini\"\"\n",
           "at the end asks \"Installation is complete, would you like to run Kerf Demo 1.0 now?\"; Yes opens "
           "C:\\Program Files\\Kerf Demo\\kwdemo.exe\n",
           "it would take:\nKerf Demo 1.0: 3 disks of 1.44M",
           "mksetup: --plan: nothing written\n"})
    EXPECT_TRUE(Has(r, line)) << line << "\n---\n" << r.out;
  EXPECT_TRUE(Names("").size() == 2);  // bin and proj only

  // The same checks as a build, and no OUT.
  const Result refused = Shell(plan + P("proj"));
  EXPECT_EQ(refused.rc, 1);
  EXPECT_TRUE(Has(refused, "pack it with --uninstaller")) << refused.out;
  EXPECT_EQ(Shell(plan + P("proj") + " " + P("out")).rc, 2);
}

// Wizard texts that will not show, part names DOS cannot read, and the
// messages for one disk and for a refusal before writing.
TEST_F(Author, TextsNamesAndMessages) {
  WriteFile(P("proj/license.txt"), "KERF DEMO LICENSE\r\nYou may use this demonstration program for any purpose.\r\n");
  WriteFile(P("proj/copyMott.txt"), "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7 is cut off\r\n");
  WriteFile(P("proj/kwdemo.ex_"), Noise(100000, 7));
  const Result r = Make("--uninstaller --images --disk 2.88M");
  ASSERT_EQ(r.rc, 0) << r.out;
  EXPECT_TRUE(Has(r, "license.txt:2: warning: a line of 55 characters: the license box shows about 44")) << r.out;
  EXPECT_TRUE(Has(r, "copyMott.txt:7: warning: the notice box on the introduction page shows about 6 lines")) << r.out;
  EXPECT_TRUE(Has(r, "images: 1 FAT12 image, " + P("out") + "/disk1.img\n")) << r.out;

  for (const char* name : {"packages", "Kerf_1"})
    EXPECT_EQ(Shell(Mksetup() + " --bin " + P("bin") + " --uninstaller --plan --name " + name + " " + P("proj")).rc, 0);
  for (const char* name : {"package12", "a.b", "\"a b\"", "caf\xc3\xa9"}) {
    const Result bad = Make("--uninstaller --name " + std::string(name), "refused");
    EXPECT_EQ(bad.rc, 2) << name;
    EXPECT_TRUE(Has(bad, "lie on FAT12 floppies that DOS reads, so NAME must be at most 8 letters")) << bad.out;
  }

  // A folder that is not mksetup's: nothing written, and an earlier output stays.
  WriteFile(P("out/notes.txt"), "mine");
  const Result kept = Make("--uninstaller");
  EXPECT_EQ(kept.rc, 1);
  EXPECT_TRUE(Has(kept, "holds notes.txt, which mksetup did not make: name a new or empty folder\nmksetup: nothing written"))
      << kept.out;
  EXPECT_FALSE(Has(kept, "removed again")) << kept.out;
  EXPECT_TRUE(fs::exists(P("out/disk1/package.1")));
}
