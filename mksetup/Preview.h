// mksetup --plan: what an installation of the project will do, read from its
// setup.ini as the installer reads it, with the folders a fresh Windows 95
// offers by default.
#pragma once
#include <string>

#include "mksetup/Project.h"

namespace mksetup {

// The folders the preview assumes; the user may change the first two in the wizard.
struct DefaultFolders {
  std::string programFiles = "C:\\Program Files";
  std::string windows = "C:\\WINDOWS";
  std::string programs = "C:\\WINDOWS\\Start Menu\\Programs";
};

// The text printed by --plan, before the disk summary. The list has passed its checks.
std::string InstallPreview(const Project& p, const DefaultFolders& folders = {});

}  // namespace mksetup
