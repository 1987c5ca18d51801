// Starting an outside program (mtools) and waiting for it.
#pragma once
#include <string>
#include <vector>

namespace mksetup {

// Runs args[0], found on the PATH, with the arguments and extra environment
// settings ("NAME=value"); returns its exit code, or -1 when it cannot start.
int RunTool(const std::vector<std::string>& args, const std::vector<std::string>& env = {});

}  // namespace mksetup
