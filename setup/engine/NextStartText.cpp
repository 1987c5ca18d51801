#include "setup/engine/NextStartText.h"

#include <algorithm>

#include "toolkit/PathText.h"

namespace setup {

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string NtPath(std::string_view s) {
  if (!s.empty() && s.front() == '!') s.remove_prefix(1);
  if (s.substr(0, 4) == "\\??\\") s.remove_prefix(4);
  return std::string(s);
}

}  // namespace

std::vector<QueuedMove> WininitMoves(std::string_view text) {
  std::vector<QueuedMove> moves;
  bool inRename = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.front() == '[') {
      inRename = kw::SameText(line, "[Rename]");
      continue;
    }
    size_t eq = line.find('=');
    if (!inRename || line.empty() || line.front() == ';' || eq == std::string_view::npos) continue;
    std::string_view to = Trim(line.substr(0, eq)), from = Trim(line.substr(eq + 1));
    moves.push_back({std::string(from), kw::SameText(to, "NUL") ? std::string() : std::string(to)});
  }
  return moves;
}

std::vector<QueuedMove> DelayedMoves(std::string_view data) {
  std::vector<std::string_view> strings;
  while (!data.empty()) {
    size_t end = data.find('\0');
    strings.push_back(data.substr(0, end));
    data.remove_prefix(end == std::string_view::npos ? data.size() : end + 1);
  }
  std::vector<QueuedMove> moves;
  // The list ends in an empty string of its own, never a source.
  for (size_t i = 0; i + 1 < strings.size(); i += 2)
    if (!strings[i].empty()) moves.push_back({NtPath(strings[i]), NtPath(strings[i + 1])});
  return moves;
}

bool GoneAfterNextStart(const std::vector<QueuedMove>& moves, const std::vector<std::string>& names) {
  auto named = [&](const std::string& path) {
    return !path.empty() &&
           std::any_of(names.begin(), names.end(), [&](const std::string& n) { return kw::SameText(n, path); });
  };
  bool gone = false;
  for (const QueuedMove& m : moves) {
    if (named(m.from)) gone = true;
    if (named(m.to)) gone = false;
  }
  return gone;
}

}  // namespace setup
