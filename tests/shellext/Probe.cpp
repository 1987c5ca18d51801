// Stands in for kerfwise.exe: writes its command line to probe.txt in the
// folder named by KW_PROBE_OUT, so a test sees what the handler started.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
  char dir[MAX_PATH];
  DWORD n = GetEnvironmentVariableA("KW_PROBE_OUT", dir, sizeof dir);
  if (n == 0 || n >= sizeof dir) return 1;
  std::string out = std::string(dir) + "\\probe.txt";
  FILE* f = std::fopen(out.c_str(), "wb");
  if (!f) return 1;
  std::fputs(GetCommandLineA(), f);
  std::fclose(f);
  return 0;
}
