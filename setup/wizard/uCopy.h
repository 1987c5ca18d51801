// TfCopy: the small copy-progress window (file name and a bar of 0 to 100),
// used for the extraction and by the install engine.
#pragma once
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace setup {

class TfCopy : public kw::Form {
 public:
  void Create();

  kw::Label Label1;     // "Copying file: ", right-aligned
  kw::Label lFileName;  // the current file
  kw::ProgressBar Guage;
  int FileCount = 0;    // files begun

 private:
  void FormCreate();
};

}  // namespace setup
