// The installer state: one instance for the whole run, filled by the wizard's
// creation step and its folders page, read by the install engine.
#pragma once
#include <string>

#include "setup/engine/ListFormat.h"

namespace setup {

struct SetupState {
  std::string SourceDir;        // never ends in a backslash
  std::string TempDir;          // empty in the unpacked layout
  std::string PackageDir;       // where the engine takes the installation files from
  std::string ProgramName;
  std::string StartMenuFolder;  // a name; the engine turns it into a full path
  std::string DestDir;
  LineList lbSetup;             // the package list, then the installation list
};

}  // namespace setup
