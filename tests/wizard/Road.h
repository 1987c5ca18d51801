// The installer's road as a user walks it, shared by the wizard tests and the
// demo driver: disks swapped in drive A:, the wizard's pages and buttons.
#pragma once
#include <string>

#include "tests/kit/UiKit.h"

namespace road {

// The keys the sample package writes: its uninstall entry and its own values.
inline const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KerfDemoTest";
inline const char* kDemoKey = "Software\\Quillfen\\KerfDemo";

// The sample package made by make-package.sh under the build folder, unless
// UsePackage named another one laid out the same way (disk1, disk2 ...).
std::string PackageDir();
void UsePackage(const std::string& dir);
// Puts setup.exe and UNPACK32.DLL on drive A: with disk 1; returns A:\setup.exe.
std::string PrepareDriveA();
// Replaces what lies in A:\ (the running installer and its DLL stay) by disk n.
void InsertDisk(int n);
// Starts A:\setup.exe, confirms the floppy installation, answers every disk
// prompt by swapping the disks, and returns the wizard once it is visible.
// `prompts` receives the prompt texts in order.
HWND RunToWizard(uikit::Process& setup, std::vector<std::string>* prompts = nullptr);

// The wizard's controls.
HWND Ctl(HWND wizard, int id);
std::string NextCaption(HWND wizard);
std::string CancelCaption(HWND wizard);
// The name of the visible page: "intro", "license", "readme", "paths", "finish"
// ("" or several names joined by '+' when not exactly one is visible).
std::string Page(HWND wizard);
// Presses Next / Back and waits until the page has changed to `expect`.
void Next(HWND wizard, const std::string& expect);
void Back(HWND wizard, const std::string& expect);
// From the first page on: Next to the folders page, `dest` typed, Next and
// Finish pressed; the installation then runs.
void InstallInto(HWND wizard, const std::string& dest);
// The installation's last question ("run <program> now?") answered No, and
// setup.exe's end.
void DeclineRunNow(uikit::Process& setup, const std::string& program);
// Saves a picture of the wizard as <dir>\<name>.bmp.
void Shot(HWND wizard, const std::string& dir, const std::string& name);

// A Programs folder as the shell keeps it, made as <root>\Programs: folders, a
// shortcut, and entries that are hidden or system and so not offered.
std::string MakePrograms(const std::string& root);

// The shell's record of the Programs folder (HKCU Shell Folders), set for a run
// and put back by the destructor.
class ProgramsFolder {
 public:
  explicit ProgramsFolder(const std::string& path);
  ~ProgramsFolder();

 private:
  std::string before_;
  bool had_ = false;
};

}  // namespace road
