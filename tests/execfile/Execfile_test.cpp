// TExecFile starting real programs under Wine: the stand-in program kw_probe
// reports how it was started into "<its path>.txt".
#include "setup/components/Execfile.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>

using namespace setup;

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string BinPath(const char* name) { return Env("KW_BIN") + "\\tests\\execfile\\" + name; }
std::string Probe() { return BinPath("kw_probe.exe"); }

std::map<std::string, std::string> ReadReport(const std::string& exe) {
  std::map<std::string, std::string> out;
  FILE* f = std::fopen((exe + ".txt").c_str(), "rb");
  if (!f) return out;
  char line[2048];
  while (std::fgets(line, sizeof line, f)) {
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
    size_t eq = s.find('=');
    if (eq != std::string::npos) out[s.substr(0, eq)] = s.substr(eq + 1);
  }
  std::fclose(f);
  return out;
}

void Forget(const std::string& exe) { DeleteFileA((exe + ".txt").c_str()); }

std::string TempFolder(const char* name) {
  char buf[MAX_PATH];
  GetTempPathA(sizeof buf, buf);
  std::string dir = std::string(buf) + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void WriteFile(const std::string& path, const char* text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fputs(text, f);
  std::fclose(f);
}

struct FailCounter {
  int calls = 0;
  TExecFile* sender = nullptr;
  DWORD errorSeen = 0;
  void Fail(TExecFile* s) {
    ++calls;
    sender = s;
    errorSeen = s->LastError();
  }
};

}  // namespace

// A first command line cut to exactly 255 characters, a hidden window, idle
// priority, and a wSuspend wait (which leaves ProcessEnded false).
TEST(Execfile, LongLineHiddenIdleSuspended) {
  Forget(Probe());
  TExecFile e;
  e.CommandLine = Probe();
  e.Parameters = std::string(300, 'p');
  e.WindowStyle = wsHide;
  e.Priority = pcIdle;
  e.Wait = true;
  e.WaitStyle = wSuspend;
  ASSERT_TRUE(e.Execute());
  EXPECT_FALSE(e.ProcessEnded);
  EXPECT_FALSE(e.Waiting());
  // Wine starts every process at normal priority, whatever the flag: only the
  // flag handed to CreateProcess can be checked.
  EXPECT_EQ(e.CreationFlags(), 0x40u);
  EXPECT_EQ(e.StartupInfo().cb, sizeof(STARTUPINFOA));
  EXPECT_EQ(e.StartupInfo().dwFlags, DWORD(STARTF_USESHOWWINDOW));
  EXPECT_EQ(e.StartupInfo().wShowWindow, 0);

  auto r = ReadReport(Probe());
  ASSERT_FALSE(r.empty()) << "Execute returned before the program ended";
  std::string expected = Probe() + " " + std::string(255 - Probe().size() - 1, 'p');
  EXPECT_EQ(r["cmd"].size(), 255u);
  EXPECT_EQ(r["cmd"], expected);
  EXPECT_EQ(r["show"], "0");
  EXPECT_EQ(r["flags"], "1");
}

TEST(Execfile, NoWaitReturnsAtOnce) {
  Forget(Probe());
  // The probe holds until the gate opens (or 30 s): an Execute that waited
  // for it would find it ended.
  HANDLE gate = CreateEventA(nullptr, TRUE, FALSE, "kw_probe_gate");
  ASSERT_NE(gate, nullptr);
  SetEnvironmentVariableA("KW_PROBE_GATE", "kw_probe_gate");
  TExecFile e;
  e.CommandLine = Probe();
  ASSERT_TRUE(e.Execute());
  SetEnvironmentVariableA("KW_PROBE_GATE", nullptr);
  EXPECT_EQ(WaitForSingleObject(e.ProcessInfo().hProcess, 0), DWORD(WAIT_TIMEOUT)) << "Execute waited";
  EXPECT_FALSE(e.Waiting());
  EXPECT_FALSE(e.ProcessEnded);
  EXPECT_TRUE(ReadReport(Probe()).empty());
  SetEvent(gate);
  CloseHandle(gate);
  ASSERT_EQ(WaitForSingleObject(e.ProcessInfo().hProcess, 10000), WAIT_OBJECT_0);
  auto r = ReadReport(Probe());
  EXPECT_EQ(r["cmd"], Probe() + " ") << "the blank stays with empty parameters";
  EXPECT_EQ(r["show"], "1");
}

