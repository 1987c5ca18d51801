// The part of the shortcut routines that needs no Windows API.
#include "setup/engine/Shortcuts.h"
#include "toolkit/PathText.h"

namespace setup {

std::string FullStartMenuFolder(std::string_view programsFolder, std::string_view name) {
  return kw::StripBackslash(kw::StripBackslash(programsFolder) + "\\" + std::string(name));
}

}  // namespace setup
