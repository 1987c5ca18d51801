// The wizard's creation step: from what lies beside the installer to a ready
// installation (or a message and the program's end through tExit).
#include <objbase.h>

#include <stdexcept>

#include "setup/SetupIds.h"
#include "setup/engine/Folders.h"
#include "setup/wizard/DiskFolders.h"
#include "setup/wizard/JoinParts.h"
#include "setup/wizard/uCopy.h"
#include "setup/wizard/uSetup.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExitCodes.h"
#include "toolkit/Log.h"
#include "toolkit/Silent.h"

namespace setup {

namespace {

// Thrown after a warning or a refused confirmation: the step ends quietly
// with the run's exit code.
struct StopPreparation {
  int code;
};

[[noreturn]] void Fail(const std::string& warning) {
  kw::ShowWarning(warning);
  throw StopPreparation{kw::exitcode::kFailed};
}

void Require(const std::string& question) {
  if (!kw::Confirm(question)) throw StopPreparation{kw::exitcode::kCancelled};
}

// Where part `name` of disk `disk` lies, asking for the disk only when it is
// neither beside the installer nor in a disk folder copied beside its own.
// Unattended, nobody can change disks.
std::string FindPart(const std::string& source, const std::string& name, size_t disk) {
  for (;;) {
    std::vector<std::string> places = PartPlaces(source, name, disk);
    for (const std::string& place : places)
      if (FileExists(place)) return place;
    if (kw::Silent()) {
      std::string where;
      for (const std::string& place : places) where += (where.empty() ? "" : " or ") + place;
      Fail("Setup disk number " + std::to_string(disk) + " is missing: there is no " + where + ".");
    }
    Require("Please insert setup disk number " + std::to_string(disk));
  }
}

std::string ModuleFolder() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  return StripBackslash(kw::ExtractFilePath(std::string(buf, n)));
}

void CopyArchiveOnly(const std::string& from, const std::string& to, bool mustSucceed) {
  if (CopyFileA(from.c_str(), to.c_str(), FALSE))
    SetArchiveOnly(to);
  else if (mustSucceed)
    Fail("Could not create temporary install files");
}

}  // namespace

void TfSetup::FormCreate() {
  comInitialised_ = SUCCEEDED(CoInitialize(nullptr));
  try {
    Prepare();
  } catch (const StopPreparation& stop) {
    Result = stop.code;
    tExit.SetEnabled(true);
  } catch (const std::exception& e) {
    // Errors without a message of their own (a list too short, an archive
    // that cannot be made or read) end the run the same way, after their text.
    Result = kw::exitcode::kFailed;
    kw::ShowError(e.what());
    tExit.SetEnabled(true);
  }
}

void TfSetup::Prepare() {
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds(int(sw * 0.5 - Width() * 0.5), int(sh * 0.5 - Height() * 0.5), Width(), Height());
  State.SourceDir = ModuleFolder();
  if (FileExists(State.SourceDir + "\\copyBrin.txt"))
    mCopyRight.SetLines(FileLines(State.SourceDir + "\\copyBrin.txt"));
  if (FileExists(State.SourceDir + "\\setup.lst")) PreparePackage();
  State.PackageDir = State.SourceDir;
  LoadInstallList();
}

