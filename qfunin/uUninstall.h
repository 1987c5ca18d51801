// TfUninstall: the small progress window of the removal run.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace qfunin {

class TfUninstall : public kw::Form {
 public:
  void Create();
  void ShowItem(int percent, const std::string& item);

  kw::Label Label1;  // "Removing:"
  kw::Label lItem;
  kw::ProgressBar Gauge;

 protected:
  // The run cannot be stopped halfway: closing the window is refused.
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
};

}  // namespace qfunin
