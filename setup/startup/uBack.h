// TfBack: the full-screen background window and the program's main window. It
// shows the wizard modally a quarter of a second after it appears, unless the
// preparation has asked the program to end.
#pragma once
#include "setup/startup/Gradient.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Timer.h"

namespace setup {

class TfSetup;

class TfBack : public kw::Form {
 public:
  // wizard: shown modally once this window is up, unless it has asked the
  // program to end.
  void Create(TfSetup& wizard);

  TGradient Gradient1;
  kw::Label Label1;  // the program's name, set by the wizard's creation step
  kw::Timer tInstall;

  void tInstallTimer();

 protected:
  void FormShow() override;
  void Timer(UINT id) override;
  bool Paint(HDC dc) override;

 private:
  void FormCreate();
  kw::Font labelFont_;
  TfSetup* wizard_ = nullptr;
};

}  // namespace setup
