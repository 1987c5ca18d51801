#include "setup/engine/Install.h"

#include <windows.h>

#include <algorithm>

#include "setup/engine/EngineState.h"
#include "setup/engine/Folders.h"
#include "setup/engine/InstallPlan.h"
#include "setup/engine/NextStart.h"
#include "setup/engine/RegSection.h"
#include "setup/engine/Shortcuts.h"
#include "setup/engine/SystemBackup.h"
#include "setup/engine/Uninstall.h"
#include "toolkit/ExitCodes.h"
#include "toolkit/Log.h"
#include "toolkit/PathText.h"

namespace setup {

bool RebootNeeded = false;
bool RunAtEnd = false;

namespace {

class InstallRun : ListKeeper {
 public:
  InstallRun(SetupState& state, InstallHost& host, TExecFile& exec, TShellLink& link)
      : s_(state), list_(state.lbSetup), host_(host), exec_(exec), link_(link) {}

  // The exit code: done, a restart needed, or incomplete.
  int Run();

 private:
  void ShowProgress() { host_.SetCopyProgress(ProgressPercent(e_.Done, e_.Total)); }
  void BackUpSystem();
  void RemoveFiles();
  void CopySection(const char* keyword, TargetFolder folder);
  void CopyOne(const std::string& line, TargetFolder folder);
  // True when the target now holds the package file, keeps the user's file
  // (a starred entry) or waits for the next start.
  bool CopyInto(const std::string& source, const std::string& target, bool keep);
  bool CopyOrQueue(const std::string& source, const std::string& target, bool keep, bool retry);
  void SaveAhead(const std::vector<std::string>& pending) override;
  std::vector<std::string> ClosedList(const std::vector<std::string>& pending) const;
  void LogCopyFailure(const std::string& target, DWORD error);
  void SaveWhatWasDone();
  void RunPostInstall();
  // True when the user chose to restart now: no completion message follows.
  bool Restart();
  void Complete();

