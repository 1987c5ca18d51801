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
  for (size_t i = 0; i < path.size(); i += kw::CharSize(path, i)) {
    const char c = path[i] == '/' ? '\\' : path[i];  // Windows reads both; never a lead byte
    if (c == '\\') {
      if (!kw::EndsWithChar(out, '\\')) out += c;
    } else {
      out.append(path, i, kw::CharSize(path, i));
    }
  }
  if (out.size() > 1 && kw::EndsWithChar(out, '\\') && !(out.size() == 3 && HasDrive(out))) out.pop_back();
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
    size_t cut = kw::FindChar(rest, "\\");
    std::string_view name = rest.substr(0, cut);
    // Windows drops a trailing dot or blank ("C:\WINDOWS." is the Windows
    // folder), which would slip past every comparison made on the text.
    if (name.empty() || OnlyDots(name) || name.back() == '.' || name.back() == ' ') return false;
    for (size_t i = 0; i < name.size(); i += kw::CharSize(name, i))
      if (kw::CharSize(name, i) == 1 && BadNameChar(static_cast<unsigned char>(name[i]))) return false;
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
  if (!kw::EndsWithChar(f, '\\')) f += '\\';
  return p.size() > f.size() && kw::SameText(std::string_view(p).substr(0, f.size()), f);
}

std::string ParentFolder(std::string_view path) {
  std::string p = NormalPath(path);
  if (IsDriveRoot(p)) return {};
  size_t cut = kw::FindLastChar(p, "\\");
  if (cut == std::string::npos) return {};
  return NormalPath(p.substr(0, cut + 1));
}

}  // namespace qfunin
