#include "tests/wizard/Road.h"

#include <gtest/gtest.h>

#include "setup/SetupIds.h"

using namespace uikit;
namespace ids = setup::ids;

namespace road {

namespace {
const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
std::string package;
}  // namespace

std::string PackageDir() {
  return package.empty() ? Join(BinDir(), "tests\\wizard\\package") : package;
}
void UsePackage(const std::string& dir) { package = dir; }

std::string PrepareDriveA() {
  EmptyFolder(DriveA());
  CopyFileTo(Join(DistDir(), "setup.exe"), DriveA() + "setup.exe");
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), DriveA() + "UNPACK32.DLL");
  InsertDisk(1);
  return DriveA() + "setup.exe";
}

void InsertDisk(int n) {
  for (const std::string& name : ListFolder(DriveA())) {
    if (name == "setup.exe" || name == "UNPACK32.DLL") continue;
    std::string path = DriveA() + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  std::string disk = Join(PackageDir(), "disk" + std::to_string(n));
  for (const std::string& name : ListFolder(disk))
    if (name != "setup.exe" && name != "UNPACK32.DLL")  // a disk 1 that carries them, as mksetup's does
      CopyFileTo(Join(disk, name), DriveA() + name);
}

HWND RunToWizard(Process& setup, std::vector<std::string>* prompts) {
  setup = Process::Start(PrepareDriveA(), DriveA());
  for (;;) {
    HWND box = nullptr, wizard = nullptr;
    WaitUntil(
        [&] {
          box = FindTop(setup.Id(), "#32770", "");
          wizard = FindTop(setup.Id(), "TfSetup", "");
          return box || wizard || !setup.Running();
        },
        "a message box or the wizard of setup.exe", 60000);
    if (wizard && !box) return wizard;
    if (!box) throw Failure("setup.exe ended before its wizard appeared");
    MsgBox m = ReadMsgBox(box);
    if (prompts) prompts->push_back(m.text);
    const std::string insert = "Please insert setup disk number ";
    if (m.text.rfind(insert, 0) == 0)
      InsertDisk(std::stoi(m.text.substr(insert.size())));
    else if (m.text == "Please re-insert setup disk number 1")
      InsertDisk(1);
    else if (m.text.rfind("This program will install ", 0) != 0)
      throw Failure("unexpected box '" + m.caption + "': " + m.text);
    Answer(m, IDOK);
  }
}

HWND Ctl(HWND wizard, int id) { return Child(wizard, id); }
std::string NextCaption(HWND wizard) { return Text(Ctl(wizard, ids::kNext)); }
std::string CancelCaption(HWND wizard) { return Text(Ctl(wizard, ids::kCancel)); }

std::string Page(HWND wizard) {
  static const std::pair<int, const char*> pages[] = {{ids::kIntroPage, "intro"},
                                                      {ids::kLicensePage, "license"},
                                                      {ids::kReadmePage, "readme"},
                                                      {ids::kPathsPage, "paths"},
                                                      {ids::kFinishPage, "finish"}};
  std::string seen;
  for (const auto& [id, name] : pages) {
    if (!Visible(Ctl(wizard, id))) continue;
    if (!seen.empty()) seen += "+";
    seen += name;
  }
  return seen;
}

namespace {
void Press(HWND wizard, int button, const std::string& expect) {
  Click(Ctl(wizard, button));
  WaitUntil([&] { return Page(wizard) == expect; }, "the " + expect + " page", kWindowWait);
  Settle(wizard);  // the click's handler, which also sets the captions, has ended
}
}  // namespace

void Next(HWND wizard, const std::string& expect) { Press(wizard, ids::kNext, expect); }
void Back(HWND wizard, const std::string& expect) { Press(wizard, ids::kBack, expect); }

void InstallInto(HWND wizard, const std::string& dest) {
  Next(wizard, "license");
  Next(wizard, "readme");
  Next(wizard, "paths");
  SetText(Ctl(wizard, ids::kDestination), dest);
  Next(wizard, "finish");
  Click(Ctl(wizard, ids::kNext));
}

void DeclineRunNow(Process& setup, const std::string& program) {
  MsgBox done = WaitMsgBox(setup, "Information", 60000);
  EXPECT_EQ(done.text, "Installation is complete, would you like to run " + program + " now?");
  Answer(done, IDNO);
  setup.Wait();
}

void Shot(HWND wizard, const std::string& dir, const std::string& name) {
  CreateDirectoryA(dir.c_str(), nullptr);
  ToFront(wizard);
  CaptureSteady(wizard).SaveBmp(Join(dir, name + ".bmp"));
}

ProgramsFolder::ProgramsFolder(const std::string& path) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    throw Failure("cannot open Shell Folders");
  char buf[MAX_PATH];
  DWORD size = sizeof buf, type = 0;
  had_ = RegQueryValueExA(k, "Programs", nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) ==
         ERROR_SUCCESS;
  if (had_) before_.assign(buf, size > 0 ? size - 1 : 0);
  RegSetValueExA(k, "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                 DWORD(path.size() + 1));
  RegCloseKey(k);
}

ProgramsFolder::~ProgramsFolder() {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS)
    return;
  if (had_)
    RegSetValueExA(k, "Programs", 0, REG_SZ, reinterpret_cast<const BYTE*>(before_.c_str()),
                   DWORD(before_.size() + 1));
  else
    RegDeleteValueA(k, "Programs");
  RegCloseKey(k);
}

std::string MakePrograms(const std::string& root) {
  std::string programs = Join(root, "Programs");
  EmptyFolder(programs);
  CreateDirectoryA(Join(programs, "StartUp").c_str(), nullptr);
  CreateDirectoryA(Join(programs, "Accessories").c_str(), nullptr);
  WriteTextFile(Join(programs, "Notes.lnk"), "link");
  CreateDirectoryA(Join(programs, "Hidden Tools").c_str(), nullptr);
  SetFileAttributesA(Join(programs, "Hidden Tools").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteTextFile(Join(programs, "desktop.ini"), "[x]");
  SetFileAttributesA(Join(programs, "desktop.ini").c_str(), FILE_ATTRIBUTE_SYSTEM);
  return programs;
}

}  // namespace road
