#include "qfunin/uUninstall.h"

#include "qfunin/QfuninIds.h"
#include "toolkit/App.h"

namespace qfunin {

void TfUninstall::Create() {
  CreateForm("TfUninstall", "Uninstall", 424, 85, WS_CAPTION | WS_DLGFRAME | WS_CLIPSIBLINGS);
  Label1.Create(hwnd_, ids::kRemovingLabel, "Removing:", 8, 8, 64, 16);
  lItem.Create(hwnd_, ids::kItem, "", 76, 8, 332, 16);
  Gauge.Create(hwnd_, ids::kGauge, 8, 30, 400, 16);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds(sw / 2 - Width() / 2, sh / 2 - Height() / 2, Width(), Height());
}

void TfUninstall::ShowItem(int percent, const std::string& item) {
  lItem.SetText(item);
  Gauge.SetPosition(percent);
  kw::App().ProcessMessages();
}

LRESULT TfUninstall::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_CLOSE) return 0;
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace qfunin
