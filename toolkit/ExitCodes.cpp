#include "toolkit/ExitCodes.h"

namespace kw {

const char* exitcode::Meaning(int code) {
  switch (code) {
    case kDone: return "done";
    case kRestartNeeded: return "done, Windows must restart to finish";
    case kCancelled: return "cancelled";
    case kFailed: return "failed or incomplete";
    case kBadCommandLine: return "bad command line";
  }
  return "failed";
}

}  // namespace kw
