// Running the real setup.exe under Wine: distribution folders, floppy disks in
// drive A:, the installer's temporary folders, and the failure pattern.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "tests/kit/UiKit.h"

namespace setuptest {

using Files = std::vector<std::pair<std::string, std::string>>;  // name, contents

// Control IDs the tests look for (setup/SetupIds.h holds them all).
std::string WindowsTemp();                // C:\windows\TEMP
std::string QfinstDir(int n);             // ...\TEMP\QFINSTn
std::vector<std::string> QfinstFolders(); // names of the QFINST* folders there
void RemoveQfinstFolders();

// A folder with setup.exe, UNPACK32.DLL and the given files.
std::string MakeDistribution(const std::string& dir, const Files& files);
void WriteFiles(const std::string& dir, const Files& files);

// Setup disks taking turns in drive A:. Disk 0 is disk 1 and carries the
// installer. Insert moves the files of the disk now in the drive back to its
// folder and the chosen disk's files into A:\.
class Floppies {
 public:
  explicit Floppies(std::vector<Files> disks);
  ~Floppies();
  void Insert(int disk);
  std::string SetupPath() const { return uikit::DriveA() + "setup.exe"; }

 private:
  std::vector<std::string> folders_;
  int current_ = -1;
};

// Starts the installer from its folder.
uikit::Process StartSetup(const std::string& exePath);

// The installer shows one box (caption, text, icon), no wizard appears, and
// after OK the program ends a quarter of a second later, leaving no QFINST
// folder behind; its exit code says failed, or cancelled for a Cancel.
void ExpectFailureEnd(uikit::Process& p, const std::string& caption, const std::string& text,
                      uikit::Icon icon, int button = IDOK);

}  // namespace setuptest
