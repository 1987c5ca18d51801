#include "toolkit/PathText.h"

#include "toolkit/LeadBytes.h"

namespace kw {

namespace {
// One bit a byte; filled on first use from the system, or by UseCodePage.
unsigned char g_lead[32];
bool g_leadReady = false;

void SetRange(unsigned from, unsigned to) {
  for (unsigned b = from; b <= to; ++b) g_lead[b >> 3] |= (unsigned char)(1u << (b & 7));
}

size_t LastDelimiter(std::string_view path) { return FindLastChar(path, "\\:"); }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; }

template <class F>
std::string MapLetters(std::string_view s, F f) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); i += CharSize(out, i)) out[i] = f(out[i]);
  return out;
}
}  // namespace

bool IsLeadByte(char c) {
  if (!g_leadReady) {
    detail::SystemLeadBytes(g_lead);
    g_leadReady = true;
  }
  unsigned b = (unsigned char)c;
  return (g_lead[b >> 3] >> (b & 7)) & 1;
}

void UseCodePage(unsigned codePage) {
  for (unsigned char& b : g_lead) b = 0;
  switch (codePage) {
    case 932:  // Shift JIS
      SetRange(0x81, 0x9F);
      SetRange(0xE0, 0xFC);
      break;
    case 936:  // GBK
    case 949:  // Unified Hangul
    case 950:  // Big5
      SetRange(0x81, 0xFE);
      break;
    default: break;
  }
  g_leadReady = true;
}

size_t CharSize(std::string_view s, size_t i) {
  return i + 1 < s.size() && IsLeadByte(s[i]) ? 2 : 1;
}

size_t FindLastChar(std::string_view s, std::string_view set) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < s.size(); i += CharSize(s, i))
    if (set.find(s[i]) != std::string_view::npos) found = i;
  return found;
}

size_t FindChar(std::string_view s, std::string_view set, size_t from) {
  for (size_t i = 0; i < s.size(); i += CharSize(s, i))
    if (i >= from && set.find(s[i]) != std::string_view::npos) return i;
  return std::string_view::npos;
}

bool EndsWithChar(std::string_view s, char c) {
  size_t last = std::string_view::npos;
  for (size_t i = 0; i < s.size(); i += CharSize(s, i)) last = i;
  return last != std::string_view::npos && last + 1 == s.size() && s[last] == c;
}

std::string_view CutToBytes(std::string_view s, size_t n) {
  size_t i = 0;
  while (i < s.size() && i + CharSize(s, i) <= n) i += CharSize(s, i);
  return s.substr(0, i);
}

std::string StripBackslash(std::string_view path) {
  if (EndsWithChar(path, '\\')) path.remove_suffix(1);
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
  size_t dot = FindLastChar(path, ".");
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

std::string LowerAscii(std::string_view s) { return MapLetters(s, Lower); }

std::string UpperAscii(std::string_view s) { return MapLetters(s, Upper); }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
    // A whole two-byte character must match byte for byte.
    if (CharSize(a, i) == 2) {
      if (a[i + 1] != b[i + 1]) return false;
      ++i;
    }
  }
  return true;
}

std::string DecimalText(unsigned long magnitude, bool negative) {
  char digits[12];
  char* p = digits + sizeof digits;
  do *--p = char('0' + magnitude % 10);
  while (magnitude /= 10);
  if (negative) *--p = '-';
  return std::string(p, digits + sizeof digits - p);
}

}  // namespace kw
