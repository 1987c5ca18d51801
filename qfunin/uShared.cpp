#include "qfunin/uShared.h"

#include "qfunin/QfuninIds.h"

namespace qfunin {

void TfShared::Create() {
  CreateForm("TfShared", "Remove Shared File?", 420, 180);
  SetClientSize(412, 146);
  icon_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_ICON, 12, 12, 32, 32, hwnd_,
                          HMENU(ids::kSharedIcon), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(icon_, STM_SETICON, WPARAM(LoadIconA(nullptr, IDI_WARNING)), 0);
  lQuestion.Create(hwnd_, ids::kSharedText, "", 56, 12, 344, 92, kw::Label::kLeft, true);
  bYes.Create(hwnd_, ids::kYes, "&Yes", 12, 112, 90, 23);
  bYesToAll.Create(hwnd_, ids::kYesToAll, "Yes to &All", 112, 112, 90, 23);
  bNo.Create(hwnd_, ids::kNo, "&No", 212, 112, 90, 23);
  bNoToAll.Create(hwnd_, ids::kNoToAll, "No to A&ll", 312, 112, 90, 23);
  SendMessageA(bNo.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  SetCancelControl(ids::kNo);
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  SetBounds(sw / 2 - Width() / 2, sh / 2 - Height() / 2, Width(), Height());
}

SharedAnswer TfShared::Ask(const std::string& path) {
  lQuestion.SetText("The file\r\n\r\n" + path +
                    "\r\n\r\nlies in the Windows folder and may be shared by other programs, "
                    "which may not work without it. Remove it?");
  answer_ = SharedAnswer::kNo;
  SetActiveControl(bNo.Handle());
  ShowModal();
  return answer_;
}

void TfShared::Command(int id, int code) {
  if (code != BN_CLICKED) return;
  switch (id) {
    case ids::kYes:
      answer_ = SharedAnswer::kYes;
      break;
    case ids::kYesToAll:
      answer_ = SharedAnswer::kYesToAll;
      break;
    case ids::kNoToAll:
      answer_ = SharedAnswer::kNoToAll;
      break;
    default:  // No, Esc, and Enter away from the buttons
      answer_ = SharedAnswer::kNo;
      break;
  }
  Close();
}

LRESULT TfShared::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // Enter presses No unless the focus is on another button.
  if (msg == DM_GETDEFID) return MAKELRESULT(ids::kNo, DC_HASDEFID);
  return Form::HandleMessage(msg, wp, lp);
}

}  // namespace qfunin
