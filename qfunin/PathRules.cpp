#include "qfunin/PathRules.h"

#include "toolkit/PathText.h"

namespace qfunin {

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool HasDrive(std::string_view p) { return p.size() >= 2 && IsLetter(p[0]) && p[1] == ':'; }

bool BadNameChar(unsigned char c) {
  if (c < 32) return true;
  switch (c) {
    case '*': case '?': case '"': case '<': case '>': case '|': case ':': case '/':
      return true;
    default:
      return false;
  }
}

bool OnlyDots(std::string_view name) {
  return name.find_first_not_of('.') == std::string_view::npos;
}

}  // namespace

std::string NormalPath(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '/') c = '\\';  // Windows reads both
    if (!(c == '\\' && !out.empty() && out.back() == '\\')) out += c;
  }
  if (out.size() > 1 && out.back() == '\\' && !(out.size() == 3 && HasDrive(out))) out.pop_back();
  return out;
}

bool IsDriveRoot(std::string_view path) {
  return HasDrive(path) && (path.size() == 2 || (path.size() == 3 && path[2] == '\\'));
}

bool IsCleanAbsolute(std::string_view raw) {
  std::string normal = NormalPath(raw);
  std::string_view path = normal;
  if (!HasDrive(path) || path.size() < 4 || path[2] != '\\') return false;
  std::string_view rest = path.substr(3);
  for (;;) {
    size_t cut = rest.find('\\');
    std::string_view name = rest.substr(0, cut);
    // Windows drops a trailing dot or blank ("C:\WINDOWS." is the Windows
    // folder), which would slip past every comparison made on the text.
    if (name.empty() || OnlyDots(name) || name.back() == '.' || name.back() == ' ') return false;
    for (char c : name)
      if (BadNameChar(static_cast<unsigned char>(c))) return false;
    if (cut == std::string_view::npos) return true;
    rest.remove_prefix(cut + 1);
  }
}

bool SamePath(std::string_view a, std::string_view b) {
  return kw::SameText(NormalPath(a), NormalPath(b));
}

bool IsInside(std::string_view path, std::string_view folder) {
  std::string p = NormalPath(path), f = NormalPath(folder);
  if (f.empty()) return false;
  if (f.back() != '\\') f += '\\';
  return p.size() > f.size() && kw::SameText(std::string_view(p).substr(0, f.size()), f);
}

std::string ParentFolder(std::string_view path) {
  std::string p = NormalPath(path);
  if (IsDriveRoot(p)) return {};
  size_t cut = p.rfind('\\');
  if (cut == std::string::npos) return {};
  return NormalPath(p.substr(0, cut + 1));
}

}  // namespace qfunin
