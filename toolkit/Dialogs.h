// The message boxes of both programs.
#pragma once
#include <string>

namespace kw {

// "Warning", warning icon, OK.
void ShowWarning(const std::string& text);
// "Confirm", question icon, OK and Cancel: false only for Cancel.
bool Confirm(const std::string& text);
// "Warning", warning icon, OK and Cancel: false only for Cancel.
bool WarnOkCancel(const std::string& text);
// "Warning", warning icon, Retry and Cancel: false only for Cancel.
bool RetryCancel(const std::string& text);
// The application's title as caption, no icon, OK.
void ShowMessage(const std::string& text);
// The program's default error box (the application's title, error icon).
void ShowError(const std::string& text);

}  // namespace kw
