// Test host and helpers for running RunInstall under Wine on real files,
// registry and WININIT.INI.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <deque>
#include <string>
#include <vector>

#include "setup/components/Execfile.h"
#include "setup/components/SheLink.h"
#include "setup/engine/InstallHostWin.h"
#include "setup/engine/SetupState.h"

namespace setup::test {

// Records every call as one line of text; message boxes are answered from a
// script, the restart request is only recorded. The shell's "OPEN" and the
// message pump are the real ones.
class TestHost : public SystemInstallHost {
 public:
  TestHost() : SystemInstallHost(nullptr, nullptr) {}

  std::vector<std::string> log;
  std::vector<int> progress;
  std::deque<int> answers;  // IDOK, IDCANCEL, IDYES, IDNO in order of the boxes
  bool refuseRestart = false;

  int WizardBottom() override { return 412; }
  void PlaceCopyWindow(int top) override { log.push_back("place " + std::to_string(top)); }
  void ShowCopyWindow() override { log.push_back("show"); }
  void SetCopyFileName(const std::string& text) override { log.push_back("name " + text); }
  void SetCopyProgress(int percent) override {
    progress.push_back(percent);
    log.push_back("progress " + std::to_string(percent));
  }
  void RepaintCopyWindow() override { log.push_back("repaint"); }
  void CloseCopyWindow() override { log.push_back("close"); }
  int ShowMessage(const std::string& text, const std::string& caption, unsigned flags) override;
  void ProcessMessages() override {
    log.push_back("pump");
    SystemInstallHost::ProcessMessages();
  }
  bool RequestRestart() override {
    log.push_back("restart");
    return !refuseRestart;
  }
  void ShellOpen(const std::string& file, const std::string& folder) override {
    log.push_back("open " + file + " in " + folder);
    SystemInstallHost::ShellOpen(file, folder);
  }
  void BringToFront() override { log.push_back("front"); }

  // The message-box lines of the log.
  std::vector<std::string> Messages() const;
  bool Logged(const std::string& line) const;
};

// One run's surroundings: a package folder, a Programs folder of its own for the
// shortcuts (the shell's record is put back afterwards), the wizard's components.
// What a test puts outside its own folder (Windows folder, drive C, registry) is
// registered with Shared/SharedKey and removed at TearDown, also after a failed
// assertion ended the test early.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void List(const std::vector<std::string>& lines) { state.lbSetup = LineList(lines); }
  void Package(const std::string& name, const std::string& text);
  void Run();
  const std::string& Shared(const std::string& path) { return shared.emplace_back(path); }
  void SharedKey(HKEY rootKey, const std::string& key) { sharedKeys.emplace_back(rootKey, key); }
  // The Windows folder's System folder, made when missing and then removed.
  void NeedSystemFolder();

  std::string win, root, pkg, programsBefore;
  SetupState state;
  TestHost host;
  TExecFile exec;
  TShellLink link;
  HANDLE held = INVALID_HANDLE_VALUE;  // a target held open, closed at TearDown
  std::vector<std::string> shared;
  std::vector<std::pair<HKEY, std::string>> sharedKeys;
  bool madeSystem = false;
};

// Files.
void WriteText(const std::string& path, const std::string& text, DWORD attrs = 0);
std::string ReadText(const std::string& path);  // "<missing>" when it cannot be read
DWORD Attrs(const std::string& path);
bool Exists(const std::string& path);
void Remove(const std::string& path);  // clears attributes, deletes
std::string TempRoot(const char* name);  // fresh folder under the temp folder
std::string ProbeExe();                  // the stand-in program of tests/execfile
// Waits until the file exists (a program started without waiting writes it).
bool AwaitFile(const std::string& path, int ms);

// The delayed moves queued for the next start (NT family), as the system keeps
// them: source, then destination ("!" first when it replaces), "\??\" paths.
std::vector<std::string> PendingMoves();
void ClearPendingMoves();

// Registry (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE).
std::string RegString(HKEY root, const std::string& key, const std::string& name);
DWORD RegNumber(HKEY root, const std::string& key, const std::string& name);
bool RegKeyExists(HKEY root, const std::string& key);
void RegSetString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value);
void RegDeleteTree(HKEY root, const std::string& key);

}  // namespace setup::test
