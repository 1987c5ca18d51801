#include "toolkit/Silent.h"

#include "toolkit/Log.h"

namespace kw {

namespace {

bool silent = false;

int SafeAnswer(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OK: return IDOK;
    case MB_YESNO: return IDNO;
    case MB_ABORTRETRYIGNORE: return IDABORT;
    default: return IDCANCEL;
  }
}

const char* ButtonName(int id) {
  switch (id) {
    case IDOK: return "OK";
    case IDYES: return "Yes";
    case IDNO: return "No";
    case IDABORT: return "Abort";
    case IDRETRY: return "Retry";
    case IDIGNORE: return "Ignore";
  }
  return "Cancel";
}

}  // namespace

void SetSilent(bool on) { silent = on; }
bool Silent() { return silent; }

int MsgBox(HWND owner, const std::string& text, const char* caption, UINT flags) {
  int answer = silent ? SafeAnswer(flags) : MessageBoxA(owner, text.c_str(), caption, flags);
  bool asked = (flags & MB_TYPEMASK) != MB_OK;
  Log({caption, ": ", text, asked ? " [" : "", asked ? ButtonName(answer) : "", asked ? "]" : ""});
  return answer;
}

}  // namespace kw
