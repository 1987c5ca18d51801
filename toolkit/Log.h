// The run's log (/LOG=): plain ANSI text, CR LF, one line per thing done or
// failed, written at once so that a run cut short still leaves its story.
// Nothing happens while no log is open.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

namespace kw {

// Creates the file anew; false when it cannot be written.
bool OpenLog(const std::string& path);
// Writes one line made of `parts`; line breaks inside become blanks. Parts,
// not a joined string, keep each caller's code small.
void Log(std::initializer_list<std::string_view> parts);
void CloseLog();

}  // namespace kw
