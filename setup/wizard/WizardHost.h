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

}  // namespace setup
