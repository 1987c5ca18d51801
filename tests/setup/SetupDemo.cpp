// The demo's driver: starts setup.exe from drive A: with the sample disks,
// answers each prompt by changing the disk in the drive, saves a picture of
// the wizard's first page and cancels. Arguments: the folder holding disk1,
// disk2, disk3 ... and the picture's path (.bmp).
#include <windows.h>

#include <cstdio>

#include "setup/SetupIds.h"
#include "tests/setup/SetupRun.h"

using namespace uikit;
using namespace setuptest;

namespace {

Files DiskFiles(const std::string& folder) {
  Files files;
  for (const std::string& name : ListFolder(folder))
    files.push_back({name, ReadFileBytes(Join(folder, name))});
  return files;
}

int Run(const std::string& disks, const std::string& picture) {
  std::vector<Files> contents;
  for (int n = 1; FolderExists(Join(disks, "disk" + std::to_string(n))); ++n)
    contents.push_back(DiskFiles(Join(disks, "disk" + std::to_string(n))));
  Floppies drive(contents);
  std::printf("setup.exe started from %s\n", drive.SetupPath().c_str());
  Process p = StartSetup(drive.SetupPath());
  HWND wizard = nullptr;
  while (!wizard) {
    if (HWND box = FindTop(p.Id(), "#32770", "")) {
      MsgBox m = ReadMsgBox(box);
      std::printf("  %s: %s\n", m.caption.c_str(), m.text.c_str());
      const std::string insert = "Please insert setup disk number ";
      if (m.text.rfind(insert, 0) == 0) {
        int disk = std::atoi(m.text.c_str() + insert.size());
        std::printf("    disk %d goes into drive A:\n", disk);
        drive.Insert(disk - 1);
      } else if (m.text == "Please re-insert setup disk number 1") {
        std::printf("    disk 1 goes back into drive A:\n");
        drive.Insert(0);
      }
      Answer(m, IDOK);
    }
    wizard = FindTop(p.Id(), "TfSetup", "");
    if (!p.Running()) throw Failure("setup.exe ended before its wizard appeared");
    Pause(50);
  }
  std::printf("wizard \"%s\" shown; temporary folder %s\n", Text(wizard).c_str(),
              QfinstFolders().empty() ? "none" : QfinstFolders().back().c_str());
  CaptureScreenSteady(wizard).SaveBmp(picture);
  Click(wizard, setup::ids::kCancel);
  p.Wait();
  std::printf("cancelled; temporary folders left: %zu\n", QfinstFolders().size());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: setup_demo DISKS-FOLDER PICTURE.bmp\n");
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "setup_demo: %s\n", e.what());
    return 1;
  }
}
