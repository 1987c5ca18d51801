// Path rules of the uninstaller, as text: which paths it accepts from a list
// and which folders it must never take away. No Windows API here.
#pragma once
#include <string>
#include <string_view>

namespace qfunin {

// The path with "/" read as "\", doubled backslashes collapsed and no trailing
// backslash except after a drive ("C:\"). Lists written from a DestDir typed
// with a trailing backslash hold doubled ones.
std::string NormalPath(std::string_view path);

// Once normalised, "X:\" followed by at least one name, none of them made only of
// dots ("..", and "..." which Windows 95 reads as two levels up), ending in a
// dot or a blank, or holding wildcards, a colon or other characters no file
// name may have.
bool IsCleanAbsolute(std::string_view path);

bool IsDriveRoot(std::string_view path);  // "X:" or "X:\"

// Equal, ignoring the case of A to Z, once both are normalised.
bool SamePath(std::string_view a, std::string_view b);
// `path` lies below `folder` (not equal to it).
bool IsInside(std::string_view path, std::string_view folder);
// The folder part without the trailing backslash; empty for a drive root.
std::string ParentFolder(std::string_view path);

}  // namespace qfunin
