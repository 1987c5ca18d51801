// State of one run of the install engine, shared by the engine and the routines
// it calls (uninstall record, registry section, shortcuts). Created at the start
// of RunInstall and dropped at its end.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "setup/engine/ListFormat.h"

namespace setup {

struct EngineState {
  LineList UninstallList;         // the uninstall list being built, saved as unin.ini
  std::string UninstallListPath;  // where it is saved; empty without :UNINSTALL
  std::string MainProgram;        // installed main program's file name; empty at first
  int Total = 0;                  // progress steps
  int Done = 0;                   // progress steps taken
  std::string BackupExt;          // extension of the DOS start-up file backups
  // Saves the list with `pending` (the lines of what is about to be made)
  // before it is made; set by the engine, may be empty.
  std::function<void(const std::vector<std::string>& pending)> SaveAhead;
  void SaveListAhead(const std::vector<std::string>& pending) {
    if (SaveAhead) SaveAhead(pending);
  }
};

}  // namespace setup
