// The installer's three windows, created in this order by the program entry
// and reachable from each other's handlers.
#pragma once

namespace setup {

class TfBack;
class TfSetup;
class TfCopy;

extern TfBack* fBack;
extern TfSetup* fSetup;
extern TfCopy* fCopy;  // the install engine's progress window

}  // namespace setup
