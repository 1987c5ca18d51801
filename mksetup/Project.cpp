#include "mksetup/Project.h"

#include <algorithm>
#include <map>

#include "mksetup/Amend.h"
#include "mksetup/Fs.h"
#include "mksetup/TextFit.h"
#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"
#include "toolkit/PathText.h"
#include "unpack/UnpackCore.h"

namespace mksetup {

namespace {

// Read by the installer or the engine from the unpacked package, named by no list.
const char* const kReadByName[] = {"setup.ini", "license.txt", "readme.txt", "copyMott.txt", "logo.bmp", "_setup.exe"};

bool OneOf(const std::string& name, std::initializer_list<std::string> names) {
  for (const std::string& n : names)
    if (kw::SameText(name, n)) return true;
  return false;
}

class Loader {
 public:
  Loader(const Options& opt, Project* p, std::vector<Problem>* problems) : opt_(opt), p_(*p), out_(*problems) {}

  bool Run() {
    if (!IsFolder(opt_.project)) return Error(opt_.project, 0, "no such project folder"), false;
    if (!IsFile(JoinPath(opt_.project, "setup.ini")))
      return Error("setup.ini", 0, "the project folder has no setup.ini (the installation list); docs/authoring.md describes it"), false;
    Root();
    Disk1();
    Bin();
    Clashes();
    p_.ini = ReadFile(JoinPath(opt_.project, "setup.ini"));
    IniContext ctx;
    for (const auto* v : {&p_.package, &p_.extras})
      for (const SourceFile& f : *v) ctx.packageFiles.push_back(f.name);
    // Packed even when --bin lacks it: that is reported there, once.
    if (opt_.uninstaller) ctx.packageFiles.push_back(kUninstaller);
    std::vector<Problem> found = CheckSetupIni(p_.ini, ctx, &p_.facts);
    if (opt_.uninstaller) AddUninstaller(ctx, &found);
    for (Problem& q : found) out_.push_back(std::move(q));
    Unused();
    WizardTexts();
    if (HasErrors(out_)) return false;
    AddCopyBrin();
    return true;
  }

 private:
  void Error(const std::string& file, int line, std::string text) { out_.push_back({file, line, false, std::move(text)}); }
  void Warn(const std::string& file, int line, std::string text) { out_.push_back({file, line, true, std::move(text)}); }

  SourceFile Read(const std::string& folder, const FolderEntry& e) {
    SourceFile f{e.name, JoinPath(folder, e.name), "", e.mtime};
    f.data = ReadFile(f.path);
    return f;
  }

  bool NameOk(const std::string& shown, const std::string& name) {
    const std::string why = NameProblem(name);
    if (!why.empty()) Error(shown, 0, why);
    return why.empty();
  }

  void Root() {
    for (const FolderEntry& e : ListFolder(opt_.project)) {
      if (e.folder) {
        if (e.name != "disk1")
          Error(e.name + "/", 0, "sub-folders are not packed: the installer unpacks every file into one "
                                 "folder; move its files up, or into disk1 to lie beside the installer");
        continue;
      }
      if (!NameOk(e.name, e.name)) continue;
      if (kw::SameText(e.name, "copyBrin.txt")) p_.beside.push_back(Read(opt_.project, e));  // read before unpacking
      else p_.package.push_back(Read(opt_.project, e));
    }
  }

  void Disk1() {
    const std::string d1 = JoinPath(opt_.project, "disk1");
    if (!IsFolder(d1)) return;
    // On a FAT floppy one of two names that differ only in letter case replaces the other.
    std::map<std::string, std::string> onDisk;
    for (const FolderEntry& e : ListFolder(d1)) {
      const std::string shown = "disk1/" + e.name;
      if (e.folder) {
        Error(shown + "/", 0, "the installer copies only files from beside it, not folders; move its files into disk1");
        continue;
      }
      if (!NameOk(shown, e.name)) continue;
      auto [seen, fresh] = onDisk.emplace(kw::LowerAscii(e.name), e.name);
      if (!fresh) {
        Error(shown, 0, "'" + seen->second + "' and '" + e.name +
                            "' are one name on a floppy (letter case is ignored); keep one");
        continue;
      }
      if (OneOf(e.name, {kInstallerFiles[0], kInstallerFiles[1], kInstallerFiles[2]}))
        Error(shown, 0, "mksetup puts the installer's own " + e.name + " on disk 1; remove this one");
      else if (kw::SameText(e.name, "setup.ini"))
        Error(shown, 0, "setup.ini belongs in the project folder itself, where mksetup checks and packs it");
      else if (kw::SameText(e.name, "copyBrin.txt")) {
        if (!p_.beside.empty()) Error(shown, 0, "copyBrin.txt is both here and in the project folder; keep one");
        else p_.beside.push_back(Read(d1, e));
      } else
        p_.extras.push_back(Read(d1, e));
    }
  }

