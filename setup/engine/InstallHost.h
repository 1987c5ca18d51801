// What the install engine needs from the installer's windows and from the
// system while it runs. Implemented by the wizard over the copy-progress window
// TfCopy and message boxes (on top of SystemInstallHost, InstallHostWin.h), and
// by a recording double in the engine's tests.
#pragma once
#include <string>

namespace setup {

class InstallHost {
 public:
  virtual ~InstallHost() = default;

  // The copy-progress window TfCopy.
  virtual int WizardBottom() = 0;                  // wizard top + wizard height
  virtual void PlaceCopyWindow(int top) = 0;       // left stays as it is
  virtual void ShowCopyWindow() = 0;
  virtual void SetCopyFileName(const std::string& text) = 0;  // lFileName
  virtual void SetCopyProgress(int percent) = 0;              // Guage, 0 to 100
  virtual void RepaintCopyWindow() = 0;            // at once, no other messages run
  virtual void CloseCopyWindow() = 0;

  // A modal message box (MB_... flags); returns the button pressed (IDOK ...).
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          unsigned flags) = 0;
  // Lets the pending window messages be handled.
  virtual void ProcessMessages() = 0;
  // Asks Windows for a normal restart; false when the system refused.
  virtual bool RequestRestart() = 0;
  // The shell's "OPEN" of a file, with its working folder, shown normally.
  virtual void ShellOpen(const std::string& file, const std::string& folder) = 0;
  // Brings the installer's application window to the foreground.
  virtual void BringToFront() = 0;
};

}  // namespace setup