// Steps of the packed layout: temporary folder, disks, joining, extraction.
void TfSetup::PreparePackage() {
  const std::string& source = State.SourceDir;
  if (!kw::Silent() && !source.empty() && (source[0] == 'A' || source[0] == 'a')) {
    std::vector<std::string> lines = mCopyRight.Lines();
    Require("This program will install " + (lines.empty() ? std::string() : lines[0]));
  }

  std::string base = GetWindowsFolder() + "\\TEMP\\QFINST";
  int n = 1;
  while (FolderExists(base + std::to_string(n))) ++n;
  State.TempDir = base + std::to_string(n);
  ForceFolders(State.TempDir);
  if (!FolderExists(State.TempDir)) Fail("Could not create temporary installation folder");
  const std::string& temp = State.TempDir;

  State.lbSetup.LoadFile(source + "\\setup.lst");
  std::vector<std::string> extra = State.lbSetup.ListSection(section::kExtra);
  if (State.lbSetup.Has(section::kExtra)) {
    ForceFolders(temp + "\\EXTRA\\");
    for (const std::string& item : extra) {
      CopyArchiveOnly(source + "\\" + item, temp + "\\EXTRA\\" + item, false);
      if (FileExists(temp + "\\EXTRA\\" + item)) kw::Log({"Extra file ", source, "\\", item});
    }
  }

  if (!State.lbSetup.Has(section::kPackage)) Fail("No install package information.");
  std::vector<std::string> parts = State.lbSetup.ListSection(section::kPackage);
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string from = FindPart(source, parts[i], i + 1);
    CopyArchiveOnly(from, temp + "\\" + parts[i], true);
    kw::Log({"Part ", parts[i], " taken from ", from});
  }
  if (!parts.empty()) {
    // The installer and the package list live on disk 1.
    while (!FileExists(source + "\\" + parts[0])) {
      if (kw::Silent())
        Fail("Setup disk number 1 is missing: there is no " + source + "\\" + parts[0] + ".");
      Require("Please re-insert setup disk number 1");
    }
    std::vector<std::string> reversed;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) reversed.push_back(temp + "\\" + *it);
    std::string archive = temp + "\\" + kw::ChangeFileExt(parts[0], ".zip");
    JoinParts(archive, reversed);
    ExtractPackage(archive);
  } else {
    Fail("Error decompressing install package.");
  }

  for (const std::string& item : extra)
    CopyFileA((temp + "\\EXTRA\\" + item).c_str(), (temp + "\\" + item).c_str(), FALSE);
  State.SourceDir = temp;
}

void TfSetup::ExtractPackage(const std::string& archive) {
  if (!FileExists(archive)) Fail("Error decompressing install package.");
  TfCopy window;  // destroyed on every path, also when reading the archive fails
  window.Create();
  window.Label1.SetText("Extracting file:");
  window.SetCaption("Extracting Setup Files");
  if (!kw::Silent()) window.Show();
  struct Bind {
    TfCopy*& slot;
    ~Bind() { slot = nullptr; }
  } bind{progress_ = &window};
  ZipExtractor1.SetZipFilename(archive);
  ZipExtractor1.ExtrBaseDir = State.TempDir;
  ZipExtractor1.Extract();
  window.Hide();
  // Going on with a partly unpacked package would install a broken program.
  if (ZipExtractor1.LastResult() != 0) Fail("Error decompressing install package.");
  kw::Log({"Unpacked ", archive, ": ", std::to_string(ZipExtractor1.Count()), " files"});
}

void TfSetup::LoadInstallList() {
  const std::string& source = State.SourceDir;
  if (!FileExists(source + "\\setup.ini")) Fail("Could not find installation list");
  State.lbSetup.LoadFile(source + "\\setup.ini");
  backTitle_->SetText(State.lbSetup.At(2));
  State.StartMenuFolder = State.lbSetup.At(1);
  State.DestDir = StripBackslash("C:\\Program Files" + State.lbSetup.At(0));
  State.ProgramName = State.lbSetup.At(2);
  SetCaption(State.ProgramName);
  mIntro.AddLine("This utility will install " + State.ProgramName +
                 ".  It is recommended that you close all other windows programs.  You can "
                 "switch to other Windows programs by pressing CTRL and TAB.");
  if (FileExists(source + "\\copyMott.txt")) mWarning.SetLines(FileLines(source + "\\copyMott.txt"));
  if (FileExists(source + "\\logo.bmp")) Image1.LoadFromFile(source + "\\logo.bmp");
}

void TfSetup::ZipExtractor1Progress(TZipExtractor* Sender, ProgressType ProgrType,
                                    const std::string& Filename, int32_t) {
  // Nothing here may stop the extraction.
  try {
    if (!progress_) return;
    if (ProgrType == ptFileBegin) {
      ++progress_->FileCount;
      progress_->lFileName.SetText(Filename);
      progress_->Repaint();
    }
    int32_t count = Sender->Count();
    if (count > 0) progress_->Guage.SetPosition(int(int64_t(progress_->FileCount) * 100 / count));
  } catch (...) {
  }
}

}  // namespace setup
