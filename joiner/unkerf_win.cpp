// unkerf.exe: started as <base>s.exe beside the slices (a double-click), or
// with "[/q] <slice list>" from a script. Exit code 0 when the file was rebuilt.
#include <windows.h>

#include "joiner/Join.h"

namespace {
std::string ProgramPath() {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  return std::string(buf, n < MAX_PATH ? n : 0);
}

bool AskReplace(const std::string& question) {
  return MessageBoxA(nullptr, question.c_str(), "Unkerf", MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR args, int) {
  unkerf::Options options = unkerf::ParseCommandLine(args);
  unkerf::Outcome r = unkerf::RunJoiner(options, ProgramPath(), kerfwise::SystemPlatform(), AskReplace);
  if (!options.quiet)
    MessageBoxA(nullptr, r.text.c_str(), "Unkerf",
                MB_OK | MB_SETFOREGROUND | (r.ok ? MB_ICONINFORMATION : MB_ICONERROR));
  return r.ok ? 0 : 1;
}
