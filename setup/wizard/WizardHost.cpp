#include "setup/wizard/WizardHost.h"

#include "setup/wizard/uCopy.h"
#include "setup/wizard/uSetup.h"

namespace setup {

// The installer has no hidden application window: the wizard, its active
// window, is what comes back to the front after the post-installation program.
WizardHost::WizardHost(TfSetup& wizard, TfCopy& copy)
    : SystemInstallHost(wizard.Handle(), wizard.Handle()), wizard_(wizard), copy_(copy) {}

int WizardHost::WizardBottom() { return wizard_.Top() + wizard_.Height(); }
void WizardHost::PlaceCopyWindow(int top) { copy_.SetTop(top); }
void WizardHost::ShowCopyWindow() { copy_.Show(); }
void WizardHost::SetCopyFileName(const std::string& text) { copy_.lFileName.SetText(text); }
void WizardHost::SetCopyProgress(int percent) { copy_.Guage.SetPosition(percent); }
void WizardHost::RepaintCopyWindow() { copy_.Repaint(); }
void WizardHost::CloseCopyWindow() { copy_.Close(); }

}  // namespace setup
