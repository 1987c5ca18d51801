// Before a source's slices go into a folder or onto a disk: what an earlier run
// left there under the names the set is about to take. The destination and
// "delete source" outlive a run, so a second source of the same base name
// would otherwise replace a set that may be all that is left of the first.
#pragma once
#include <string>
#include <vector>

#include "kerfwise/engine/Platform.h"

namespace kerfwise {

struct Occupants {
  // <base>.sss names this source: an earlier set of it, replaced as a whole.
  bool sameSource = false;
  // Not empty: the set belongs to someone else and the source is refused.
  std::string refusal;
};

// `slices` are the names about to be written into `folder`; `listToo` when
// <base>.sss will be written there as well. A slice list naming another file,
// a file at the list's name that is no slice list, or a slice that no list of
// this source names, belongs to another set.
Occupants LookAtDestination(Platform& fs, const std::string& source, const std::string& base,
                            const std::string& folder, const std::vector<std::string>& slices,
                            bool listToo);

}  // namespace kerfwise
