// Path and text helpers over plain strings, shared by both programs. No Windows
// API here: paths are the Windows kind (backslash, drive colon) but only text.
//
// Text is in the ANSI code page. In the double-byte ones (Japanese, Chinese,
// Korean) a lead byte starts a two-byte character whose second byte may be
// '\' or a letter, so everything here walks paths character by character.
#pragma once
#include <string>
#include <string_view>
#include <type_traits>

namespace kw {

// A byte that starts a two-byte character in the code page in use: on Windows
// the ANSI code page (IsDBCSLeadByte), natively the one set by UseCodePage.
bool IsLeadByte(char c);
// Takes the lead bytes of this code page (932, 936, 949, 950: double-byte;
// anything else: single-byte) in place of the system's. For tests, and for
// native tools that meet such names.
void UseCodePage(unsigned codePage);
// Bytes of the character at i: 2 for a lead byte with a byte after it, else 1.
size_t CharSize(std::string_view s, size_t i);
// Offset of the last character that is one of `set` (single-byte characters
// only), or npos.
size_t FindLastChar(std::string_view s, std::string_view set);
// Offset of the first such character at or after `from`, or npos.
size_t FindChar(std::string_view s, std::string_view set, size_t from = 0);
// Whether the last character of s is c (not the second byte of a character).
bool EndsWithChar(std::string_view s, char c);
// s cut to at most n bytes without splitting a character.
std::string_view CutToBytes(std::string_view s, size_t n);

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

// Letter case of A to Z only; the second bytes of double-byte characters
// are left alone.
std::string LowerAscii(std::string_view s);
std::string UpperAscii(std::string_view s);
// Equal ignoring the case of the letters A to Z.
bool SameText(std::string_view a, std::string_view b);

// n in decimal, as std::to_string writes it, for counts and codes that fit in
// 32 bits: one copy of the digit loop instead of one inlined at every call,
// and no 64-bit division.
std::string DecimalText(unsigned long magnitude, bool negative);
template <class T>
std::string Decimal(T n) {
  if constexpr (std::is_signed_v<T>)
    if (n < 0) return DecimalText(0 - static_cast<unsigned long>(n), true);
  return DecimalText(static_cast<unsigned long>(n), false);
}

}  // namespace kw