namespace {
TExecFile* g_waiter = nullptr;
int g_ticks = 0;
bool g_sawWaiting = false;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
  ++g_ticks;
  g_sawWaiting = g_sawWaiting || g_waiter->Waiting();
}
ULONGLONG CpuTime() {
  FILETIME c, x, k, u;
  GetProcessTimes(GetCurrentProcess(), &c, &x, &k, &u);
  auto v = [](FILETIME f) { return (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return (v(k) + v(u)) / 10000;  // ms
}
}  // namespace

// wRegular keeps the thread's windows served (a timer fires inside Execute,
// with Waiting true) and ends with ProcessEnded set, without spinning.
TEST(Execfile, RegularWaitServesMessages) {
  Forget(Probe());
  SetEnvironmentVariableA("KW_PROBE_SLEEP", "800");
  TExecFile e;
  e.CommandLine = Probe();
  e.Wait = true;
  g_waiter = &e;
  g_ticks = 0;
  g_sawWaiting = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, CountTick);
  ULONGLONG cpu0 = CpuTime();
  DWORD wall0 = GetTickCount();
  ASSERT_TRUE(e.Execute());
  ULONGLONG cpu = CpuTime() - cpu0;
  // What a loop spinning as long gets of the processor on this machine now.
  const DWORD wall = GetTickCount() - wall0;
  ULONGLONG spin0 = CpuTime();
  for (DWORD t = GetTickCount(); GetTickCount() - t < wall;) {
  }
  ULONGLONG spin = CpuTime() - spin0;
  KillTimer(nullptr, timer);
  SetEnvironmentVariableA("KW_PROBE_SLEEP", nullptr);
  EXPECT_TRUE(e.ProcessEnded);
  EXPECT_FALSE(e.Waiting());
  EXPECT_GT(g_ticks, 3);
  EXPECT_TRUE(g_sawWaiting);
  EXPECT_FALSE(ReadReport(Probe()).empty());
  EXPECT_LT(cpu, spin / 2) << "the wait should sleep, not spin (" << spin << " ms spinning)";
}

TEST(Execfile, QuitMessageWhileWaitingEndsTheProgram) {
  Forget(Probe());
  std::string line = BinPath("kw_execquit.exe") + " " + Probe();
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &si, &pi));
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 20000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  EXPECT_EQ(code, 42u);
  // The probe it started outlives it: let it finish before the next tests.
  for (int i = 0; i < 100 && ReadReport(Probe()).empty(); ++i) Sleep(50);
  EXPECT_FALSE(ReadReport(Probe()).empty()) << "the program was started";
  Forget(Probe());
}

namespace {
// Registers the extension .kwprobe as opened by the probe.
struct ProbeAssociation {
  ProbeAssociation() {
    Set(".kwprobe", "KwProbeDoc");
    Set("KwProbeDoc\\shell\\open\\command", "\"" + Probe() + "\" \"%1\"");
  }
  ~ProbeAssociation() {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KwProbeDoc\\shell\\open\\command");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KwProbeDoc\\shell\\open");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KwProbeDoc\\shell");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KwProbeDoc");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".kwprobe");
  }
  static void Set(const char* key, const std::string& value) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, key, &h), ERROR_SUCCESS);
    RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   DWORD(value.size() + 1));
    RegCloseKey(h);
  }
};
}  // namespace

TEST(Execfile, AssociateStartsTheProgramOfADocument) {
  ProbeAssociation assoc;
  Forget(Probe());
  std::string doc = TempFolder("kwexec") + "\\letter.kwprobe";
  WriteFile(doc, "dear");
  TExecFile e;
  e.CommandLine = doc;
  e.Parameters = "x y";
  e.Associate = true;
  e.Wait = true;
  ASSERT_TRUE(e.Execute());
  EXPECT_EQ(_stricmp(e.AssociatedExe().c_str(), Probe().c_str()), 0) << e.AssociatedExe();
  auto r = ReadReport(Probe());
  EXPECT_EQ(r["cmd"], e.AssociatedExe() + " " + doc + " x y");

  // Without Associate the same document is a failed start.
  e.Associate = false;
  EXPECT_FALSE(e.Execute());
  EXPECT_NE(e.LastError(), 0u);
  DeleteFileA(doc.c_str());
}

TEST(Execfile, FailedStartsReportThroughOnFail) {
  TExecFile e;
  e.CommandLine = "C:\\no\\such\\folder\\program.exe";
  EXPECT_FALSE(e.Execute()) << "silent without OnFail";
  EXPECT_NE(e.LastError(), 0u);

  FailCounter fails;
  e.OnFail = TExecEvent::Bind<&FailCounter::Fail>(&fails);
  e.Associate = true;  // no associated program either
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(fails.calls, 1);
  EXPECT_EQ(fails.sender, &e);
  EXPECT_NE(fails.errorSeen, 0u) << "LastError is set before OnFail";
  EXPECT_FALSE(e.Waiting());
}

// A fallback line that does not fit its 512-byte buffer is a failed start.
TEST(Execfile, OverlongFallbackLineIsRefused) {
  ProbeAssociation assoc;
  Forget(Probe());
  std::string dir = TempFolder("kwexec") + "\\" + std::string(110, 'd');
  CreateDirectoryA(dir.c_str(), nullptr);
  dir += "\\" + std::string(100, 'e');
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string doc = dir + "\\f.kwprobe";
  WriteFile(doc, "x");
  ASSERT_LE(doc.size(), 255u);
  FailCounter fails;
  TExecFile e;
  e.CommandLine = doc;
  e.Parameters = std::string(255, 'p');
  e.Associate = true;
  e.Wait = true;
  e.OnFail = TExecEvent::Bind<&FailCounter::Fail>(&fails);
  ASSERT_GT(Probe().size() + doc.size() + 2 + 255, 511u);
  EXPECT_FALSE(e.Execute());
  EXPECT_EQ(fails.calls, 1);
  EXPECT_EQ(e.LastError(), DWORD(ERROR_FILENAME_EXCED_RANGE));
  EXPECT_FALSE(e.AssociatedExe().empty());
  EXPECT_EQ(e.ProcessInfo().hProcess, nullptr) << "nothing was started";
  EXPECT_TRUE(ReadReport(Probe()).empty());
  DeleteFileA(doc.c_str());
}
