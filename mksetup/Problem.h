// A mistake found in a project, named by file and line as a compiler does.
#pragma once
#include <string>
#include <vector>

namespace mksetup {

struct Problem {
  std::string file;     // as the author knows it: "setup.ini", "disk1/extra.txt"
  int line = 0;         // from 1; 0 when the whole file is meant
  bool warning = false; // warnings are shown, errors stop the build
  std::string text;
};

// "setup.ini:12: error: text" (no line part for line 0).
std::string Format(const Problem& p);
bool HasErrors(const std::vector<Problem>& problems);

}  // namespace mksetup
