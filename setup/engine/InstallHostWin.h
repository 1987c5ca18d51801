// The system half of InstallHost: message boxes, the message pump, the restart
// request, the shell's "OPEN" and the foreground request through the real
// Windows calls. The wizard derives from it and adds the copy-progress window.
#pragma once
#include <windows.h>

#include "setup/engine/InstallHost.h"

namespace setup {

class SystemInstallHost : public InstallHost {
 public:
  // owner: parent of the message boxes; app: the application window brought
  // to the foreground after the post-installation program.
  SystemInstallHost(HWND owner, HWND app) : owner_(owner), app_(app) {}

  int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
  void ProcessMessages() override;
  bool RequestRestart() override;
  void ShellOpen(const std::string& file, const std::string& folder) override;
  void BringToFront() override;

 protected:
  HWND owner_;
  HWND app_;
};

// Handles every queued message; a quit message is put back for the main loop.
void PumpMessages();
// ExitWindowsEx(EWX_REBOOT), after enabling the shutdown privilege where the
// system has one (looked up at run time: Windows 95/98 have no such calls).
// False when the system refused.
bool RequestSystemRestart();

}  // namespace setup
