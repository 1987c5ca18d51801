#include "kerfwise/engine/SetGuard.h"

#include "kerfwise/engine/IoError.h"
#include "toolkit/PathText.h"

namespace kerfwise {

namespace {
constexpr int64_t kMaxList = 1 << 20;  // far more than any slice list

// The lines of a slice list ("DEL"/"NODEL", the file, its slices), or nothing
// when the file is no slice list or cannot be read.
bool ReadList(Platform& fs, const std::string& path, std::vector<std::string>& lines) {
  std::string text;
  try {
    if (!ReadSmallFile(fs, path, kMaxList, text)) return false;
  } catch (const IoError&) {
    return false;
  }
  for (size_t start = 0; start < text.size();) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines.size() >= 3 && (lines[0] == "DEL" || lines[0] == "NODEL") && !lines[1].empty();
}
}  // namespace

Occupants LookAtDestination(Platform& fs, const std::string& source, const std::string& base,
                            const std::string& folder, const std::vector<std::string>& slices,
                            bool listToo) {
  Occupants o;
  std::string list = base + ".sss";
  std::vector<std::string> lines;
  bool listThere = fs.Exists(list);
  bool isList = listThere && ReadList(fs, list, lines);
  o.sameSource = isList && kw::SameText(lines[1], kw::ExtractFileName(source));
  std::string prefix = "The slices of " + source + " would overwrite ";
  if (listToo && listThere && !o.sameSource) {
    o.refusal = prefix + (isList ? "those of " + lines[1] + " (" + list + ")" : list);
    return o;
  }
  for (const std::string& s : slices) {
    if (!fs.Exists(folder + s)) continue;
    bool listed = false;
    for (size_t i = 2; isList && !listed && i < lines.size(); ++i) listed = kw::SameText(lines[i], s);
    if (listed && o.sameSource) continue;
    o.refusal = prefix + (listed ? "those of " + lines[1] + " (" + folder + s + ")"
                                 : folder + s + ", left by another set or an unfinished run");
    return o;
  }
  return o;
}

}  // namespace kerfwise
