// Starting the splitter on one file from the context menu.
#pragma once
#include <windows.h>

#include <string>

namespace shellext {

// kerfwise.exe: the path the splitter stored when it registered this handler,
// when that file exists; else kerfwise.exe in this library's own folder; empty
// when neither exists.
std::string FindProgram();

// Starts the program with the file as its command line. Returns S_OK, or an
// error after telling the user (unless noUi) what is missing.
HRESULT SliceWithKerfwise(HWND owner, const std::string& file, bool noUi);

}  // namespace shellext
