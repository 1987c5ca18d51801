// Starting, waiting for and ending the programs under test.
#include "tests/kit/Internal.h"

#include <tlhelp32.h>


namespace uikit {

using namespace detail;

void WaitUntil(const std::function<bool()>& done, const std::string& what, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return;
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) break;
    Sleep(kPoll);
  }
  if (done()) return;  // one last look: the machine may have been busy
  std::string shot = FailureShot();
  throw Failure(what + " within " + Seconds(timeoutMs) + (shot.empty() ? "" : " (screen: " + shot + ")"));
}

void Pause(int ms) {
  DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(kPoll);
  } while (GetTickCount() - start < static_cast<DWORD>(ms));
}

namespace {

std::string ExePath(const std::string& cmdLine) {
  if (!cmdLine.empty() && cmdLine[0] == '"') return cmdLine.substr(1, cmdLine.find('"', 1) - 1);
  return cmdLine.substr(0, cmdLine.find(' '));
}

std::string ExeName(const std::string& cmdLine) {
  std::string exe = ExePath(cmdLine);
  size_t slash = exe.find_last_of("\\/:");
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

// The test display has no window manager, and Wine waits up to 2 s for one
// whenever a managed window is hidden (every closed box, every wizard step).
// Unmanaged windows skip that wait; Wine reads the setting when a program
// starts, so it is set before the first one.
void UnmanagedWindowsUnderWine() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) return;
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
  }
}

}  // namespace

Process Process::Start(const std::string& cmdLine, const std::string& dir) {
  UnmanagedWindowsUnderWine();
  // On a 32-bit road the programs under test are named by their path; Wine's
  // own (wineboot.exe) by name alone, and those are left as they are.
  const bool underTest = Road95() && ExePath(cmdLine).find_first_of("\\/:") != std::string::npos;
  if (underTest) AsWindows9x(ExeName(cmdLine));
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::vector<char> line(cmdLine.begin(), cmdLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      dir.empty() ? nullptr : dir.c_str(), &si, &pi)) {
    throw Failure("cannot start " + cmdLine + (dir.empty() ? "" : " in " + dir) + ": error " +
                  std::to_string(GetLastError()));
  }
  CloseHandle(pi.hThread);
  BOOL wow64 = FALSE;
  if (underTest && (!IsWow64Process(pi.hProcess, &wow64) || !wow64)) {
    TerminateProcess(pi.hProcess, 255);
    CloseHandle(pi.hProcess);
    throw Failure(cmdLine + " is not a 32-bit program, on a 32-bit road");
  }
  Process p;
  p.handle_ = pi.hProcess;
  p.id_ = pi.dwProcessId;
  p.name_ = ExeName(cmdLine);
  return p;
}

Process::~Process() {
  if (!handle_) return;
  Kill();
  CloseHandle(handle_);
}

Process::Process(Process&& o) noexcept : handle_(o.handle_), id_(o.id_), name_(std::move(o.name_)) {
  o.handle_ = nullptr;
  o.id_ = 0;
}

Process& Process::operator=(Process&& o) noexcept {
  if (this != &o) {
    if (handle_) {
      Kill();
      CloseHandle(handle_);
    }
    handle_ = o.handle_;
    id_ = o.id_;
    name_ = std::move(o.name_);
    o.handle_ = nullptr;
    o.id_ = 0;
  }
  return *this;
}

bool Process::Running() const {
  return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

DWORD Process::Wait(int timeoutMs) {
  if (!handle_) throw Failure("no program started");
  if (WaitForSingleObject(handle_, timeoutMs) != WAIT_OBJECT_0) {
    throw Failure(name_ + " did not end within " + Seconds(timeoutMs));
  }
  DWORD code = 0;
  GetExitCodeProcess(handle_, &code);
  return code;
}

void Process::Kill() {
  if (!Running()) return;
  TerminateProcess(handle_, 255);
  WaitForSingleObject(handle_, 10000);
}

namespace {
bool NameIs(const PROCESSENTRY32& pe, const std::string& exeName) {
  const char* base = pe.szExeFile;
  for (const char* s = pe.szExeFile; *s; ++s) {
    if (*s == '\\' || *s == '/') base = s + 1;
  }
  return lstrcmpiA(base, exeName.c_str()) == 0 && pe.th32ProcessID != GetCurrentProcessId();
}
}  // namespace

bool AwaitNoProcess(const std::string& exeName, int timeoutMs) {
  auto none = [&] {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 pe{};
    pe.dwSize = sizeof pe;
    bool found = false;
    for (BOOL ok = Process32First(snap, &pe); ok && !found; ok = Process32Next(snap, &pe)) found = NameIs(pe, exeName);
    CloseHandle(snap);
    return !found;
  };
  for (DWORD start = GetTickCount(); !none();) {
    if (GetTickCount() - start > DWORD(timeoutMs)) return false;
    Sleep(20);
  }
  return true;
}

int KillByName(const std::string& exeName) {
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  int killed = 0;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe)) {
    if (!NameIs(pe, exeName)) continue;
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID);
    if (!h) continue;
    if (TerminateProcess(h, 255)) {
      WaitForSingleObject(h, 10000);
      ++killed;
    }
    CloseHandle(h);
  }
  CloseHandle(snap);
  return killed;
}

}  // namespace uikit