  void Bin() {
    const std::string where = opt_.bin.empty() ? "(no --bin folder)" : opt_.bin;
    if (!IsFolder(opt_.bin))
      return Error(where, 0, "no such folder: make build puts setup.exe, UNPACK32.DLL and qfunin.exe in "
                             "dist/win32; or name their folder by --bin");
    auto take = [&](const std::string& name, SourceFile* f) {
      const std::string path = JoinPath(opt_.bin, name);
      if (!IsFile(path)) return Error(where, 0, "no " + name + " here; name the folder with setup.exe and UNPACK32.DLL by --bin"), false;
      *f = SourceFile{name, path, ReadFile(path), 0};
      for (const FolderEntry& e : ListFolder(opt_.bin))
        if (e.name == name) f->mtime = e.mtime;
      return true;
    };
    take("setup.exe", &p_.setupExe);
    take("UNPACK32.DLL", &p_.unpackDll);
    if (!opt_.uninstaller) return;
    SourceFile u;
    if (!IsFile(JoinPath(opt_.bin, kUninstaller)))
      return Error(where, 0, std::string("--uninstaller: no ") + kUninstaller +
                                 " here (the project's uninstaller; build it first, or name its folder by --bin)");
    take(kUninstaller, &u);
    p_.package.push_back(std::move(u));
    std::sort(p_.package.begin(), p_.package.end(), [](const SourceFile& a, const SourceFile& b) { return a.name < b.name; });
  }

  // Names that meet in one folder: in the installer's temporary folder the
  // package files, the :EXTRA copies and the parts themselves all lie side by side.
  void Clashes() {
    std::map<std::string, std::string> seen;  // lower-case name -> how it was first met
    for (const SourceFile& f : p_.package) {
      auto [it, fresh] = seen.emplace(kw::LowerAscii(f.name), f.name);
      if (!fresh)
        Error(f.name, 0, "'" + it->second + "' and '" + f.name + "' land on one name when unpacked (letter case is ignored); rename one");
    }
    std::vector<std::string> own{opt_.name + ".zip", "EXTRA"};
    for (int n = 1; n <= 99; ++n) own.push_back(opt_.name + "." + std::to_string(n));
    for (const auto* v : {&p_.package, &p_.extras})
      for (const SourceFile& f : *v)
        for (const std::string& o : own)
          if (kw::SameText(f.name, o))
            Error(v == &p_.package ? f.name : "disk1/" + f.name, 0,
                  "'" + f.name + "' clashes with the package's own " + (o == "EXTRA" ? "EXTRA folder" : o) +
                      " in the installer's temporary folder; rename it or choose another --name");
    for (const SourceFile& f : p_.extras) {
      auto it = seen.find(kw::LowerAscii(f.name));
      if (it != seen.end())
        Warn("disk1/" + f.name, 0, "replaces the package's " + it->second + " after unpacking (files from disk 1 win)");
    }
  }

  SourceFile* PackageFile(const std::string& name) {
    for (SourceFile& f : p_.package)
      if (kw::SameText(f.name, name)) return &f;
    return nullptr;
  }

