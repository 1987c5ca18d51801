// How Windows resolves a path, for the fuzz targets' model systems, which must
// see through every spelling of a folder that a text check might miss: "/" is
// "\", doubled "\" count once, letter case does not count, a name loses its
// trailing dots and spaces, "." and ".." (and Windows 95's "...") climb, and
// a few 8.3 short names stand for their long names.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fuzzmodel {

inline std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

// The short names the model system gives its long ones.
inline constexpr std::pair<std::string_view, std::string_view> kShortNames[] = {
    {"progra~1", "program files"}, {"startm~1", "start menu"}, {"kerfde~1", "kerf demo"},
    {"window~1", "windows"}};

// "c:\a\b" for any spelling of an absolute path; an empty text for what is
// not one ("x", "\x", a UNC name).
inline std::string Canon(std::string_view path) {
  std::string p = Lower(path);
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.size() < 2 || p[1] != ':' || p[0] < 'a' || p[0] > 'z') return {};
  std::vector<std::string> parts;
  size_t at = 2;
  while (at <= p.size()) {
    size_t cut = p.find('\\', at);
    if (cut == std::string::npos) cut = p.size();
    std::string name = p.substr(at, cut - at);
    at = cut + 1;
    size_t end = name.find_last_not_of(' ');
    name.resize(end == std::string::npos ? 0 : end + 1);
    if (!name.empty() && name.find_first_not_of('.') == std::string::npos) {
      for (size_t up = 1; up < name.size() && !parts.empty(); ++up) parts.pop_back();
      continue;
    }
    end = name.find_last_not_of(". ");
    name.resize(end == std::string::npos ? 0 : end + 1);
    if (name.empty()) continue;
    for (const auto& [shortName, longName] : kShortNames)
      if (name == shortName) name = longName;
    parts.push_back(name);
  }
  std::string out = p.substr(0, 2) + "\\";
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
  return out;
}

// Both canonical: `path` is `folder` or lies below it.
inline bool Within(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty()) return false;
  if (path == folder) return true;
  std::string f = folder.back() == '\\' ? folder : folder + "\\";
  return path.size() > f.size() && path.compare(0, f.size(), f) == 0;
}

}  // namespace fuzzmodel
