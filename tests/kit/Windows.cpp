// Finding windows and controls and reading their plain state.
#include "tests/kit/Internal.h"

#include <tlhelp32.h>

namespace uikit {

namespace detail {

LRESULT Ask(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG | SMTO_BLOCK, kAnswerWait, &result)) {
    if (!IsWindow(w)) throw Failure("window " + std::to_string(reinterpret_cast<uintptr_t>(w)) + " is gone");
    throw Failure(ClassOf(w) + " window id " + std::to_string(GetDlgCtrlID(w)) + " did not answer message " + std::to_string(msg) + " within " +
                  Seconds(kAnswerWait));
  }
  return static_cast<LRESULT>(result);
}

void Post(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (!PostMessageA(w, msg, wp, lp)) {
    throw Failure("cannot post message " + std::to_string(msg) + " to " +
                  (IsWindow(w) ? Describe(w) : std::string("a window that is gone")));
  }
}

std::string Seconds(int ms) {
  std::string s = std::to_string(ms / 1000);
  if (ms % 1000) s += "." + std::to_string(ms % 1000 / 100);
  return s + " s";
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

// For a window of another process GetWindowText reads the caption Windows
// keeps and sends nothing, so a busy program does not slow a search.
bool CaptionIs(HWND w, const std::string& caption) {
  std::string text(caption.size() + 2, '\0');
  int n = GetWindowTextA(w, text.data(), static_cast<int>(text.size()));
  return n >= 0 && text.substr(0, static_cast<size_t>(n)) == caption;
}

std::string OwnerName(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  std::string name = "pid " + std::to_string(pid);
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return name;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
    if (pe.th32ProcessID == pid) name = pe.szExeFile;
  }
  CloseHandle(snap);
  return name;
}

}  // namespace detail

using namespace detail;

namespace {

struct TopSearch {
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if ((s->pid == 0 || pid == s->pid) && (!s->visibleOnly || IsWindowVisible(w))) s->found.push_back(w);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND w, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(w);
  return TRUE;
}

// Class names compare without case, as Windows does; captions exactly.
bool Matches(HWND w, const std::string& cls, const std::string& caption) {
  if (!cls.empty() && lstrcmpiA(ClassOf(w).c_str(), cls.c_str()) != 0) return false;
  return caption.empty() || CaptionIs(w, caption);
}

std::string WindowWanted(const std::string& cls, const std::string& caption) {
  std::string s = caption.empty() ? "window" : "window " + Quote(caption);
  if (!cls.empty()) s += " (class " + cls + ")";
  return s;
}

}  // namespace

std::vector<HWND> TopWindows(DWORD pid, bool visibleOnly) {
  TopSearch s{pid, visibleOnly, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND FindTop(DWORD pid, const std::string& cls, const std::string& caption, bool visibleOnly) {
  for (HWND w : TopWindows(pid, visibleOnly)) {
    try {
      if (Matches(w, cls, caption)) return w;
    } catch (const Failure&) {
      // a window that went away or hangs while we look is not the one
    }
  }
  return nullptr;
}

HWND WaitTop(const Process& p, const std::string& cls, const std::string& caption, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindTop(p.Id(), cls, caption)) != nullptr; },
            "no " + WindowWanted(cls, caption) + " of " + p.Name(), timeoutMs);
  return found;
}

void WaitGone(HWND w, const std::string& what, int timeoutMs) {
  WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); }, what + " still shown", timeoutMs);
}

void WaitNoTop(const Process& p, const std::string& cls, const std::string& caption, int timeoutMs) {
  WaitUntil([&] { return FindTop(p.Id(), cls, caption) == nullptr; },
            WindowWanted(cls, caption) + " of " + p.Name() + " still shown", timeoutMs);
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&all));
  return all;
}

// Panels of a wizard may reuse IDs: the control a user sees comes first.
HWND FindChild(HWND parent, int id) {
  HWND hidden = nullptr;
  for (HWND w : Children(parent)) {
    if (GetDlgCtrlID(w) != id) continue;
    if (IsWindowVisible(w)) return w;
    if (!hidden) hidden = w;
  }
  return hidden;
}

HWND FindChild(HWND parent, const std::string& cls, const std::string& caption) {
  HWND hidden = nullptr;
  for (HWND w : Children(parent)) {
    if (!Matches(w, cls, caption)) continue;
    if (IsWindowVisible(w)) return w;
    if (!hidden) hidden = w;
  }
  return hidden;
}

HWND Child(HWND parent, int id) {
  if (HWND w = FindChild(parent, id)) return w;
  throw Failure("no control id " + std::to_string(id) + " in " + Describe(parent));
}

HWND Child(HWND parent, const std::string& cls, const std::string& caption) {
  if (HWND w = FindChild(parent, cls, caption)) return w;
  throw Failure("no control " + WindowWanted(cls, caption) + " in " + Describe(parent));
}

HWND WaitChild(HWND parent, int id, int timeoutMs) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindChild(parent, id)) != nullptr && IsWindowVisible(found); },
            "no visible control id " + std::to_string(id) + " in " + Describe(parent), timeoutMs);
  return found;
}

void Settle(HWND w) { detail::Ask(w, WM_NULL, 0, 0); }

void WaitText(HWND w, const std::string& want, int timeoutMs) {
  std::string shown;
  try {
    WaitUntil([&] { return (shown = Text(w)) == want; }, Describe(w) + " did not show " + Quote(want), timeoutMs);
  } catch (const Failure& e) {
    throw Failure(std::string(e.what()) + "; it shows " + Quote(shown));
  }
}

void WaitEnabled(HWND w, bool enabled, int timeoutMs) {
  WaitUntil([&] { return (IsWindowEnabled(w) != FALSE) == enabled; },
            Describe(w) + " not " + (enabled ? "enabled" : "disabled"), timeoutMs);
}

std::string Text(HWND w) {
  LRESULT len = Ask(w, WM_GETTEXTLENGTH);
  std::string s(static_cast<size_t>(len) + 1, '\0');
  LRESULT got = Ask(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(got) < s.size() ? static_cast<size_t>(got) : s.size() - 1);
  return s;
}

std::string ClassOf(HWND w) {
  char buf[256];
  int n = GetClassNameA(w, buf, sizeof buf);
  return std::string(buf, n > 0 ? n : 0);
}

int ControlId(HWND w) { return GetDlgCtrlID(w); }
bool Visible(HWND w) { return IsWindowVisible(w) != FALSE; }
bool Enabled(HWND w) { return IsWindowEnabled(w) != FALSE; }

RECT WindowRect(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return r;
}

RECT ClientRect(HWND w) {
  RECT r{};
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::string Describe(HWND w) {
  if (!IsWindow(w)) return "a window that is gone";
  std::string s = ClassOf(w);
  try {
    s += " " + Quote(Text(w));
  } catch (const Failure&) {
    s += " (not answering)";
  }
  if (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) s += " id " + std::to_string(GetDlgCtrlID(w));
  return s;
}

}  // namespace uikit
