#include "qfunin/WininitText.h"

#include "toolkit/PathText.h"
#include "toolkit/SwapIn.h"

namespace qfunin {

namespace {

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
    line.remove_suffix(1);
  return line;
}

}  // namespace

std::string AddWininitDelete(std::string_view ini, std::string_view shortPath) {
  std::string add = "NUL=" + std::string(shortPath) + "\r\n";
  // Find [Rename], then the end of its last non-blank line before the next section.
  size_t pos = 0, insert = std::string_view::npos;
  bool inRename = false;
  while (pos < ini.size()) {
    size_t lf = ini.find('\n', pos);
    size_t next = lf == std::string_view::npos ? ini.size() : lf + 1;
    std::string_view line = Trimmed(ini.substr(pos, next - pos - (lf == std::string_view::npos ? 0 : 1)));
    if (!line.empty() && line.front() == '[') {
      if (inRename) break;
      inRename = kw::SameText(line, "[Rename]");
      if (inRename) insert = next;
    } else if (inRename && !line.empty()) {
      insert = next;
    }
    pos = next;
  }
  std::string out(ini);
  if (insert == std::string_view::npos) {
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    return out + "[Rename]\r\n" + add;
  }
  if (insert == out.size() && !out.empty() && out.back() != '\n') {
    out += "\r\n";
    insert = out.size();
  }
  out.insert(insert, add);
  return out;
}

bool QueueWininitDelete(IniFiles& files, const std::string& windowsDir, const std::string& shortPath) {
  std::string dir = windowsDir;
  if (!dir.empty() && dir.back() != '\\') dir += '\\';
  std::string ini = dir + "WININIT.INI", beside = dir + kw::kWininitBeside;
  std::string text;
  if (!files.Read(ini, text)) return false;
  if (files.Write(beside, AddWininitDelete(text, shortPath)) && files.Swap(beside, ini)) return true;
  files.Remove(beside);
  return false;
}

}  // namespace qfunin
