#include "mksetup/Preview.h"

#include "setup/engine/InstallPlan.h"
#include "setup/engine/ListFormat.h"
#include "setup/engine/RegText.h"
#include "setup/engine/ShortcutText.h"
#include "setup/engine/UninstallText.h"
#include "toolkit/PathText.h"

namespace mksetup {

namespace {

std::string Pad(const std::string& s, size_t n) { return s.size() >= n ? s + "  " : s + std::string(n - s.size(), ' '); }

std::string StripBackslash(std::string s) {
  if (!s.empty() && s.back() == '\\') s.pop_back();
  return s;
}

// The file-name part: after the last backslash or colon.
std::string NamePart(const std::string& path) {
  const size_t i = path.find_last_of("\\:");
  return i == std::string::npos ? path : path.substr(i + 1);
}

class Preview {
 public:
  Preview(const Project& p, const DefaultFolders& f) : p_(p), f_(f) {
    list_.LoadText(p.ini);
    dest_ = StripBackslash(f.programFiles + list_.At(0));
    menu_ = setup::FullStartMenuFolder(f.programs, list_.At(1));
  }

  std::string Run() {
    Line(list_.At(2) + ", installed with the folders the wizard offers (the user may change the first two):");
    Line("  destination folder  " + dest_);
    Line("  Start Menu folder   " + menu_);
    Line("  Windows folder      " + f_.windows);
    NotRunning();
    Backup();
    Removals();
    Copies();
    Shortcuts();
    RunFile();
    PostInstall();
    Registry();
    Uninstall();
    End();
    return out_;
  }

 private:
  void Line(const std::string& s) { out_ += s + "\n"; }
  int Find(const char* keyword) const { return list_.Find(keyword); }
  const std::string& After(int k, int n) const { return list_.At(size_t(k) + size_t(n)); }

  void NotRunning() {
    const int k = Find(setup::section::kNotRunning);
    if (k < 0 || After(k, 1).empty()) return;
    const std::string& w = After(k, 1);
    const size_t comma = w.find(',');
    const std::string title = comma == w.npos ? w : w.substr(comma + 1);
    const std::string cls = comma == w.npos ? "" : w.substr(0, comma);
    Line("before the folders page: stops while a window \"" + title + "\"" +
         (cls.empty() ? "" : " of class " + cls) + " is open, and asks to close it");
  }

  void Backup() {
    if (Find(setup::section::kSysBackup) < 0) return;
    const std::string ext = setup::BackupExtension(list_);
    std::string s = "backs up";
    for (const setup::SystemFile& sf : setup::kSystemFiles) s += std::string(" ") + sf.path;
    Line(s + " into " + f_.windows + " (MSDOS." + ext + ", CONFIG." + ext + ", AUTOEXEC." + ext + ")");
  }

  void Removals() {
    const std::vector<std::string> v = list_.ListSection(setup::section::kRemoveFiles);
    if (v.empty()) return;
    Line("deletes, where they exist:");
    for (const std::string& e : v) Line("  " + setup::ExpandRemovePath(e, f_.windows, dest_));
  }

  void Copies() {
    struct Section {
      const char* keyword;
      setup::TargetFolder folder;
      std::string base;
    };
    const Section sections[] = {{setup::section::kInstall, setup::TargetFolder::Dest, dest_},
                                {setup::section::kWin, setup::TargetFolder::Windows, f_.windows},
                                {setup::section::kSystem, setup::TargetFolder::System, f_.windows}};
    bool any = false;
    for (const Section& s : sections) {
      for (const std::string& line : list_.ListSection(s.keyword)) {
        if (!any) Line("files (package file, where it lands):"), any = true;
        const setup::CopyEntry e = setup::ParseCopyEntry(line);
        std::string note;
        if (e.keep) note += "  only when no such file is there yet";
        if (e.target != e.source) note += "  (installed as " + e.target + ")";
        Line("  " + Pad(line, 16) + setup::CopyTargetPath(s.folder, s.base, f_.windows, e.target) + note);
      }
    }
  }

