// Waits for the probe in wRegular style with a quit message already queued:
// the launcher must end this program with the quit message's exit code (42)
// before Execute returns.
#include <windows.h>

#include <string>

#include "setup/components/Execfile.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  setup::TExecFile exec;
  exec.CommandLine = std::string(argv[1]);
  exec.Wait = true;
  exec.WaitStyle = setup::wRegular;
  SetEnvironmentVariableA("KW_PROBE_SLEEP", "2000");
  PostQuitMessage(42);
  exec.Execute();
  return 7;
}
