#include "shellext/Launch.h"

#include "shellext/Module.h"

namespace shellext {

namespace {

// Beside the splitter's settings; written by the splitter when it registers us.
const char kSettingsKey[] = "SOFTWARE\\Quillfen\\Kerfwise";
const char kProgramValue[] = "program";

bool IsFile(const char* path) {
  DWORD a = GetFileAttributesA(path);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool StoredProgram(char* path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD type = 0, size = MAX_PATH - 1;
  LONG rc = RegQueryValueExA(key, kProgramValue, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
  path[size] = '\0';  // the splitter stores texts without their NUL
  return path[0] != '\0' && IsFile(path);
}

bool ProgramBesideUs(char* path) {
  DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  char* slash = path;
  for (char* p = path; *p; p = CharNextA(p))
    if (*p == '\\' || *p == ':') slash = p + 1;
  const char name[] = "kerfwise.exe";
  if (size_t(slash - path) + sizeof name > MAX_PATH) return false;
  lstrcpyA(slash, name);
  return IsFile(path);
}

HRESULT Refuse(HWND owner, bool noUi, const char* before, const char* what, const char* after,
               DWORD error) {
  if (!noUi) {
    char text[MAX_PATH + 128];
    lstrcpynA(text, before, sizeof text);
    lstrcpynA(text + lstrlenA(text), what, int(sizeof text) - lstrlenA(text));
    lstrcpynA(text + lstrlenA(text), after, int(sizeof text) - lstrlenA(text));
    MessageBoxA(owner, text, "Kerfwise", MB_OK | MB_ICONWARNING);
  }
  return HRESULT_FROM_WIN32(error);
}

}  // namespace

bool FindProgram(char* path) { return StoredProgram(path) || ProgramBesideUs(path); }

HRESULT SliceWithKerfwise(HWND owner, const char* file, bool noUi) {
  if (!IsFile(file)) return Refuse(owner, noUi, "The file ", file, " no longer exists.", ERROR_FILE_NOT_FOUND);
  char program[MAX_PATH];
  if (!FindProgram(program))
    return Refuse(owner, noUi, "Kerfwise (kerfwise.exe) was not found. Install it again.", "", "",
                  ERROR_FILE_NOT_FOUND);
  // Quoted, so a path with several blanks in a row arrives unchanged.
  char line[2 * MAX_PATH + 8];
  wsprintfA(line, "\"%s\" \"%s\"", program, file);
  // The run starts beside the file.
  char folder[MAX_PATH];
  lstrcpynA(folder, file, MAX_PATH);
  char* slash = nullptr;
  for (char* p = folder; *p; p = CharNextA(p))
    if (*p == '\\') slash = p;
  if (slash) slash[1] = '\0';
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(program, line, nullptr, nullptr, FALSE, 0, nullptr, slash ? folder : nullptr,
                      &si, &pi))
    return Refuse(owner, noUi, "Kerfwise could not be started.", "", "", GetLastError());
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return S_OK;
}

}  // namespace shellext
