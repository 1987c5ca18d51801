#include "setup/wizard/uSetup.h"

#include <objbase.h>

#include "setup/SetupIds.h"
#include "setup/engine/Folders.h"
#include "toolkit/App.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExitCodes.h"
#include "setup/engine/Install.h"
#include "setup/wizard/PageText.h"
#include "setup/wizard/WizardHost.h"

namespace setup {

TfSetup::~TfSetup() {
  if (hwnd_) FormDestroy();
  DestroyHandle();
}

void TfSetup::Create(kw::Form& background, kw::Label& backTitle, TfCopy& copy) {
  background_ = &background;
  backTitle_ = &backTitle;
  copy_ = &copy;
  CreateForm("TfSetup", "Setup", 0, 0, kw::kDialogStyle);
  SetClientSize(416, 284);
  tExit.Init(hwnd_, ids::kTimerExit, 250);
  ZipExtractor1.OnProgress = TProgressEvent::Bind<&TfSetup::ZipExtractor1Progress>(this);
  CreateFrame();
  CreatePages();
  FormCreate();
}

void TfSetup::UseSwitches(const SetupSwitches& given) {
  if (tExit.Enabled()) return;
  if (given.dest) State.DestDir = StripBackslash(*given.dest);
  if (given.group) State.StartMenuFolder = *given.group;
}

void TfSetup::RunSilent() {
  if (tExit.Enabled()) return;
  Result = kw::exitcode::kFailed;
  try {
    if (OtherProgramRunning()) {
      kw::ShowWarning(RunningWarning(State.ProgramName));
      return;
    }
    SilentHost host;
    Result = RunInstall(State, host, ExecFile1, Shelllink1);
  } catch (const std::exception& e) {
    kw::ShowError(e.what());
  }
}

void TfSetup::CreateFrame() {
  pImages.Create(hwnd_, ids::kImagesPanel, 0, 0, 137, 243, kw::Panel::kLowered);
  Image1.Create(pImages.Handle(), ids::kImage1, 16, 12);
  mCopyRight.Create(pImages.Handle(), ids::kCopyRight, 8, 148, 117, 65);
  mCopyRight.SetLines({"Quillfen Setup", "Floppy disk installer", "for Windows 95 and 98"});

  pButtons.Create(hwnd_, ids::kButtonsPanel, 0, 243, 416, 41, kw::Panel::kLowered);
  bBack.Create(pButtons.Handle(), ids::kBack, "Back", kw::GlyphButton::kBack, 152, 8, 75, 25);
  bNext.Create(pButtons.Handle(), ids::kNext, "Next", kw::GlyphButton::kNext, 232, 8, 75, 25);
  bCancel.Create(pButtons.Handle(), ids::kCancel, "Cancel", kw::GlyphButton::kCancel, 332, 8, 75,
                 25);
  SetCancelControl(ids::kCancel);
  SetActiveControl(bNext.Handle());

  pIntro.Create(hwnd_, ids::kIntroPage, kPageLeft, 0, kPageWidth, kPageHeight);
  mIntro.Create(pIntro.Handle(), ids::kIntro, 8, 4, 257, 117);
  mWarning.Create(pIntro.Handle(), ids::kWarning, 8, 148, 265, 89);
  mWarning.SetLines({"Please close all other programs before you go on.", "",
                     "Press Next to continue, or Cancel to leave setup without installing "
                     "anything."});
}

void TfSetup::Command(int id, int code) {
  if (id == ids::kStartMenuList && code == LBN_SELCHANGE) lbStartMenuClick();
  if (code != BN_CLICKED) return;
  switch (id) {
    case ids::kNext: bNextClick(); break;
    case ids::kBack: bBackClick(); break;
    case ids::kCancel: bCancelClick(); break;
  }
}

void TfSetup::Timer(UINT id) {
  if (id == ids::kTimerExit) tExitTimer();
}

void TfSetup::bCancelClick() { Close(); }

void TfSetup::tExitTimer() {
  tExit.SetEnabled(false);
  background_->Close();
}

void TfSetup::FormDestroy() {
  if (!State.TempDir.empty() && FolderExists(State.TempDir)) RemoveFolderTree(State.TempDir);
  // Our own extraction made the folder current; it cannot go while it is.
  SetCurrentDirectoryA("c:\\");
  // A program just ended (the post-installation program, one started from the
  // folder) may hold the folder a little longer: up to 120 tries, 25 ms apart.
  for (int attempt = 0; attempt < 120; ++attempt) {
    RemoveDirectoryA((State.TempDir + "\\").c_str());
    if (!FolderExists(State.TempDir)) break;
    kw::App().ProcessMessages();
    Sleep(25);
  }
  if (comInitialised_) CoUninitialize();
  comInitialised_ = false;
}

}  // namespace setup
