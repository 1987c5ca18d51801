// State of one run of the install engine, shared by the engine and the routines
// it calls (uninstall record, registry section, shortcuts). Created at the start
// of RunInstall and dropped at its end.
#pragma once
#include <string>
#include <vector>

#include "setup/engine/ListFormat.h"

namespace setup {

// Saves the uninstall list with `pending` (the lines of what is about to be
// made) before it is made: the engine.
class ListKeeper {
 public:
  virtual void SaveAhead(const std::vector<std::string>& pending) = 0;

 protected:
  ~ListKeeper() = default;
};

struct EngineState {
  LineList UninstallList;         // the uninstall list being built, saved as unin.ini
  std::string UninstallListPath;  // where it is saved; empty without :UNINSTALL
  std::string MainProgram;        // installed main program's file name; empty at first
  int Total = 0;                  // progress steps
  int Done = 0;                   // progress steps taken
  std::string BackupExt;          // extension of the DOS start-up file backups
  ListKeeper* Keeper = nullptr;   // set by the engine
  void SaveListAhead(const std::vector<std::string>& pending) {
    if (Keeper) Keeper->SaveAhead(pending);
  }
};

}  // namespace setup
