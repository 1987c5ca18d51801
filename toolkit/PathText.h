// Path and text helpers over plain strings, shared by both programs. No Windows
// API here: paths are the Windows kind (backslash, drive colon) but only text.
#pragma once
#include <string>
#include <string_view>

namespace kw {

// The path without one trailing backslash; "C:\" gives "C:".
std::string StripBackslash(std::string_view path);
// The part after the last backslash or colon.
std::string ExtractFileName(std::string_view path);
// The part up to and including the last backslash or colon.
std::string ExtractFilePath(std::string_view path);
// From the last dot after the last backslash or colon; empty when there is none.
std::string ExtractFileExt(std::string_view path);
// The path with its extension (as ExtractFileExt finds it) replaced by ext.
std::string ChangeFileExt(std::string_view path, std::string_view ext);

std::string LowerAscii(std::string_view s);
std::string UpperAscii(std::string_view s);
// Equal ignoring the case of the letters A to Z.
bool SameText(std::string_view a, std::string_view b);

}  // namespace kw