  // --uninstaller packs qfunin.exe; the uninstall entry finds it only in the
  // Windows folder, so the :WIN line it needs is added when missing.
  void AddUninstaller(IniContext ctx, std::vector<Problem>* found) {
    const IniFacts& f = p_.facts;
    if (f.uninstaller.empty()) {
      bool listed = false;
      for (const std::string& l : setup::SplitLines(p_.ini)) listed = listed || kw::SameText(l, ":UNINSTALL");
      if (!listed)
        Warn("setup.ini", 0, std::string("--uninstaller packs ") + kUninstaller +
                                 ", but no :UNINSTALL section makes an uninstall entry that starts it: add one "
                                 "(key name, display name, " + kUninstaller + ", r)");
      return;
    }
    if (!kw::SameText(f.uninstaller, kUninstaller))
      return Error("setup.ini", f.uninstallerLine,
                   std::string("--uninstaller packs ") + kUninstaller + ", but :UNINSTALL names '" + f.uninstaller +
                       "' as the uninstall program: write " + kUninstaller +
                       " here, or leave out --uninstaller and pack your own");
    for (const std::string& t : f.winTargets)
      if (kw::SameText(t, kUninstaller)) return;
    // Checked as the author wrote it, so that lines keep their numbers.
    ctx.addedUnderWin = kUninstaller;
    *found = CheckSetupIni(p_.ini, ctx, &p_.facts);
    p_.ini = WithWinEntry(p_.ini, kUninstaller);
    if (SourceFile* s = PackageFile("setup.ini")) s->data = p_.ini;
    p_.notes.push_back(std::string("setup.ini: ") + kUninstaller +
                       " listed under :WIN (--uninstaller), where the uninstall entry looks for it; "
                       "the project's setup.ini is unchanged");
  }

  // Without copyBrin.txt the floppy question and the side box would name the
  // installer rather than the program.
  void AddCopyBrin() {
    if (!p_.beside.empty() || p_.facts.programName.empty()) return;
    const SourceFile* ini = PackageFile("setup.ini");
    p_.beside.push_back(SourceFile{"copyBrin.txt", "", DefaultCopyBrin(p_.facts.programName), ini ? ini->mtime : 0});
    p_.notes.push_back("disk1/copyBrin.txt: written from the program name, so the first question reads \"This "
                       "program will install " + p_.facts.programName +
                       "\"; put your own copyBrin.txt in the project to change the side box");
  }

  // A disk1 file of the same name replaces the package's after unpacking.
  void WizardTexts() {
    for (const TextBox* box : {&kLicenseBox, &kReadmeBox, &kNoticeBox, &kSideBox}) {
      const SourceFile* f = nullptr;
      for (const auto* v : {&p_.package, &p_.extras, &p_.beside})
        for (const SourceFile& s : *v)
          if (kw::SameText(s.name, box->file)) f = &s;
      if (!f) continue;
      const bool onDisk1 = f->path == JoinPath(JoinPath(opt_.project, "disk1"), f->name);
      for (Problem& q : CheckTextFits(*box, onDisk1 ? "disk1/" + f->name : f->name, f->data))
        out_.push_back(std::move(q));
    }
  }

  void Unused() {
    for (const SourceFile& f : p_.package) {
      bool used = OneOf(f.name, {kReadByName[0], kReadByName[1], kReadByName[2], kReadByName[3], kReadByName[4], kReadByName[5]});
      for (const std::string& n : p_.facts.named) used = used || kw::SameText(n, f.name);
      if (!used) Warn(f.name, 0, "packed, but setup.ini installs it nowhere; list it, or take it out of the project folder");
    }
  }

  const Options& opt_;
  Project& p_;
  std::vector<Problem>& out_;
};

}  // namespace

std::string NameProblem(const std::string& name) {
  for (unsigned char c : name)
    if (c >= 0x80)
      return "a name with letters outside ASCII: setup.ini is read in the Windows code page, so the "
             "installer would not find it; rename it";
  std::string why;
  if (unpack::SafePath(name, &why).empty()) return "the unpack library refuses this name: " + why + "; rename it";
  if (name.size() > 200) return "a name longer than 200 characters; rename it";
  return "";
}

bool LoadProject(const Options& opt, Project* p, std::vector<Problem>* problems) {
  try {
    return Loader(opt, p, problems).Run();
  } catch (const kw::Error& e) {
    problems->push_back({opt.project, 0, false, e.what()});
    return false;
  }
}

}  // namespace mksetup
