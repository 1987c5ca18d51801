// kerfwise.exe: the main window and the About box, then the message loop
// until the main window closes.
#include <windows.h>

#include "kerfwise/window/AboutBox.h"
#include "kerfwise/window/uKerfwise.h"
#include "toolkit/App.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  kw::App().Initialize();
  kw::App().Title = "Kerfwise";
  kerfwise::TfKerfwise fKerfwise;
  kerfwise::TAboutBox AboutBox;
  fKerfwise.Create(AboutBox);
  AboutBox.Create();
  kw::App().Run();
  return 0;
}
