#include "mksetup/TextFit.h"

#include <string>

#include "setup/engine/ListFormat.h"

namespace mksetup {

namespace {

// Width in characters, a tab reaching the next multiple of eight as the edit box sets it.
int Columns(std::string_view line) {
  int n = 0;
  for (char c : line) n = c == '\t' ? (n / 8 + 1) * 8 : n + 1;
  return n;
}

// Rows a line takes in a box that wraps at blanks; a word wider than the box
// is broken where it reaches the edge.
int Rows(std::string_view line, int columns) {
  int rows = 1, used = 0;
  size_t i = 0;
  while (i < line.size()) {
    const size_t b = line.find(' ', i);
    const std::string_view word = line.substr(i, (b == line.npos ? line.size() : b) - i);
    int w = Columns(word);
    if (used > 0 && used + 1 + w > columns) ++rows, used = 0;
    else if (used > 0) ++used;
    while (w > columns) ++rows, w -= columns;
    used += w;
    i = b == line.npos ? line.size() : b + 1;
  }
  return rows;
}

}  // namespace

std::vector<Problem> CheckTextFits(const TextBox& box, std::string_view shown, std::string_view text) {
  const std::vector<std::string> lines = setup::SplitLines(text);
  const std::string file(shown);
  const std::string cols = std::to_string(box.columns);
  if (box.rows == 0) {
    int first = 0, more = 0;
    for (size_t i = 0; i < lines.size(); ++i)
      if (Columns(lines[i]) > box.columns) first ? ++more : first = int(i) + 1;
    if (!first) return {};
    std::string t = "a line of " + std::to_string(Columns(lines[size_t(first) - 1])) + " characters: the " + box.what +
                    " shows about " + cols + " and does not wrap, so the reader must scroll sideways; break it";
    if (more) t += " (" + std::to_string(more) + " more line" + (more == 1 ? "" : "s") + " like it)";
    return {{file, first, true, t}};
  }
  int rows = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    rows += Rows(lines[i], box.columns);
    if (rows > box.rows)
      return {{file, int(i) + 1, true,
               std::string("the ") + box.what + " shows about " + std::to_string(box.rows) + " lines of " + cols +
                   " characters (it wraps at blanks, without a scroll bar): from this line on the text is cut off; "
                   "shorten it"}};
  }
  return {};
}

}  // namespace mksetup
