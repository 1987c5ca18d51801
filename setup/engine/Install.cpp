#include "setup/engine/Install.h"

#include <windows.h>

#include "setup/engine/EngineState.h"
#include "setup/engine/Folders.h"
#include "setup/engine/InstallPlan.h"
#include "setup/engine/RegSection.h"
#include "setup/engine/Shortcuts.h"
#include "setup/engine/SystemBackup.h"
#include "setup/engine/Uninstall.h"

namespace setup {

bool RebootNeeded = false;
bool RunAtEnd = false;

namespace {

class InstallRun {
 public:
  InstallRun(SetupState& state, InstallHost& host, TExecFile& exec, TShellLink& link)
      : s_(state), list_(state.lbSetup), host_(host), exec_(exec), link_(link) {}

  void Run();

 private:
  void ShowProgress() { host_.SetCopyProgress(ProgressPercent(e_.Done, e_.Total)); }
  void BackUpSystem();
  void RemoveFiles();
  void CopySection(const char* keyword, TargetFolder folder);
  void CopyOne(const std::string& line, TargetFolder folder);
  void RunPostInstall();
  // True when the restart was requested (nothing more is shown).
  bool Restart();
  void Complete();

  SetupState& s_;
  const LineList& list_;
  InstallHost& host_;
  TExecFile& exec_;
  TShellLink& link_;
  EngineState e_;
};

void InstallRun::Run() {
  BeginUninstallList(s_, e_);
  s_.StartMenuFolder = StartMenuPath(s_.StartMenuFolder);
  e_.Total = CountSteps(list_);
  e_.Done = 0;
  host_.PlaceCopyWindow(host_.WizardBottom());
  host_.ShowCopyWindow();
  BackUpSystem();
  if (list_.Has(section::kUninstall)) WriteUninstallSection(s_, e_);
  RemoveFiles();
  if (list_.Has(section::kInstall)) {
    ForceFolders(s_.DestDir);
    CopySection(section::kInstall, TargetFolder::Dest);
  }
  CopySection(section::kWin, TargetFolder::Windows);
  CopySection(section::kSystem, TargetFolder::System);
  host_.CloseCopyWindow();
  if (list_.Has(section::kShortcuts)) CreateShortcuts(s_, e_, link_);
  e_.UninstallList.Add("");
  RunAtEnd = false;
  if (int k = list_.Find(section::kRunFile); k >= 0) {
    e_.MainProgram = list_.At(size_t(k) + 1);
    RunAtEnd = true;
  }
  RunPostInstall();
  if (list_.Has(section::kReg)) WriteRegistrySection(s_, e_);
  SaveUninstallList(s_, e_);
  e_.UninstallList.Clear();
  if (Restart()) return;
  Complete();
}

void InstallRun::BackUpSystem() {
  if (!list_.Has(section::kSysBackup)) {
    e_.Total -= 3;
    return;
  }
  e_.BackupExt = BackupExtension(list_);
  host_.SetCopyFileName("Backing up system");
  for (const SystemFile& f : kSystemFiles) {
    ++e_.Done;
    ShowProgress();
    BackUpSystemFile(f.path, GetWindowsFolder() + f.backupBase + e_.BackupExt);
  }
  ++e_.Done;
}

void InstallRun::RemoveFiles() {
  int k = list_.Find(section::kRemoveFiles);
  if (k < 0) return;
  for (const std::string& entry : list_.ListEntries(k)) {
    std::string path = ExpandRemovePath(entry, GetWindowsFolder(), s_.DestDir);
    if (FileExists(path)) DeleteFileA(path.c_str());
  }
}

void InstallRun::CopySection(const char* keyword, TargetFolder folder) {
  int k = list_.Find(keyword);
  if (k < 0) return;
  for (const std::string& line : list_.ListEntries(k)) CopyOne(line, folder);
}

void InstallRun::CopyOne(const std::string& line, TargetFolder folder) {
  CopyEntry entry = ParseCopyEntry(line);
  host_.SetCopyFileName(entry.source);
  ++e_.Done;
  ShowProgress();
  host_.RepaintCopyWindow();
  std::string source = s_.PackageDir + "\\" + entry.source;
  std::string windows = GetWindowsFolder();
  std::string target = CopyTargetPath(folder, s_.DestDir, windows, entry.target);
  if (CopyFileA(source.c_str(), target.c_str(), entry.keep) || entry.keep) {
    SetArchiveOnly(target);
  } else {
    // In use: copy beside it and let Windows swap the files at the next start.
    Replacement r = ReplacementNames(target);
    if (CopyFileA(source.c_str(), r.next.c_str(), FALSE)) {
      RebootNeeded = true;
      std::string ini = WininitPath(windows);
      WritePrivateProfileStringA("Rename", r.backup.c_str(), target.c_str(), ini.c_str());
      WritePrivateProfileStringA("Rename", target.c_str(), r.next.c_str(), ini.c_str());
    }
  }
  e_.UninstallList.Add(target);
}

void InstallRun::RunPostInstall() {
  std::string program = s_.DestDir + "\\_setup.exe";
  if (!FileExists(program)) return;
  exec_.CommandLine = program;
  exec_.Parameters = s_.PackageDir;
  exec_.Execute();
  DeleteFileA(program.c_str());
  host_.BringToFront();
}

bool InstallRun::Restart() {
  if (!list_.Has(section::kReboot) && !RebootNeeded) return false;
  if (host_.ShowMessage(kRestartText, "Information", MB_OKCANCEL | MB_ICONINFORMATION) != IDOK)
    return false;
  if (FolderExists(s_.TempDir)) RemoveFolderTree(s_.TempDir);
  // A folder still held (by a program just ended, say) goes a little later.
  for (int attempt = 0; attempt < 120; ++attempt) {
    RemoveDirectoryA((s_.TempDir + "\\").c_str());
    SetCurrentDirectoryA("c:\\");
    host_.ProcessMessages();
    if (!FolderExists(s_.TempDir)) break;
  }
  host_.RequestRestart();
  return true;
}

void InstallRun::Complete() {
  if (!RunAtEnd) {
    host_.ShowMessage(kCompleteText, "Confirm", MB_OK | MB_ICONQUESTION);
    return;
  }
  if (host_.ShowMessage(RunNowQuestion(s_.ProgramName), "Information",
                        MB_YESNO | MB_ICONINFORMATION) == IDYES)
    host_.ShellOpen(s_.DestDir + "\\" + e_.MainProgram, s_.DestDir);
}

}  // namespace

void RunInstall(SetupState& state, InstallHost& host, TExecFile& ExecFile1, TShellLink& Shelllink1) {
  InstallRun(state, host, ExecFile1, Shelllink1).Run();
}

}  // namespace setup
