// Unattended runs (/S): no message box appears. Every box of both programs
// goes through MsgBox, which also writes its text to the log.
#pragma once
#include <windows.h>

#include <string>

namespace kw {

void SetSilent(bool on);
bool Silent();

// MessageBoxA; when silent, nothing is shown and the box takes its safe
// answer: OK where it is the only button, else Cancel, or No without Cancel.
int MsgBox(HWND owner, const std::string& text, const char* caption, UINT flags);

}  // namespace kw
