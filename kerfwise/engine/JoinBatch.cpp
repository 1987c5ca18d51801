// The join batch file <base>s.bat. COMMAND.COM takes lines of at most 127
// characters, so a long set joins in steps; and since DEL must never run on
// slices that were not joined, a set that deletes (or needs steps) checks
// every slice first and its target after the last step.
#include "kerfwise/engine/SliceRules.h"

namespace kerfwise {

namespace {
constexpr size_t kMaxLine = 127;

// copy /b A + B + ... T, as many slices from `next` as fit; `first` leads
// (the target itself when appending to what earlier steps joined).
std::string CopyStep(const std::string& first, const std::vector<std::string>& slices,
                     size_t& next, std::string_view target) {
  std::string line = "copy /b " + first;
  size_t tail = 1 + target.size();
  while (next < slices.size() && line.size() + 3 + slices[next].size() + tail <= kMaxLine)
    line += " + " + slices[next++];
  return line + " " + std::string(target);
}
}  // namespace

std::vector<std::string> BatchLines(bool deleteAfterJoin, std::string_view shortTarget,
                                    const std::vector<std::string>& slices) {
  std::string target(shortTarget);
  std::string copy = "copy /b ";
  for (size_t i = 0; i < slices.size(); ++i) copy += (i ? " + " : "") + slices[i];
  copy += " " + target;
  // What was safe stays byte for byte as it always was.
  if (!deleteAfterJoin && copy.size() <= kMaxLine) return {"@echo off", copy};

  std::vector<std::string> lines{"@echo off", "if exist " + target + " goto there"};
  for (const std::string& s : slices) lines.push_back("if not exist " + s + " goto missing");
  // cmd.exe sets the errorlevel when a copy fails (a full disk); COMMAND.COM
  // leaves it as the last program left it, which at worst keeps the slices.
  size_t next = 1;
  lines.push_back(CopyStep(slices.empty() ? std::string() : slices[0], slices, next, target));
  lines.push_back("if errorlevel 1 goto failed");
  while (next < slices.size()) {
    size_t before = next;
    lines.push_back(CopyStep(target, slices, next, target));
    lines.push_back("if errorlevel 1 goto failed");
    if (next == before) return {};  // names too long for any line: no batch file
  }
  // An existing target was refused above, so one here is the join's own.
  lines.push_back("if not exist " + target + " goto failed");
  if (deleteAfterJoin)
    for (const std::string& s : slices) lines.push_back("DEL " + s);
  lines.insert(lines.end(), {"goto end", ":there",
                             "echo " + target + " is already here: move it away and run this again.",
                             "goto end", ":missing",
                             "echo A slice of " + target + " is missing: nothing was joined.",
                             "goto end", ":failed",
                             "echo " + target + " may not be whole: the slices are kept.", ":end"});
  for (const std::string& l : lines)
    if (l.size() > kMaxLine) return {};
  return lines;
}

}  // namespace kerfwise
