#include "tests/setup/SetupRun.h"

#include <gtest/gtest.h>

namespace setuptest {

using namespace uikit;

std::string WindowsTemp() {
  char buf[MAX_PATH];
  GetWindowsDirectoryA(buf, sizeof buf);
  return std::string(buf) + "\\TEMP";
}

std::string QfinstDir(int n) { return WindowsTemp() + "\\QFINST" + std::to_string(n); }

std::vector<std::string> QfinstFolders() {
  std::vector<std::string> out;
  for (const std::string& name : ListFolder(WindowsTemp()))
    if (name.rfind("QFINST", 0) == 0) out.push_back(name);
  return out;
}

void RemoveQfinstFolders() {
  for (const std::string& name : QfinstFolders()) RemoveFolder(Join(WindowsTemp(), name));
}

void WriteFiles(const std::string& dir, const Files& files) {
  for (const auto& [name, bytes] : files) WriteFileBytes(Join(dir, name), bytes);
}

std::string MakeDistribution(const std::string& dir, const Files& files) {
  EmptyFolder(dir);
  CopyFileTo(Join(DistDir(), "setup.exe"), Join(dir, "setup.exe"));
  CopyFileTo(Join(DistDir(), "UNPACK32.DLL"), Join(dir, "UNPACK32.DLL"));
  WriteFiles(dir, files);
  return Join(dir, "setup.exe");
}

Floppies::Floppies(std::vector<Files> disks) {
  EmptyFolder(DriveA());
  for (size_t i = 0; i < disks.size(); ++i) {
    std::string folder = TempDir("disk" + std::to_string(i + 1));
    if (i == 0) MakeDistribution(folder, disks[i]);
    else WriteFiles(folder, disks[i]);
    folders_.push_back(folder);
  }
  Insert(0);
}

Floppies::~Floppies() {
  try {
    EmptyFolder(DriveA());
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
  }
}

void Floppies::Insert(int disk) {
  if (current_ >= 0)
    for (const std::string& name : ListFolder(DriveA()))
      MoveFileA(Join(DriveA(), name).c_str(), Join(folders_[current_], name).c_str());
  for (const std::string& name : ListFolder(folders_[disk]))
    MoveFileA(Join(folders_[disk], name).c_str(), Join(DriveA(), name).c_str());
  current_ = disk;
}

Process StartSetup(const std::string& exePath) {
  std::string dir = exePath.substr(0, exePath.find_last_of('\\') + 1);
  return Process::Start("\"" + exePath + "\"", dir);
}

void ExpectFailureEnd(Process& p, const std::string& caption, const std::string& text, Icon icon,
                      int button) {
  MsgBox box = WaitMsgBox(p, caption);
  EXPECT_EQ(box.text, text);
  EXPECT_EQ(IconName(box.icon), std::string(IconName(icon)));
  EXPECT_EQ(FindTop(p.Id(), "TfSetup", ""), nullptr) << "the wizard must not be shown";
  Answer(box, button);
  // It ends by itself, closing its background window, not through a kill or
  // a fault; how soon is the load's business.
  EXPECT_EQ(p.Wait(), button == IDCANCEL ? 1602u : 1603u);  // cancelled, or failed
  EXPECT_EQ(QfinstFolders(), std::vector<std::string>()) << "temporary folder left behind";
}

}  // namespace setuptest
