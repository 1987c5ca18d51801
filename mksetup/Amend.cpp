#include "mksetup/Amend.h"

#include "toolkit/PathText.h"

namespace mksetup {

std::string WithWinEntry(std::string_view ini, std::string_view name) {
  // The installer reads nothing after a NUL byte: what is added must come before it.
  const size_t end = ini.find('\0') == ini.npos ? ini.size() : ini.find('\0');
  std::string s(ini);
  size_t pos = 0;
  for (int line = 0; pos < end; ++line) {
    size_t eol = pos;
    while (eol < end && ini[eol] != '\r' && ini[eol] != '\n') ++eol;
    const size_t next = eol + (eol < end && ini[eol] == '\r' && eol + 1 < end && ini[eol + 1] == '\n' ? 2 : 1);
    // The header's three lines are never sections.
    if (line >= 3 && kw::SameText(ini.substr(pos, eol - pos), ":WIN")) {
      if (eol >= end) return s.insert(end, "\r\n" + std::string(name) + "\r\n"), s;
      const std::string_view lineEnd = ini.substr(eol, next - eol);
      return s.insert(next, std::string(name) + std::string(lineEnd)), s;
    }
    pos = next;
  }
  std::string add = ":WIN\r\n" + std::string(name) + "\r\n:\r\n";
  if (end > 0 && ini[end - 1] != '\r' && ini[end - 1] != '\n') add = "\r\n" + add;
  return s.insert(end, add), s;
}

std::string DefaultCopyBrin(std::string_view programName) { return std::string(programName) + "\r\n"; }

}  // namespace mksetup
