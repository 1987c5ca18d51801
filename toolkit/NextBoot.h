// What both programs need to finish a file operation at the next start of
// Windows: 95/98 carry out WININIT.INI before long names exist, NT-family
// systems carry out delayed moves and never read WININIT.INI.
#pragma once

#include <string>

namespace kw {

// True on NT-family systems (GetVersion's high bit clear).
bool IsNtFamily();

// MoveFileExA(from, to, flags), looked up at run time so that a 32-bit program
// still loads where the kernel lacks it (95/98 have only a failing stub); an
// empty `to` deletes. False when the call is missing or fails.
bool MoveEx(const std::string& from, const std::string& to, unsigned long flags);
// MoveEx with MOVEFILE_DELAY_UNTIL_REBOOT added.
bool DelayedMove(const std::string& from, const std::string& to, unsigned long flags);

// The short (8.3) form of an existing path; the path itself when it has none.
std::string ShortPath(const std::string& path);

}  // namespace kw
