// Arbitrary bytes as the command line of setup.exe and of qfunin.exe: never a
// crash, and a line accepted with /D= always names a full folder.
#include <cstdint>

#include "qfunin/UninList.h"
#include "setup/engine/Switches.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  setup::SetupSwitches s = setup::ParseSetupSwitches(line);
  if (s.fault.empty() && s.dest &&
      (!setup::IsFullFolderPath(*s.dest) || s.dest->find('"') != std::string::npos))
    __builtin_trap();
  if (s.fault.empty() && ((s.group && s.group->empty()) || (s.log && s.log->empty()))) __builtin_trap();
  qfunin::ParseUninstallArguments(line);
  return 0;
}
