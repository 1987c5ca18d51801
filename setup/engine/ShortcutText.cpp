#include "setup/engine/ShortcutText.h"

#include "toolkit/PathText.h"

namespace setup {

std::string FullStartMenuFolder(std::string_view programsFolder, std::string_view name) {
  return kw::StripBackslash(kw::StripBackslash(programsFolder) + "\\" + std::string(name));
}

}  // namespace setup
