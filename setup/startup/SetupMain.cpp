// The installer's entry: its three windows in their fixed order, then the
// message loop until the background window closes.
#include <windows.h>

#include "setup/startup/uBack.h"
#include "setup/wizard/uCopy.h"
#include "setup/wizard/uSetup.h"
#include "toolkit/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace setup;
  kw::App().Initialize();
  kw::App().Title = "Setup";
  ZipAppTitle = "Setup";
  // Destroyed in reverse order: the wizard's destruction step runs before the
  // main window goes.
  TfBack back;
  TfSetup wizard;
  TfCopy copy;
  back.Create(wizard);
  wizard.Create(back, back.Label1, copy);  // the whole preparation
  copy.Create();
  kw::App().Run();
  return 0;
}
