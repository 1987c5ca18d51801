#include "setup/engine/RegText.h"

#include "toolkit/PathText.h"

namespace setup {

namespace {

constexpr std::string_view kRootNames[] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA"};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

int RootKeyIndex(std::string_view name) {
  for (int i = 0; i < 7; ++i)
    if (name == kRootNames[i]) return i;
  return -1;
}

std::string_view RelativeKeyPath(std::string_view key) {
  if (!key.empty() && key.front() == '\\') key.remove_prefix(1);
  return key;
}

std::string SubstituteRegData(std::string data, std::string_view destDir,
                              std::string_view mainProgram) {
  if (kw::LowerAscii(data) == "r") data = destDir;
  std::string command = std::string(destDir) + "\\" + std::string(mainProgram);
  if (data == "p")
    data = command + " %1";
  else if (data == "P")
    data = command + " %1 %2 %3 %4 %5 %6 %7 %8 %9";
  return data;
}

std::optional<KeyRedirect> ParseKeyRedirect(std::string_view key) {
  if (key.empty() || key.front() != '>') return std::nullopt;
  key.remove_prefix(1);
  KeyRedirect r;
  r.fallback = key;
  size_t lt = key.find('<');
  if (lt == std::string_view::npos) {
    r.lookup = key;
    r.rest = key;
  } else {
    r.lookup = key.substr(0, lt);
    r.rest = key.substr(lt + 1);
  }
  return r;
}

std::string RedirectedKey(const KeyRedirect& r, std::string_view lookupValue) {
  return lookupValue.empty() ? r.fallback : std::string(lookupValue) + r.rest;
}

std::optional<int32_t> StrToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i < text.size() && text[i] == '$') {
    if (++i == text.size()) return std::nullopt;
    uint32_t v = 0;
    for (; i < text.size(); ++i) {
      int d = HexDigit(text[i]);
      if (d < 0 || v > 0x0FFFFFFFu) return std::nullopt;
      v = v << 4 | uint32_t(d);
    }
    return int32_t(negative ? 0u - v : v);
  }
  if (i == text.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    v = v * 10 + (text[i] - '0');
    if (v > int64_t(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return std::nullopt;
  return int32_t(v);
}

std::string NumberText(std::string_view data) {
  return data.size() < 2 ? std::string() : std::string(data.substr(1, data.size() - 2));
}

}  // namespace setup
