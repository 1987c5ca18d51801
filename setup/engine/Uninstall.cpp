// The uninstall record: the Windows uninstall entry (step 6) and the uninstall
// list, begun in step 1 and saved in step 17.
#include "setup/engine/Uninstall.h"

#include <windows.h>

#include "setup/engine/Folders.h"
#include "setup/engine/Registry.h"
#include "setup/engine/UninstallText.h"
#include "toolkit/Log.h"
#include "toolkit/SwapIn.h"

namespace setup {

void BeginUninstallList(const SetupState& state, EngineState& engine) {
  engine.UninstallList.Clear();
  engine.UninstallList.Add(state.ProgramName);
  engine.UninstallList.Add(state.DestDir);
}

void WriteUninstallEntry(const std::string& key, const std::string& displayName,
                         const std::string& command) {
  // Two separate writes, each through its own open of the key.
  std::string path = std::string(kUninstallKey) + key;
  WriteRegString("HKEY_LOCAL_MACHINE", path, "DisplayName", displayName);
  WriteRegString("HKEY_LOCAL_MACHINE", path, "UninstallString", command);
  kw::Log({"Uninstall entry HKEY_LOCAL_MACHINE\\", path, ": ", command});
}

void WriteUninstallSection(const SetupState& state, EngineState& engine) {
  const LineList& lb = state.lbSetup;
  int k = lb.Find(section::kUninstall);
  if (k < 0) return;
  size_t i = size_t(k);
  std::string windows = GetWindowsFolder();
  engine.UninstallListPath = UninstallListPath(lb.At(i + 4), state.DestDir, windows);
  std::string command = UninstallCommand(windows, lb.At(i + 3), engine.UninstallListPath);
  engine.SaveListAhead({});
  WriteUninstallEntry(lb.At(i + 1), lb.At(i + 2), command);
}

void SaveUninstallList(const SetupState& state, EngineState& engine) {
  if (engine.UninstallListPath.empty()) return;
  engine.UninstallListPath = SavedListPath(engine.UninstallListPath, state.DestDir);
  WriteListFileSafely(engine.UninstallListPath, engine.UninstallList.Lines());
  kw::Log({"Uninstall list ", engine.UninstallListPath});
}

void WriteListFileSafely(const std::string& path, const std::vector<std::string>& lines) {
  const std::string next = path + ".new", aside = path + ".old";
  kw::FinishSwap(next, path, aside);  // a save cut off by a power cut, finished first
  try {
    WriteListFile(next, lines);
  } catch (const kw::Error&) {
    DeleteFileA(next.c_str());
    throw kw::Error("Cannot create file " + path);
  }
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
  if (!kw::SwapIn(next, path, aside)) {
    DeleteFileA(next.c_str());
    throw kw::Error("Cannot create file " + path);
  }
}

}  // namespace setup
