#include "toolkit/Dialogs.h"

#include <windows.h>

#include "toolkit/App.h"
#include "toolkit/Silent.h"

namespace kw {

namespace {
int Box(const std::string& text, const char* caption, UINT flags) {
  return MsgBox(GetActiveWindow(), text, caption, flags | MB_TASKMODAL);
}
}  // namespace

void ShowWarning(const std::string& text) { Box(text, "Warning", MB_OK | MB_ICONWARNING); }

bool Confirm(const std::string& text) {
  return Box(text, "Confirm", MB_OKCANCEL | MB_ICONQUESTION) != IDCANCEL;
}

bool WarnOkCancel(const std::string& text) {
  return Box(text, "Warning", MB_OKCANCEL | MB_ICONWARNING) != IDCANCEL;
}

bool RetryCancel(const std::string& text) {
  return Box(text, "Warning", MB_RETRYCANCEL | MB_ICONWARNING) != IDCANCEL;
}

void ShowMessage(const std::string& text) { Box(text, App().Title.c_str(), MB_OK); }

void ShowError(const std::string& text) { App().ShowException(text.c_str()); }

}  // namespace kw
