// Start Menu entries from :SHORTCUTS (engine step 12).
#include "setup/engine/Shortcuts.h"

#include <windows.h>

#include <exception>

#include "setup/engine/Folders.h"
#include "setup/engine/Registry.h"
#include "setup/engine/ShortcutText.h"
#include "toolkit/Log.h"

namespace setup {

namespace {

void DeleteIfExists(const std::string& path) {
  if (FileExists(path)) DeleteFileA(path.c_str());
}

}  // namespace

void MakeShortcut(TShellLink& link, const std::string& shortcut, const std::string& target) {
  const std::string pif = shortcut + ".pif", lnk = shortcut + ".lnk";
  DeleteIfExists(pif);
  DeleteIfExists(lnk);
  if (!FileExists(target)) {
    kw::Log({"No shortcut ", shortcut, ": ", target, " is missing"});
    return;
  }
  if (kw::ExtractFileName(shortcut) == kw::ExtractFileName(target)) {
    // A document named as itself goes into the menu as a copy.
    if (CopyFileA(target.c_str(), shortcut.c_str(), FALSE))
      kw::Log({"Copied ", shortcut});
    else
      kw::Log({"Failed to copy ", shortcut});
    return;
  }
  try {
    link.MakeLink(shortcut, target);
    // The shell may have kept a DOS program's settings as a .pif instead.
    std::string file = pif;
    if (!FileExists(pif)) {
      MoveFileA(shortcut.c_str(), lnk.c_str());
      file = lnk;
    }
    link.SetPath(file);
    link.Target = target;
    link.WorkingDir = kw::ExtractFilePath(target);
    link.WriteLink(file);
    link.SetUpdate(false);
    kw::Log({"Shortcut ", file, " to ", target});
  } catch (const std::exception& e) {
    DeleteIfExists(pif);
    DeleteIfExists(lnk);
    kw::Log({"Failed to make the shortcut ", shortcut, ": ", e.what()});
  }
}

void CreateShortcuts(const SetupState& state, EngineState& engine, TShellLink& link) {
  const LineList& lb = state.lbSetup;
  int k = lb.Find(section::kShortcuts);
  if (k < 0) return;
  ForceFolders(state.StartMenuFolder);
  std::string dest = StripBackslash(state.DestDir);
  lb.ForEachGroup(k, 2, [&](std::span<const std::string> pair) {
    std::string shortcut = state.StartMenuFolder + "\\" + pair[0];
    std::string target = dest + "\\" + pair[1];
    engine.SaveListAhead({shortcut});
    MakeShortcut(link, shortcut, target);
    if (engine.MainProgram.empty()) engine.MainProgram = kw::ExtractFileName(target);
    engine.UninstallList.Add(shortcut);
  });
  engine.UninstallList.Add("+" + state.StartMenuFolder);
}

std::string StartMenuPath(const std::string& name) {
  return FullStartMenuFolder(StartMenuProgramsFolder(), name);
}

}  // namespace setup
