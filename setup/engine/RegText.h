// The text rules of the :reg section, apart from the registry itself: root
// names, data substitutions, key redirection and number conversion.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace setup {

// Index 0..6 of the root name in the order HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG,
// HKEY_DYN_DATA; -1 for any other name (compared exactly, upper case).
int RootKeyIndex(std::string_view name);

// The key path relative to its root: one leading backslash dropped.
std::string_view RelativeKeyPath(std::string_view key);

// "r"/"R" gives DestDir, "p" and "P" the main program's command line.
std::string SubstituteRegData(std::string data, std::string_view destDir,
                              std::string_view mainProgram);

// A redirected key ">lookup<rest": the lookup key whose default value replaces
// it, the rest appended to that value, and the key used when the lookup gives
// nothing (the text without ">"). Without "<" lookup and rest are the whole text.
struct KeyRedirect {
  std::string lookup;
  std::string rest;
  std::string fallback;
};
std::optional<KeyRedirect> ParseKeyRedirect(std::string_view key);
// The key after redirection, given the lookup key's default value.
std::string RedirectedKey(const KeyRedirect& r, std::string_view lookupValue);

// Whole-number text as the runtime converts it: leading blanks, an optional
// sign, then decimal digits (within 32-bit signed range) or "$" and up to
// 32 bits of hexadecimal digits. Nothing else may follow.
std::optional<int32_t> StrToInt(std::string_view text);

// The number text of data "#n#": the first and last characters removed.
std::string NumberText(std::string_view data);

}  // namespace setup
