// The installer's entry: its switches, its three windows in their fixed
// order, then the message loop until the background window closes (or, with
// /S, the installation straight away); the exit code says how it went.
#include <windows.h>

#include "setup/engine/Switches.h"
#include "setup/startup/uBack.h"
#include "setup/wizard/uCopy.h"
#include "setup/wizard/uSetup.h"
#include "toolkit/App.h"
#include "toolkit/Dialogs.h"
#include "toolkit/ExitCodes.h"
#include "toolkit/Log.h"
#include "toolkit/PathText.h"
#include "toolkit/Silent.h"

using namespace setup;

namespace {

int Run(const SetupSwitches& given) {
  // A log that cannot be written is no reason to stop.
  if (given.log && !kw::OpenLog(*given.log))
    kw::ShowWarning("Setup cannot write the log file " + *given.log + " and goes on without it.");
  kw::Log({"Setup started: ", GetCommandLineA()});
  if (!given.fault.empty()) {
    kw::ShowWarning(given.fault);
    return kw::exitcode::kBadCommandLine;
  }
  // Destroyed in reverse order: the wizard's destruction step runs before the
  // main window goes.
  TfBack back;
  TfSetup wizard;
  TfCopy copy;
  back.Create(wizard);
  wizard.Create(back, back.Label1, copy);  // the whole preparation
  wizard.UseSwitches(given);
  copy.Create();
  if (given.silent)
    wizard.RunSilent();
  else
    kw::App().Run();
  return wizard.Result;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int) {
  kw::App().Initialize();
  kw::App().Title = "Setup";
  ZipAppTitle = "Setup";
  SetupSwitches given = ParseSetupSwitches(cmdLine ? cmdLine : "");
  kw::SetSilent(given.silent);
  int code = Run(given);
  kw::Log({"Exit code ", kw::Decimal(code), ": ", kw::exitcode::Meaning(code)});
  kw::CloseLog();
  return code;
}
