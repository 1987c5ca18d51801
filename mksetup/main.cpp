// mksetup [options] PROJECT OUT: an author's project folder made into the
// installer's floppy set, checked before and verified after writing.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "mksetup/Builder.h"
#include "mksetup/Fs.h"
#include "mksetup/ZipWrite.h"
#include "mksetup/Preview.h"
#include "toolkit/Error.h"

#ifndef KW_DEFAULT_BIN
#define KW_DEFAULT_BIN ""
#endif

namespace {

const char kUsage[] =
    "usage: mksetup [options] PROJECT OUT\n"
    "       mksetup [options] --plan PROJECT\n"
    "  PROJECT    setup.ini and every file of the package; its sub-folder disk1 holds\n"
    "             what lies beside the installer on disk 1 (copyBrin.txt, :EXTRA files)\n"
    "  OUT        gets disk1, disk2, ... (a new folder, or one mksetup made before)\n"
    "options:\n"
    "  --bin DIR      the folder with setup.exe and UNPACK32.DLL\n"
    "  --disk SIZE    720K, 1.2M, 1.44M (default), 2.88M or a size in bytes\n"
    "  --images       also OUT/diskN.img, a FAT12 image of each disk (mtools)\n"
    "  --name NAME    the package parts are NAME.1, NAME.2, ... (default: package;\n"
    "                 at most 8 letters, digits, _ or -)\n"
    "  --plan         say what the installation will do and how many disks it takes;\n"
    "                 write nothing\n"
    "  --uninstaller  pack the project's uninstaller, qfunin.exe, from the --bin folder,\n"
    "                 and list it under :WIN when setup.ini does not\n"
#ifdef KW_HAVE_ZOPFLI
    "  --best         pack with an exhaustive deflate encoder: about 4% smaller, many\n"
    "                 times slower; any setup.exe unpacks it\n"
    "an author's guide: docs/authoring.md\n";
#else
    "  --best         (not in this build: the Linux build of mksetup has it)\n"
    "an author's guide: docs/authoring.md\n";
#endif

// The installer's files: beside this program (Windows), or the project's own
// dist/win32 (dist/linux/mksetup, or a build of it).
std::string DefaultBin() {
  const std::string self = mksetup::ProgramFolder();
#ifdef _WIN32
  return self;
#else
  const std::string sibling = mksetup::JoinPath(self, "../win32");
  if (mksetup::IsFile(mksetup::JoinPath(sibling, "setup.exe"))) return sibling;
  return KW_DEFAULT_BIN;
#endif
}

int Usage(const std::string& why) {
  std::fprintf(stderr, "mksetup: %s\n%s", why.c_str(), kUsage);
  return 2;
}

// The parts go onto FAT12 floppies that DOS reads: NAME.1 must be an 8.3 name.
bool DosBaseName(const std::string& name) {
  if (name.empty() || name.size() > 8) return false;
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '_' && c != '-') return false;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace mksetup;
  Options opt;
  std::string why;
  ParseDiskFormat("1.44M", &opt.disk, &why);
  std::vector<std::string> plain;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const bool more = i + 1 < argc;
    if (a == "--help" || a == "-h") return std::fputs(kUsage, stdout), 0;
    if (a == "--images") opt.images = true;
    else if (a == "--uninstaller") opt.uninstaller = true;
    else if (a == "--best") {
      if (!HaveBestPacking())
        return Usage("--best: this build has no exhaustive encoder; use the Linux build of mksetup for it");
      opt.best = true;
    }
    else if (a == "--plan") opt.plan = true;
    else if (a == "--bin" && more) opt.bin = argv[++i];
    else if (a == "--name" && more) opt.name = argv[++i];
    else if (a == "--disk" && more) {
      if (!ParseDiskFormat(argv[++i], &opt.disk, &why)) return Usage(why);
    } else if (a.rfind("--", 0) == 0) return Usage("unknown option " + a);
    else plain.push_back(a);
  }
  if (opt.plan && plain.size() != 1) return Usage("--plan takes the project folder alone");
  if (!opt.plan && plain.size() != 2) return Usage("name a project folder and an output folder");
  opt.project = plain[0];
  if (!opt.plan) opt.out = plain[1];
  if (opt.bin.empty()) opt.bin = DefaultBin();
  if (!DosBaseName(opt.name))
    return Usage("--name " + opt.name + ": the parts " + opt.name + ".1, " + opt.name +
                 ".2 ... lie on FAT12 floppies that DOS reads, so NAME must be at most 8 letters, digits or _-, "
                 "without dot or blank");

  Project project;
  std::vector<Problem> problems;
  const bool ok = LoadProject(opt, &project, &problems);
  for (const Problem& p : problems) std::fprintf(stderr, "%s\n", Format(p).c_str());
  if (!ok) {
    std::fprintf(stderr, "mksetup: nothing written\n");
    return 1;
  }
  Plan plan;
  if (!MakePlan(opt, project, &plan, &why)) {
    std::fprintf(stderr, "mksetup: %s\nmksetup: nothing written\n", why.c_str());
    return 1;
  }
  if (opt.plan) {
    try {
      std::fputs(InstallPreview(project).c_str(), stdout);
    } catch (const kw::Error& e) {
      std::fprintf(stderr, "mksetup: %s\n", e.what());
      return 1;
    }
    std::printf("it would take:\n%s", Summary(opt, project, plan).c_str());
    std::printf("mksetup: --plan: nothing written\n");
    return 0;
  }
  try {
    CheckOutFolder(opt);
  } catch (const kw::Error& e) {
    std::fprintf(stderr, "mksetup: %s\nmksetup: nothing written\n", e.what());
    return 1;
  }
  try {
    WriteDisks(opt, plan);
    const int n = VerifyDisks(opt, project, plan);
    if (opt.images) WriteImages(opt, plan);
    std::fputs(Summary(opt, project, plan).c_str(), stdout);
    std::printf("verified: parts joined last listed first, %d entries walked and unpacked, equal to the project\n", n);
    if (opt.images)
      std::printf("images: %zu FAT12 image%s, %s/disk1.img%s\n", plan.disks.size(), plan.disks.size() == 1 ? "" : "s",
                  opt.out.c_str(), plan.disks.size() == 1 ? "" : " ...");
  } catch (const kw::Error& e) {
    std::fprintf(stderr, "mksetup: %s\n", e.what());
    try {
      std::fprintf(stderr, RemoveDisks(opt) ? "mksetup: the disks written are removed again\n"
                                            : "mksetup: nothing written\n");
    } catch (const kw::Error& e2) {
      std::fprintf(stderr, "mksetup: %s\n", e2.what());
    }
    return 1;
  }
  return 0;
}
