// unkerf.exe: started as <base>s.exe beside the slices (a double-click), or
// with "[/q] <slice list>" from a script. Exit code 0 when the file was rebuilt.
#include <windows.h>

#include <cstdlib>

#include "joiner/Join.h"

// The run-time's verbose terminate handler would pull in the name demangler,
// and its string-length checks the library's second string implementation:
// together half of the program. Both mean a bug or no memory left; ending at
// once is all the program could do then.
namespace __gnu_cxx {
void __verbose_terminate_handler() { abort(); }
}  // namespace __gnu_cxx
namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
}  // namespace std

namespace {
// The command line after the program's own name, which may be quoted.
const char* Arguments() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  return p;
}

std::string ProgramPath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n < MAX_PATH ? n : 0);
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  unkerf::Options options = unkerf::ParseCommandLine(Arguments());
  unkerf::Outcome r = unkerf::RunJoiner(options, ProgramPath(), kerfwise::SystemPlatform());
  if (!options.quiet)
    MessageBoxA(nullptr, r.text.c_str(), "Unkerf",
                MB_OK | MB_SETFOREGROUND | (r.ok ? MB_ICONINFORMATION : MB_ICONERROR));
  return r.ok ? 0 : 1;
}
