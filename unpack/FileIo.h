// The core's Input and Output over real files: POSIX calls natively, the ANSI
// Win32 API on Windows (FileIoWin.cpp). Output paths are relative to root
// (empty: the current folder).
#pragma once
#include <memory>
#include <string>

#include "unpack/UnpackCore.h"

namespace unpack {

// nullptr when the archive cannot be opened.
std::unique_ptr<Input> OpenArchive(const std::string& path);
std::unique_ptr<Output> FolderOutput(const std::string& root);
// A stored name in the platform's character set (Options::convertName):
// Windows converts UTF-8 or DOS code page names to the ANSI code page, with
// "_" for what it cannot show; elsewhere names stay as stored.
std::string PlatformName(const std::string& stored, bool utf8);
#ifdef _WIN32
// An output path with its letter case folded as the ANSI code page folds it
// (Options::foldName).
std::string PlatformFold(const std::string& path);
#endif

}  // namespace unpack
