#include "mksetup/Problem.h"

namespace mksetup {

std::string Format(const Problem& p) {
  std::string s = p.file;
  if (p.line > 0) s += ":" + std::to_string(p.line);
  return s + (p.warning ? ": warning: " : ": error: ") + p.text;
}

bool HasErrors(const std::vector<Problem>& problems) {
  for (const Problem& p : problems)
    if (!p.warning) return true;
  return false;
}

}  // namespace mksetup