  SetupState& s_;
  const LineList& list_;
  InstallHost& host_;
  TExecFile& exec_;
  TShellLink& link_;
  EngineState e_;
  NextStartReplacer replacer_;
  std::vector<std::string> failed_;  // targets neither copied nor queued
  bool shortcutsBegun_ = false;      // the Start Menu folder may exist
  bool listEnded_ = false;           // the empty line after the files is in the list
  bool listSaved_ = false;
};

int InstallRun::Run() {
  BeginUninstallList(s_, e_);
  e_.Keeper = this;
  s_.StartMenuFolder = StartMenuPath(s_.StartMenuFolder);
  kw::Log({"Installing ", s_.ProgramName, " into ", s_.DestDir, ", Start Menu folder ",
           s_.StartMenuFolder});
  e_.Total = CountSteps(list_);
  e_.Done = 0;
  host_.PlaceCopyWindow(host_.WizardBottom());
  host_.ShowCopyWindow();
  BackUpSystem();
  try {
    if (list_.Has(section::kUninstall)) WriteUninstallSection(s_, e_);
    RemoveFiles();
    if (list_.Has(section::kInstall)) {
      ForceFolders(s_.DestDir);
      CopySection(section::kInstall, TargetFolder::Dest);
    }
    CopySection(section::kWin, TargetFolder::Windows);
    CopySection(section::kSystem, TargetFolder::System);
    host_.CloseCopyWindow();
    if (list_.Has(section::kShortcuts)) {
      shortcutsBegun_ = true;
      SaveAhead({});  // names the Start Menu folder before it is made
      CreateShortcuts(s_, e_, link_);
    }
    e_.UninstallList.Add("");
    listEnded_ = true;
    RunAtEnd = false;
    if (int k = list_.Find(section::kRunFile); k >= 0) {
      e_.MainProgram = list_.At(size_t(k) + 1);
      RunAtEnd = true;
    }
    RunPostInstall();
    if (list_.Has(section::kReg)) WriteRegistrySection(s_, e_);
    listSaved_ = true;
    SaveUninstallList(s_, e_);
  } catch (...) {
    SaveWhatWasDone();
    throw;
  }
  e_.UninstallList.Clear();
  if (!failed_.empty())
    host_.ShowMessage(IncompleteText(failed_), kSetupCaption, MB_OK | MB_ICONWARNING);
  bool restart = list_.Has(section::kReboot) || RebootNeeded;
  if (!Restart()) Complete();
  if (!failed_.empty()) return kw::exitcode::kFailed;
  return restart ? kw::exitcode::kRestartNeeded : kw::exitcode::kDone;
}

// The list so far and what is about to be made, closed the way a whole list
// is, so that the uninstaller takes it as it would the final one.
std::vector<std::string> InstallRun::ClosedList(const std::vector<std::string>& pending) const {
  std::vector<std::string> lines = e_.UninstallList.Lines();
  lines.insert(lines.end(), pending.begin(), pending.end());
  if (!listEnded_) {
    // The Start Menu folder is made before the first shortcut.
    if (shortcutsBegun_ && (lines.empty() || lines.back().rfind('+', 0) != 0))
      lines.push_back("+" + s_.StartMenuFolder);
    lines.push_back("");
  } else if (std::find(lines.begin(), lines.end(), section::kReg) != lines.end() &&
             lines.back() != section::kEnd) {
    lines.push_back(section::kEnd);
  }
  return lines;
}

// From the moment the uninstall entry exists the list on disk names everything
// made so far and what is made next: a power cut, a killed installer or a
// post-installation program that restarts Windows leaves a removable installation.
void InstallRun::SaveAhead(const std::vector<std::string>& pending) {
  if (e_.UninstallListPath.empty()) return;
  // The first save comes before the destination is made.
  ForceFolders(StripBackslash(kw::ExtractFilePath(e_.UninstallListPath)));
  WriteListFileSafely(e_.UninstallListPath, ClosedList(pending));
}

// An error is ending the engine once the uninstall entry may exist: what was
// installed so far stays removable, through a list closed the way a whole one is.
void InstallRun::SaveWhatWasDone() {
  if (listSaved_ || e_.UninstallListPath.empty()) return;
  try {
    WriteListFileSafely(e_.UninstallListPath, ClosedList({}));
  } catch (const kw::Error&) {
    // The error that ended the engine is the one to show.
  }
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
  kw::Log({"Backed up the DOS start-up files as *", e_.BackupExt});
  ++e_.Done;
}

void InstallRun::RemoveFiles() {
  int k = list_.Find(section::kRemoveFiles);
  if (k < 0) return;
  for (const std::string& entry : list_.ListEntries(k)) {
    std::string path = ExpandRemovePath(entry, GetWindowsFolder(), s_.DestDir);
    if (FileExists(path) && DeleteFileA(path.c_str())) kw::Log({"Deleted ", path});
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
  std::string target = CopyTargetPath(folder, s_.DestDir, GetWindowsFolder(), entry.target);
  SaveAhead({target});
  if (!CopyInto(source, target, entry.keep)) failed_.push_back(target);
  e_.UninstallList.Add(target);
}

bool InstallRun::CopyInto(const std::string& source, const std::string& target, bool keep) {
  bool done = CopyOrQueue(source, target, keep, true);
  // A file the system deletes at the next start (an uninstall of it while in
  // use, not yet restarted) is not installed: the copy lands after the deletion.
  if (!replacer_.DeletionPending(target)) return done;
  if (!replacer_.ReplaceAfterDeletion(source, target)) return false;
  RebootNeeded = true;
  return true;
}

bool InstallRun::CopyOrQueue(const std::string& source, const std::string& target, bool keep,
                             bool retry) {
  if (CopyFileA(source.c_str(), target.c_str(), keep)) {
    SetArchiveOnly(target);
    kw::Log({"Copied ", target});
    return true;
  }
  DWORD error = GetLastError();
  switch (ClassifyCopyFailure(keep, error, GetFileAttributesA(target.c_str()))) {
    case CopyFailure::Kept:
      SetArchiveOnly(target);
      kw::Log({"Kept ", target, " (already there)"});
      return true;
    case CopyFailure::ReadOnly:
      // Cleared, the target is classified anew should the copy fail again; an
      // attribute that will not clear (a read-only share) fails the file.
      if (!retry) return false;
      SetArchiveOnly(target);
      return CopyOrQueue(source, target, keep, false);
    case CopyFailure::InUse:
      if (!replacer_.Replace(source, target)) break;
      RebootNeeded = true;
      kw::Log({"Queued for the restart ", target, " (in use)"});
      return true;
    case CopyFailure::Failed:
      break;
  }
  LogCopyFailure(target, error);
  return false;
}

void InstallRun::LogCopyFailure(const std::string& target, DWORD error) {
  char text[256] = "";
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                 sizeof text, nullptr);
  kw::Log({"Failed to copy ", target, ": error ", kw::Decimal(error), " ", text});
}

void InstallRun::RunPostInstall() {
  std::string program = s_.DestDir + "\\_setup.exe";
  if (!FileExists(program)) return;
  // Unquoted, "C:\Program Files\..." would start C:\Program.exe if there is one.
  exec_.CommandLine = Quote(program);
  exec_.Parameters = QuoteIfBlank(s_.PackageDir);
  DWORD code = 0;
  if (exec_.Execute() && GetExitCodeProcess(exec_.ProcessInfo().hProcess, &code))
    kw::Log({"Ran ", program, ": exit code ", kw::Decimal(code)});
  else
    kw::Log({"Failed to run ", program, ": error ", kw::Decimal(exec_.LastError())});
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
  if (!host_.RequestRestart())
    host_.ShowMessage(kRestartRefusedText, kSetupCaption, MB_OK | MB_ICONWARNING);
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

int RunInstall(SetupState& state, InstallHost& host, TExecFile& ExecFile1, TShellLink& Shelllink1) {
  return InstallRun(state, host, ExecFile1, Shelllink1).Run();
}

}  // namespace setup