  void Shortcuts() {
    const int k = Find(setup::section::kShortcuts);
    if (k < 0) return;
    Line("Start Menu entries in " + menu_ + ":");
    list_.ForEachGroup(k, 2, [&](std::span<const std::string> g) {
      const std::string target = dest_ + "\\" + g[1];
      if (main_.empty()) main_ = NamePart(target);
      if (NamePart(menu_ + "\\" + g[0]) == NamePart(target))
        Line("  " + Pad(g[0], 16) + "a copy of " + target + " (same name as its target)");
      else
        Line("  " + Pad(g[0] + ".lnk", 16) + "shortcut to " + target);
    });
  }

  void RunFile() {
    const int k = Find(setup::section::kRunFile);
    runFile_ = k >= 0;
    if (runFile_) main_ = After(k, 1);
  }

  void PostInstall() {
    for (const std::string& t : p_.facts.installTargets)
      if (kw::SameText(t, "_setup.exe"))
        return Line("after copying: runs " + dest_ + "\\_setup.exe with the unpacked package's folder as its "
                    "argument, waits for it, and deletes it");
  }

  void Registry() {
    const int k = Find(setup::section::kReg);
    if (k < 0) return;
    Line("registry values:");
    bool first = Find(setup::section::kDink) >= 0;
    std::string lastKey;
    list_.ForEachGroup(k, 4, [&](std::span<const std::string> g) {
      if (first) Line("  first deletes " + g[0] + "\\" + std::string(setup::RelativeKeyPath(g[1])) +
                      " with its sub-keys, unless it holds a value \"reg\"");
      first = false;
      std::string key(setup::RelativeKeyPath(g[1]));
      if (auto r = setup::ParseKeyRedirect(g[1]))
        key = "{default value of " + r->lookup + "}" + r->rest + "  (or " + r->fallback +
              " when that key has no default value)";
      const std::string data = setup::SubstituteRegData(g[3], dest_, main_);
      std::string shown = "\"" + data + "\"";
      if (!data.empty() && data[0] == '#') {
        const auto n = setup::StrToInt(setup::NumberText(data));
        shown = n ? std::to_string(*n) + " (number)" : data + " (not a number: the installation stops here)";
      }
      // Values of one key in a row are shown under it once.
      if (g[0] + "\\" + key != lastKey) Line("  " + g[0] + "\\" + key);
      lastKey = g[0] + "\\" + key;
      Line("    " + (g[2].empty() ? std::string("(default)") : g[2]) + " = " + shown);
    });
  }

  void Uninstall() {
    const int k = Find(setup::section::kUninstall);
    if (k < 0) {
      Line("no uninstall entry (no :UNINSTALL section)");
      return;
    }
    const std::string listPath = setup::UninstallListPath(After(k, 4), dest_, f_.windows);
    Line("uninstall entry: HKEY_LOCAL_MACHINE\\" + std::string(setup::kUninstallKey) + After(k, 1));
    Line("    DisplayName = \"" + After(k, 2) + "\"");
    Line("    UninstallString = \"" + setup::UninstallCommand(f_.windows, After(k, 3), listPath) + "\"");
    Line("  uninstall list: " + listPath + " (every file, shortcut and value above)");
  }

  void End() {
    if (Find(setup::section::kReboot) >= 0)
      Line("then asks \"" + std::string(setup::kRestartText) + "\" and restarts Windows on OK");
    if (runFile_)
      Line("at the end asks \"" + setup::RunNowQuestion(list_.At(2)) + "\"; Yes opens " + dest_ + "\\" + main_);
    else
      Line("at the end shows \"" + std::string(setup::kCompleteText) + "\"");
  }

  const Project& p_;
  const DefaultFolders& f_;
  setup::LineList list_;
  std::string dest_, menu_, main_, out_;
  bool runFile_ = false;
};

}  // namespace

std::string InstallPreview(const Project& p, const DefaultFolders& folders) { return Preview(p, folders).Run(); }

}  // namespace mksetup
