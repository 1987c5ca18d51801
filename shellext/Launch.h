// Starting the splitter on one file from the context menu. Plain buffers of
// MAX_PATH: the shell hands over no longer paths, and the library stays free
// of the C++ library's exceptions and strings.
#pragma once
#include <windows.h>

namespace shellext {

// kerfwise.exe into `path` (MAX_PATH bytes): the path the splitter stored when
// it registered this handler, when that file exists; else kerfwise.exe in
// this library's own folder. False when neither exists.
bool FindProgram(char* path);

// Starts the program with the file as its command line. Returns S_OK, or an
// error after telling the user (unless noUi) what is missing.
HRESULT SliceWithKerfwise(HWND owner, const char* file, bool noUi);

}  // namespace shellext
