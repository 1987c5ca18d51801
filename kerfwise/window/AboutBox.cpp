#include "kerfwise/window/AboutBox.h"

#include "kerfwise/settings/RegistrySettings.h"
#include "kerfwise/window/KerfwiseIds.h"
#include "kerfwise/window/Placement.h"

namespace kerfwise {

void TAboutBox::IconView::Create(HWND parent, int id, int x, int y) {
  CreateControl(parent, "STATIC", "", SS_ICON, 0, x, y, 32, 32, id);
  HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
  SendMessageA(h_, STM_SETICON, WPARAM(icon ? icon : LoadIconA(nullptr, IDI_APPLICATION)), 0);
}

void TAboutBox::Create() {
  CreateForm("TAboutBox", "About", 260, 130);
  SetClientSize(252, 104);
  icon_.Create(Handle(), ids::AboutIcon, 16, 16);
  name_.Create(Handle(), ids::AboutName, "The Kerfwise for Win95/98", 64, 18, 180, 14);
  version_.Create(Handle(), ids::AboutVersion, "Version " + ReadSetting("version"), 64, 38, 180, 14);
  ok_.Create(Handle(), ids::AboutOK, "OK", 88, 70, 75, 23);
  SetCancelControl(ids::AboutOK);
  SetActiveControl(ok_.Handle());
}

void TAboutBox::Execute() {
  CenterOnScreen(Handle());
  ShowModal();
}

void TAboutBox::Command(int id, int code) {
  if (id == ids::AboutOK && code == BN_CLICKED) Close();
}

}  // namespace kerfwise
