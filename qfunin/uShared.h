// TfShared: "Remove Shared File?", asked for each file in the Windows folder
// that other programs may use. No is the default button.
#pragma once
#include "qfunin/RemovalHost.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace qfunin {

class TfShared : public kw::Form {
 public:
  void Create();
  // Shows the question for this file modally; closing the box answers No.
  SharedAnswer Ask(const std::string& path);

  kw::Label lQuestion;
  kw::Button bYes, bYesToAll, bNo, bNoToAll;

 protected:
  void Command(int id, int code) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  HWND icon_ = nullptr;
  SharedAnswer answer_ = SharedAnswer::kNo;
};

}  // namespace qfunin
