// The wizard's pages after the introduction and the navigation between them.
#include "setup/SetupIds.h"
#include "setup/wizard/uSetup.h"

namespace setup {

// The licence, readme, folders and summary pages are created here, hidden,
// in the page area (137, 0, 279 x 243).
void TfSetup::CreatePages() {}

void TfSetup::bNextClick() {}

void TfSetup::bBackClick() {}

// The running-program check.
void TfSetup::FormShow() {}

}  // namespace setup
