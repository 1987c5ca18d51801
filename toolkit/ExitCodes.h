// Exit codes of setup.exe and qfunin.exe, the numbers deployment tools read
// from installers.
#pragma once

namespace kw::exitcode {

constexpr int kDone = 0;
constexpr int kRestartNeeded = 3010;  // done; Windows must restart to finish
constexpr int kCancelled = 1602;      // the user cancelled or answered No
constexpr int kFailed = 1603;         // failed or incomplete
constexpr int kBadCommandLine = 1639;

// What the code means, as the log's last line says it ("done").
const char* Meaning(int code);

}  // namespace kw::exitcode
