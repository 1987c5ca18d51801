// The install engine's host in the running installer: the copy-progress window
// TfCopy made by the program entry, message boxes over the wizard.
#pragma once
#include "setup/engine/InstallHostWin.h"

namespace setup {

class TfCopy;
class TfSetup;

class WizardHost : public SystemInstallHost {
 public:
  WizardHost(TfSetup& wizard, TfCopy& copy);

  int WizardBottom() override;
  void PlaceCopyWindow(int top) override;
  void ShowCopyWindow() override;
  void SetCopyFileName(const std::string& text) override;
  void SetCopyProgress(int percent) override;
  void RepaintCopyWindow() override;
  void CloseCopyWindow() override;

 private:
  TfSetup& wizard_;
  TfCopy& copy_;
};

// The engine's host for /S: no window at all; its boxes take their safe
// answers (kw::MsgBox), so nothing waits for a person.
class SilentHost : public SystemInstallHost {
 public:
  SilentHost() : SystemInstallHost(nullptr, nullptr) {}

  int WizardBottom() override { return 0; }
  void PlaceCopyWindow(int) override {}
  void ShowCopyWindow() override {}
  void SetCopyFileName(const std::string&) override {}
  void SetCopyProgress(int) override {}
  void RepaintCopyWindow() override {}
  void CloseCopyWindow() override {}
  void BringToFront() override {}
};

}  // namespace setup
