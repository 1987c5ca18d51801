#include "setup/startup/uBack.h"

#include "setup/SetupIds.h"
#include "setup/wizard/uSetup.h"

namespace setup {

void TfBack::Create(TfSetup& wizard) {
  wizard_ = &wizard;
  // Not WS_CLIPCHILDREN: the gradient must lie under the transparent label.
  CreateForm("TfBack", "Setup", 640, 480, WS_OVERLAPPEDWINDOW);
  Gradient1.Init(hwnd_);
  labelFont_.Create("Arial Black", 18);
  Label1.Create(hwnd_, ids::kBackLabel1, "", 12, 8);
  Label1.SetFont(labelFont_.Handle());
  Label1.SetTextColor(RGB(192, 192, 192));
  Label1.SetTransparent(true);
  tInstall.Init(hwnd_, ids::kTimerInstall, 250);
  FormCreate();
}

void TfBack::FormCreate() {
  SetBounds(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void TfBack::FormShow() {
  if (wizard_->tExit.Enabled()) {
    // Preparation ended the run: nothing is to be seen until tExit fires.
    SetBounds(GetSystemMetrics(SM_CXSCREEN) + 1, GetSystemMetrics(SM_CYSCREEN) + 1, 0, 0);
    Repaint();
    return;
  }
  tInstall.SetEnabled(true);
}

void TfBack::tInstallTimer() {
  tInstall.SetEnabled(false);
  wizard_->ShowModal();
  Close();
}

void TfBack::Timer(UINT id) {
  if (id == ids::kTimerInstall) tInstallTimer();
}

bool TfBack::Paint(HDC dc) {
  Gradient1.Paint(dc);
  return true;
}

}  // namespace setup
