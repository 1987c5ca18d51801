#include "tests/kerfwise/KerfwiseUi.h"

#include "kerfwise/settings/RegistrySettings.h"

namespace kwtest {

// The settings where the splitter under test keeps them: the 32-bit view of
// HKLM\SOFTWARE for the 32-bit program.
namespace {
HKEY OpenSettings(REGSAM access) {
  HKEY k;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kerfwise::kSettingsKey, 0, access | ProgramView(), &k) == ERROR_SUCCESS
             ? k
             : nullptr;
}
}  // namespace

void ResetSettings() { RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kerfwise::kSettingsKey, ProgramView(), 0); }

void Put(const char* name, const std::string& text) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kerfwise::kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE | ProgramView(),
                      nullptr, &k, nullptr) != ERROR_SUCCESS)
    throw Failure(std::string("cannot write HKLM\\") + kerfwise::kSettingsKey);
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()), DWORD(text.size()));
  RegCloseKey(k);
}

std::string Get(const char* name) {
  char buf[1024] = "";
  DWORD size = sizeof buf - 1;
  if (HKEY k = OpenSettings(KEY_QUERY_VALUE)) {
    if (RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS) buf[0] = 0;
    RegCloseKey(k);
  }
  return buf;
}

bool HasValue(const char* name) {
  HKEY k = OpenSettings(KEY_QUERY_VALUE);
  if (!k) return false;
  bool has = RegQueryValueExA(k, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(k);
  return has;
}

// CLSID is kept apart for 32-bit programs; the file types under it are shared.
bool HandlerRegistered() {
  auto exists = [](const char* path, REGSAM view) {
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ | view, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  };
  return exists("CLSID\\{3F322CCC-FDCA-11CF-A73C-444553540000}\\InProcServer32", ProgramView()) &&
         exists("*\\shellex\\ContextMenuHandlers\\{3F322CCC-FDCA-11CF-A73C-444553540000}", 0);
}

Process StartKerfwise(const std::string& args, const std::string& dir) {
  std::string line = "\"" + Join(DistDir(), "kerfwise.exe") + "\"";
  if (!args.empty()) line += " " + args;
  return Process::Start(line, dir);
}

HWND MainWindow(const Process& p) { return WaitTop(p, "TfKerfwise", "The Kerfwise for Windows 95/98"); }

void WaitStartUp(HWND main, const std::string& driveText) {
  // The drive box may already show the stored text before start-up ran; the
  // slice path box takes the stored tdirp in the same pass and starts as "C:\".
  HWND drive = Child(main, ids::ComboBox1), path = Child(main, ids::eSlicePath);
  std::string stored = Get("tdirp");
  WaitUntil([&] { return Text(drive) == driveText && Text(path) == stored; },
            "start-up (drive box " + driveText + ", slice path " + stored + ")");
}

void WaitIdle(HWND main, int timeoutMs) {
  HWND exit = Child(main, ids::Button6), stop = Child(main, ids::Button4);
  WaitUntil([&] { return Visible(exit) && !Visible(stop); }, "the run to end", timeoutMs);
}

std::string Pattern(size_t size, int seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = char((i * 31 + (i >> 11) * 7 + size_t(seed)) & 0xFF);
  return s;
}

std::vector<std::string> FilesStarting(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> out;
  for (const auto& n : ListFolder(dir))
    if (n.rfind(prefix, 0) == 0) out.push_back(n);
  return out;
}

void Screenshot(HWND w, const std::string& name) {
  ToFront(w);
  CaptureSteady(w).SaveBmp(Join(BinDir(), name + ".bmp"));
}

}  // namespace kwtest
