#include "setup/components/Execfile.h"

#include <shellapi.h>

#include <vector>

namespace setup {

TExecFile::~TExecFile() { CloseHandles(); }

// The handles of a start stay readable in ProcessInfo until the next start.
void TExecFile::CloseHandles() {
  if (FProcessInfo.hThread) CloseHandle(FProcessInfo.hThread);
  if (FProcessInfo.hProcess) CloseHandle(FProcessInfo.hProcess);
  FProcessInfo = PROCESS_INFORMATION{};
}

bool TExecFile::Create(const std::string& line) {
  // CreateProcessA may write into the command line: hand it a copy.
  std::vector<char> buf(line.begin(), line.end());
  buf.push_back('\0');
  return CreateProcessA(nullptr, buf.data(), nullptr, nullptr, FALSE,
                        FCreationFlags | CREATE_NEW_CONSOLE, nullptr, nullptr, &FStartupInfo,
                        &FProcessInfo) != FALSE;
}

bool TExecFile::Fail() {
  FLastError = GetLastError();
  if (OnFail) OnFail(this);
  return false;
}

bool TExecFile::Execute() {
  CloseHandles();
  FStartupInfo = STARTUPINFOA{};
  FStartupInfo.cb = sizeof FStartupInfo;
  FStartupInfo.dwFlags = STARTF_USESHOWWINDOW;
  FStartupInfo.wShowWindow = WORD(ShowWindowValue(WindowStyle));
  FCreationFlags = PriorityFlag(Priority);

  bool started = Create(FirstCommandLine(CommandLine, Parameters));
  if (!started && Associate) {
    char exe[MAX_PATH] = {};
    INT_PTR found = INT_PTR(FindExecutableA(CommandLine.c_str(), nullptr, exe));
    if (found < 32) return Fail();
    FAssociatedExe = exe;
    std::string line = FallbackCommandLine(FAssociatedExe, CommandLine, Parameters);
    if (FitsFallbackBuffer(line)) {
      started = Create(line);
    } else {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
    }
  }
  if (!started) return Fail();
  if (!Wait) return true;

  FWaiting = true;
  ProcessEnded = false;
  if (WaitStyle == wSuspend)
    WaitForSingleObject(FProcessInfo.hProcess, INFINITE);
  else
    WaitRegular();
  FWaiting = false;
  return true;
}

// Every queue state that Windows 95 knows. The headers' QS_ALLINPUT carries
// QS_RAWINPUT, which systems before XP refuse as an invalid parameter.
constexpr DWORD kQueueWake = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                             QS_PAINT | QS_HOTKEY | QS_SENDMESSAGE;

// Serves the thread's windows until the process ends. Between messages the
// thread sleeps in MsgWaitForMultipleObjects, which wakes for a new message or
// for the end of the process, instead of polling.
void TExecFile::WaitRegular() {
  while (!ProcessEnded) {
    while (PeekMessageA(&FMsg, nullptr, 0, 0, PM_REMOVE)) {
      if (FMsg.message == WM_QUIT) ExitProcess(UINT(FMsg.wParam));
      TranslateMessage(&FMsg);
      DispatchMessageA(&FMsg);
    }
    DWORD r = MsgWaitForMultipleObjects(1, &FProcessInfo.hProcess, FALSE, INFINITE, kQueueWake);
    if (r == WAIT_OBJECT_0 + 1) continue;
    // Should the sleep itself fail, the zero-timeout test still decides.
    if (r != WAIT_OBJECT_0 && WaitForSingleObject(FProcessInfo.hProcess, 0) == WAIT_TIMEOUT)
      continue;
    // Ended, or a handle that cannot be waited on: stop waiting, and let the
    // messages still queued run. A quit among them is left for the main loop.
    ProcessEnded = true;
    while (PeekMessageA(&FMsg, nullptr, 0, 0, PM_REMOVE)) {
      if (FMsg.message == WM_QUIT) {
        PostQuitMessage(int(FMsg.wParam));
        break;
      }
      TranslateMessage(&FMsg);
      DispatchMessageA(&FMsg);
    }
  }
}

}  // namespace setup
