// The wizard's pages after the introduction, the navigation between them and
// the running-program check.
#include <windows.h>

#include <exception>

#include "setup/SetupIds.h"
#include "setup/engine/Folders.h"
#include "setup/engine/Install.h"
#include "setup/engine/Registry.h"
#include "setup/wizard/PageText.h"
#include "setup/wizard/WizardHost.h"
#include "setup/wizard/uSetup.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExitCodes.h"

namespace setup {

namespace {

constexpr int kTextBox = kw::Memo::kReadOnly | kw::Memo::kBorder | kw::Memo::kScrollBars;

// Names in the folder, as the system lists them, without hidden and system
// entries, volume labels, "." and "..".
std::vector<std::string> VisibleEntries(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return names;
  constexpr DWORD kSkip = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8 /* volume label */;
  do {
    std::string name = fd.cFileName;
    if (name == "." || name == ".." || (fd.dwFileAttributes & kSkip)) continue;
    names.push_back(name);
  } while (FindNextFileA(h, &fd));
  FindClose(h);
  return names;
}

}  // namespace

void TfSetup::CreatePages() {
  ExecFile1.Wait = true;
  ExecFile1.Associate = false;

  pLicense.Create(hwnd_, ids::kLicensePage, kPageLeft, 0, kPageWidth, kPageHeight);
  Label1.Create(pLicense.Handle(), ids::kLicenseTitle, "License Agreement", 8, 4);
  lbLicense.Create(pLicense.Handle(), ids::kLicense, 8, 20, 265, 197, kTextBox);
  Label2.Create(pLicense.Handle(), ids::kLicenseQuestion, "Do you accept this license agreement?",
                8, 224);
  pLicense.Hide();

  pReadme.Create(hwnd_, ids::kReadmePage, kPageLeft, 0, kPageWidth, kPageHeight);
  Label3.Create(pReadme.Handle(), ids::kReadmeTitle, "Program Readme File", 8, 4);
  lbReadme.Create(pReadme.Handle(), ids::kReadme, 8, 20, 265, 217, kTextBox);
  pReadme.Hide();

  pPaths.Create(hwnd_, ids::kPathsPage, kPageLeft, 0, kPageWidth, kPageHeight);
  HWND paths = pPaths.Handle();
  lInstall.Create(paths, ids::kInstallLabel, "", 12, 4, 253, 33, kw::Label::kLeft, true);
  eDestination.Create(paths, ids::kDestination, "", 12, 40, 253, 21, "Select Directory");
  Bevel1.Create(paths, ids::kPathsLine, 12, 72, 253);
  Label4.Create(paths, ids::kStartMenuLabel, "Start Menu folder will to be created as:", 12, 84);
  eStartMenu.Create(paths, ids::kStartMenu, "", 12, 104, 253, 21);
  Label5.Create(paths, ids::kExistingLabel, "Or select from an existing folder:", 12, 136);
  lbStartMenu.Create(paths, ids::kStartMenuList, 12, 156, 253, 81);
  pPaths.Hide();

  pFinish.Create(hwnd_, ids::kFinishPage, kPageLeft, 0, kPageWidth, kPageHeight);
  HWND fin = pFinish.Handle();
  Label6.Create(fin, ids::kFinishLabel1, "Setup is about to install:", 15, 4);
  lProgramName.Create(fin, ids::kProgramName, "", 15, 20);
  Label7.Create(fin, ids::kFinishLabel2, "Program Files will be copied to:", 15, 52);
  lProgFiles.Create(fin, ids::kProgFiles, "", 15, 68);
  Label8.Create(fin, ids::kFinishLabel3, "The Start Menu folder will be created as:", 15, 104);
  lStartMenu.Create(fin, ids::kStartMenuName, "", 15, 120);
  Bevel2.Create(fin, ids::kFinishLine, 16, 148, 241);
  Label9.Create(fin, ids::kFinishNote,
                "Press Finish to begin copying files.  To make any changes to the current setup "
                "configuration, press Back.  To quit, press Cancel.",
                15, 168, 246, 57, kw::Label::kLeft, true);
  pFinish.Hide();
}

void TfSetup::bNextClick() {
  if (pIntro.Visible()) {
    pIntro.Hide();
    pLicense.Show();
    bNext.SetText("Yes");
    bCancel.SetText("No");
    std::string license = State.SourceDir + "\\license.txt";
    if (FileExists(license))
      lbLicense.SetLines(FileLines(license));
    else
      lbLicense.SetLines({"This program is freeware."});
  } else if (pLicense.Visible()) {
    pReadme.Show();
    pLicense.Hide();
    bNext.SetText("Next");
    bCancel.SetText("Cancel");
    std::string readme = State.SourceDir + "\\readme.txt";
    if (FileExists(readme)) lbReadme.SetLines(FileLines(readme));
  } else if (pReadme.Visible()) {
    pReadme.Hide();
    pPaths.Show();
    FillPaths();
  } else if (pPaths.Visible()) {
    std::string dest = eDestination.Text();
    if (!DestinationAccepted(dest)) return;
    eDestination.SetText(dest);
    State.StartMenuFolder = eStartMenu.Text();
    State.DestDir = dest;
    pPaths.Hide();
    pFinish.Show();
    bNext.SetText("Finish");
    lProgramName.SetText(State.ProgramName);
    lProgFiles.SetText(State.DestDir);
    lStartMenu.SetText(State.StartMenuFolder);
  } else if (pFinish.Visible()) {
    if (!DestinationAccepted(State.DestDir)) return;
    bBack.SetEnabled(false);
    bCancel.SetEnabled(false);
    bNext.SetEnabled(false);
    // An error here goes to the default error box and leaves the wizard as it is.
    WizardHost host(*this, *copy_);
    Result = kw::exitcode::kFailed;
    Result = RunInstall(State, host, ExecFile1, Shelllink1);
    bCancel.SetEnabled(true);
    Close();
  }
}

// A destination that is no full path would install into the temporary folder
// (deleted at the end) or a drive's root: the user is told and the page stays.
bool TfSetup::DestinationAccepted(std::string& dest) {
  std::string problem = DestinationProblem(dest);
  if (problem.empty()) return true;
  kw::ShowWarning(problem);
  return false;
}

// Entering the folders page always starts from the stored values.
void TfSetup::FillPaths() {
  eDestination.SetText(State.DestDir);
  lInstall.SetText("Setup will install " + State.ProgramName + " to the following folder:");
  eStartMenu.SetText(State.StartMenuFolder);
  // The folder the engine will put the entries under, fallback included.
  std::string programs = StartMenuProgramsFolder();
  if (FolderExists(programs)) {
    lbStartMenu.Clear();
    for (const std::string& name : VisibleEntries(programs)) lbStartMenu.Add(name);
  }
}

void TfSetup::bBackClick() {
  if (pFinish.Visible()) {
    pPaths.Show();
    pFinish.Hide();
    bNext.SetText("Next");
  } else if (pPaths.Visible()) {
    pPaths.Hide();
    pReadme.Show();
  } else if (pReadme.Visible()) {
    pLicense.Show();
    pReadme.Hide();
    bNext.SetText("Yes");
    bCancel.SetText("No");
  } else if (pLicense.Visible()) {
    pIntro.Show();
    pLicense.Hide();
    bNext.SetText("Next");
    bCancel.SetText("Cancel");
  }
}

void TfSetup::lbStartMenuClick() {
  int i = lbStartMenu.ItemIndex();
  if (i >= 0) eStartMenu.SetText(lbStartMenu.Item(i));
}

// The show step runs inside the modal show: an error escaping it would leave
// the background disabled and the program waiting for nothing. Any error ends
// the run as a running program does, after its error box.
void TfSetup::FormShow() {
  if (tExit.Enabled()) return;
  try {
    if (!OtherProgramRunning()) return;
    Result = kw::exitcode::kFailed;
    kw::ShowWarning(RunningWarning(State.ProgramName));
  } catch (const std::exception& e) {
    Result = kw::exitcode::kFailed;
    kw::ShowError(e.what());
  }
  SetBounds(GetSystemMetrics(SM_CXSCREEN) + 1, GetSystemMetrics(SM_CYSCREEN) + 1, Width(),
            Height());
  tExit.SetEnabled(true);
}

// The running-program check: a program named by :NOTRUNNING must be closed first.
bool TfSetup::OtherProgramRunning() const {
  std::optional<WindowName> name = NotRunningWindow(State.lbSetup);
  if (!name) return false;
  // An empty class name goes as null, "any class": the system looks an empty
  // text up as a class of that name, finds none and so never any window, which
  // would make a line without a comma (a title alone) check nothing at all.
  const char* cls = name->cls.empty() ? nullptr : name->cls.c_str();
  return FindWindowA(cls, name->title.c_str()) != nullptr;
}

}  // namespace setup
