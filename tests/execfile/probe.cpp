// A stand-in program for the launcher and engine tests. It reports how it was
// started (command line, show-window settings, current folder)
// into "<its own path>.txt", written whole at the end so that the file's
// presence also says the program has finished. KW_PROBE_SLEEP (ms) makes it
// wait first, KW_PROBE_GATE names an event it waits for (30 s at most),
// KW_PROBE_EXIT sets its exit code.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int EnvNumber(const char* name) {
  char buf[32];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::atoi(buf) : 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (int ms = EnvNumber("KW_PROBE_SLEEP")) Sleep(DWORD(ms));
  char gate[64];
  DWORD n = GetEnvironmentVariableA("KW_PROBE_GATE", gate, sizeof gate);
  if (n > 0 && n < sizeof gate) {
    if (HANDLE h = OpenEventA(SYNCHRONIZE, FALSE, gate)) {
      WaitForSingleObject(h, 30000);
      CloseHandle(h);
    }
  }
  STARTUPINFOA si{};
  GetStartupInfoA(&si);
  char exe[MAX_PATH] = {}, cwd[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, cwd);
  std::string report = std::string("cmd=") + GetCommandLineA() + "\r\nshow=" +
                       std::to_string(si.wShowWindow) + "\r\nflags=" + std::to_string(si.dwFlags) +
                       "\r\ncwd=" + cwd + "\r\n";
  std::string out = std::string(exe) + ".txt", tmp = out + ".tmp";
  if (FILE* f = std::fopen(tmp.c_str(), "wb")) {
    std::fwrite(report.data(), 1, report.size(), f);
    std::fclose(f);
    MoveFileExA(tmp.c_str(), out.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  return EnvNumber("KW_PROBE_EXIT");
}
