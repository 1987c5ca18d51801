// TAboutBox: the modal About box with the program's icon, name and version.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace kerfwise {

class TAboutBox : public kw::Form {
 public:
  // The version line takes the stored `version` value now.
  void Create();
  // Centred, brought to the front; returns when OK or Esc closes it.
  void Execute();

 protected:
  void Command(int id, int code) override;

 private:
  // A static control showing the program's icon.
  class IconView : public kw::Control {
   public:
    void Create(HWND parent, int id, int x, int y);
  };
  IconView icon_;
  kw::Label name_, version_;
  kw::Button ok_;
};

}  // namespace kerfwise
