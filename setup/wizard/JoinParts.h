// Joining the package's parts into one archive. Plain C files, no Windows API.
#pragma once
#include "toolkit/Error.h"
#include <string>
#include <vector>

namespace setup {

// Creates the archive anew and appends each part in the order given, in
// blocks of up to 2048 bytes. When the archive's name is also one of the parts
// (a first part that already ends in ".zip"), the parts are joined into a
// scratch file that then takes the archive's place, so no part is truncated
// before it is read. Throws kw::Error "Cannot create file %s" or
// "Cannot open file %s".
void JoinParts(const std::string& archive, const std::vector<std::string>& parts);

}  // namespace setup
