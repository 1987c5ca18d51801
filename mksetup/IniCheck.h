// Checks of an installation list before a package is made: its header, the
// shape of each section, and the files and programs it names against what the
// package holds. Pure text in, problems out.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "mksetup/Problem.h"

namespace mksetup {

// The project's own uninstaller, which mksetup --uninstaller packs.
inline const char* const kUninstaller = "qfunin.exe";

// What setup.ini is checked against.
struct IniContext {
  std::string file = "setup.ini";
  // Every name the unpacked package will hold (package files and :EXTRA files).
  std::vector<std::string> packageFiles;
  // A name mksetup lists under :WIN itself (--uninstaller): installed there,
  // though the author's list does not say so.
  std::string addedUnderWin;
};

// What a sound list asks of the package, for the builder's own checks.
struct IniFacts {
  std::vector<std::string> installTargets;  // names :INSTALL puts into DestDir
  std::vector<std::string> winTargets;      // names :WIN puts into the Windows folder
  std::vector<std::string> named;           // every package file a copy entry names
  std::string programName;
  std::string uninstaller;                  // :UNINSTALL line 3, if any
  int uninstallerLine = 0;                  // its line number, from 1
};

std::vector<Problem> CheckSetupIni(std::string_view text, const IniContext& ctx, IniFacts* facts = nullptr);

}  // namespace mksetup
