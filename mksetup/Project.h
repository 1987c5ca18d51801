// An author's project folder read and checked: setup.ini and the package's
// files in the folder itself, what lies beside the installer on disk 1 in its
// sub-folder disk1, and the installer's own files from the --bin folder.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "mksetup/DiskLayout.h"
#include "mksetup/IniCheck.h"
#include "mksetup/Problem.h"

namespace mksetup {

struct Options {
  std::string project, out, bin;
  DiskFormat disk;
  bool images = false;
  bool uninstaller = false;  // add the project's uninstaller from the --bin folder
  bool best = false;         // the exhaustive encoder: fewer disks, slower
  bool plan = false;         // say what the installation will do; write nothing
  std::string name = "package";  // the parts are name.1, name.2, ...
};

struct SourceFile {
  std::string name;  // as stored in the archive or on the disk
  std::string path;  // where it was read
  std::string data;
  int64_t mtime = 0;
};

struct Project {
  std::vector<SourceFile> package;  // into the archive, in name order
  std::vector<SourceFile> extras;   // beside the installer, listed in :EXTRA
  std::vector<SourceFile> beside;   // beside the installer, read by it directly (copyBrin.txt)
  SourceFile setupExe, unpackDll;
  IniFacts facts;
  std::string ini;                  // setup.ini as packed
  std::vector<std::string> notes;   // what mksetup added, for the summary
};

// The file names that belong to the installer on disk 1.
inline const char* const kInstallerFiles[] = {"setup.exe", "UNPACK32.DLL", "setup.lst"};

// Reads the project; every mistake found goes into problems. False when one
// of them is an error (or the project cannot be read at all).
bool LoadProject(const Options& opt, Project* p, std::vector<Problem>* problems);

// Why a file name cannot travel in the package ("" when it can).
std::string NameProblem(const std::string& name);

}  // namespace mksetup
