#include "shellext/Launch.h"

#include "kerfwise/settings/RegistrySettings.h"
#include "shellext/Module.h"
#include "toolkit/PathText.h"

namespace shellext {

namespace {

bool IsFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ModuleFolder() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(g_module, buf, sizeof buf);
  if (n == 0 || n >= sizeof buf) return "";
  return kw::ExtractFilePath(std::string(buf, n));
}

HRESULT Refuse(HWND owner, bool noUi, const std::string& text, DWORD error) {
  if (!noUi) MessageBoxA(owner, text.c_str(), "Kerfwise", MB_OK | MB_ICONWARNING);
  return HRESULT_FROM_WIN32(error);
}

}  // namespace

std::string FindProgram() {
  std::string stored = kerfwise::ReadSetting(kerfwise::kProgramValue);
  if (!stored.empty() && IsFile(stored)) return stored;
  std::string beside = ModuleFolder() + "kerfwise.exe";
  return IsFile(beside) ? beside : "";
}

HRESULT SliceWithKerfwise(HWND owner, const std::string& file, bool noUi) {
  if (!IsFile(file)) return Refuse(owner, noUi, "The file " + file + " no longer exists.", ERROR_FILE_NOT_FOUND);
  std::string program = FindProgram();
  if (program.empty())
    return Refuse(owner, noUi, "Kerfwise (kerfwise.exe) was not found. Install it again.", ERROR_FILE_NOT_FOUND);
  // Quoted, so a path with several blanks in a row arrives unchanged.
  std::string line = "\"" + program + "\" \"" + file + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string folder = kw::ExtractFilePath(file);  // the run starts beside the file
  if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return Refuse(owner, noUi, "Kerfwise could not be started.", GetLastError());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return S_OK;
}

}  // namespace shellext
