#include "toolkit/PathText.h"

namespace kw {

namespace {
size_t LastDelimiter(std::string_view path) {
  return path.find_last_of("\\:");
}
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }
}  // namespace

std::string StripBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

std::string ExtractFileName(std::string_view path) {
  size_t d = LastDelimiter(path);
  return std::string(d == std::string_view::npos ? path : path.substr(d + 1));
}

std::string ExtractFilePath(std::string_view path) {
  size_t d = LastDelimiter(path);
  return d == std::string_view::npos ? std::string() : std::string(path.substr(0, d + 1));
}

std::string ExtractFileExt(std::string_view path) {
  size_t dot = path.rfind('.');
  size_t d = LastDelimiter(path);
  if (dot == std::string_view::npos || (d != std::string_view::npos && dot < d)) return {};
  return std::string(path.substr(dot));
}

std::string ChangeFileExt(std::string_view path, std::string_view ext) {
  size_t keep = path.size() - ExtractFileExt(path).size();
  std::string out(path.substr(0, keep));
  out += ext;
  return out;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace kw
