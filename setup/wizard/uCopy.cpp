#include "setup/wizard/uCopy.h"

#include "setup/SetupIds.h"

namespace setup {

void TfCopy::Create() {
  CreateForm("TfCopy", "Copying", 424, 85);
  Label1.Create(hwnd_, ids::kCopyLabel1, "Copying file: ", 8, 8, 96, 16, kw::Label::kRight);
  lFileName.Create(hwnd_, ids::kCopyFileName, "", 108, 8, 300, 16);
  Guage.Create(hwnd_, ids::kCopyGauge, 8, 30, 400, 16);
  FormCreate();
}

void TfCopy::FormCreate() {
  SetBounds(Left(), Top(), 424, 85);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds(sw / 2 - Width() / 2, sh / 2 - Height() / 2, 424, 85);
  Repaint();
}

}  // namespace setup
