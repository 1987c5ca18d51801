// The demo's driver: installs the sample three-disk package from drive A: the
// way a user would, saving a picture of each page, lists what was installed
// where, and removes it again as a user does, through the command of its
// uninstall entry. Arguments: the destination folder and the folder for the
// pictures.
#include <windows.h>

#include <cstdio>

#include "qfunin/QfuninIds.h"
#include "setup/SetupIds.h"
#include "tests/wizard/Road.h"

using namespace uikit;
using namespace road;
namespace ids = setup::ids;

namespace {

std::string RegValue(HKEY root, const char* key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return "<missing>";
  char buf[1024];
  DWORD size = sizeof buf, type = 0;
  std::string v = "<missing>";
  if (RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) == 0)
    v = type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(buf)) : std::string(buf);
  RegCloseKey(k);
  return v;
}

void ListFiles(const std::string& dir) {
  std::printf("  %s\\\n", dir.c_str());
  for (const std::string& n : ListFolder(dir)) std::printf("    %s\n", n.c_str());
}

void Walk(const std::string& dest, const std::string& shots) {
  Process setup;
  std::vector<std::string> prompts;
  HWND wiz = RunToWizard(setup, &prompts);
  for (const std::string& p : prompts) std::printf("  box: %s -> OK\n", p.c_str());
  const char* pages[] = {"intro", "license", "readme", "paths", "finish"};
  for (int i = 0; i < 5; ++i) {
    if (i == 3) SetText(Ctl(wiz, ids::kDestination), dest);
    Shot(wiz, shots, std::to_string(i + 1) + "-" + pages[i]);
    std::printf("  page %-7s buttons \"%s\" / \"%s\"\n", pages[i], NextCaption(wiz).c_str(),
                CancelCaption(wiz).c_str());
    if (i < 4) Next(wiz, pages[i + 1]);
  }
  Click(Ctl(wiz, ids::kNext));
  MsgBox done = WaitMsgBox(setup, "Information", 60000);
  std::printf("  box: %s -> Yes\n", done.text.c_str());
  Answer(done, IDYES);
  setup.Wait();
  WaitUntil([&] { return FileExists(Join(dest, "ran.txt")); }, "the installed program's marker");
  // Its folder can only go once it has ended.
  if (!AwaitNoProcess("kwdemo.exe", kExitWait)) throw Failure("kwdemo.exe did not end");
  std::printf("  the installed program ran in %s and ended\n", ReadFileBytes(Join(dest, "ran.txt")).c_str());
}

// The uninstall entry's own command, answered as a user would: Yes to the
// question, Yes to any shared file, OK to the closing message.
void Uninstall(const std::string& dest) {
  std::string command = RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString");
  std::printf("removing it through its uninstall entry:\n  %s\n", command.c_str());
  Process un = Process::Start(command);
  MsgBox ask = WaitMsgBox(un, "Uninstall");
  std::printf("  box: %s -> Yes\n", ask.text.c_str());
  Answer(ask, IDYES);
  for (;;) {
    HWND shared = nullptr, box = nullptr;
    WaitUntil([&] {
      return (shared = FindTop(un.Id(), "TfShared", "")) || (box = FindTop(un.Id(), "#32770", "")) ||
             !un.Running();
    }, "a question or the end of qfunin.exe", 60000);
    if (shared) {
      std::printf("  shared file question -> Yes\n");
      Click(Child(shared, qfunin::ids::kYes));
      WaitGone(shared, "the shared file question");
      continue;
    }
    if (!box) break;
    MsgBox m = ReadMsgBox(box);
    std::string text = m.text;
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, " ");
    std::printf("  box: %s -> OK\n", text.c_str());
    Answer(m, IDOK);
  }
  std::printf("  qfunin.exe ended with exit code %lu\n", static_cast<unsigned long>(un.Wait()));
  std::printf("  uninstall entry: %s\n",
              RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "<missing>" ? "gone" : "still there");
  if (FolderExists(dest)) {
    std::printf("  left in %s:", dest.c_str());
    for (const std::string& n : ListFolder(dest)) std::printf(" %s", n.c_str());
    std::printf(" (ran.txt is the demo program's own, not the installation's)\n");
  } else {
    std::printf("  %s is gone\n", dest.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::printf("usage: wizard_demo <destination> <picture folder> [disk set]\n");
    return 2;
  }
  std::string dest = argv[1], shots = argv[2];
  if (argc > 3) UsePackage(argv[3]);
  std::string menu =
      RegValue(HKEY_CURRENT_USER,
               "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
               "Programs") + "\\Kerf Demo";
  int rc = 0;
  try {
    Walk(dest, shots);
    std::printf("installed:\n");
    ListFiles(dest);
    ListFiles(menu);
    std::printf("  HKLM\\%s\n    DisplayName = %s\n    UninstallString = %s\n", kUninstallKey,
                RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").c_str(),
                RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").c_str());
    std::printf("  HKCU\\%s\n    Path = %s\n    Runs = %s\n", kDemoKey,
                RegValue(HKEY_CURRENT_USER, kDemoKey, "Path").c_str(),
                RegValue(HKEY_CURRENT_USER, kDemoKey, "Runs").c_str());
    Uninstall(dest);
    if (RegValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") != "<missing>") {
      std::printf("demo failed: the uninstall entry is still there\n");
      rc = 1;
    }
  } catch (const std::exception& e) {
    std::printf("demo failed: %s\n", e.what());
    rc = 1;
  }
  RemoveFolder(dest);
  RemoveFolder(menu);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kUninstallKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kDemoKey);
  std::printf("cleared what was left of the demo\n");
  return rc;
}
