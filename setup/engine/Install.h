// RunInstall: carries out the installation list once the user has pressed
// Finish. Windows only (library setup_install).
#pragma once
#include "setup/components/Execfile.h"
#include "setup/components/SheLink.h"
#include "setup/engine/InstallHost.h"
#include "setup/engine/SetupState.h"

namespace setup {

// Program-wide: a file was queued for replacement at restart (never reset), and
// the list has a :RUNFILE section.
extern bool RebootNeeded;
extern bool RunAtEnd;

// Runs the whole installation on the calling thread; returns after the
// completion message, or right after asking Windows to restart, the exit code
// (kw::exitcode): done, a restart needed, or incomplete. Turns
// state.StartMenuFolder into its full path. ExecFile1 and Shelllink1 are the
// wizard's components (ExecFile1 set to Wait, not Associate).
// Entries that could be neither copied nor queued for the next start are named
// in one warning before the closing question. Errors (ListIndexError, the
// registry errors, "Cannot create file %s") end it where they arise and
// propagate to the caller's error box, once the uninstall list built so far is
// saved; the copy-progress window is then left as it was.
int RunInstall(SetupState& state, InstallHost& host, TExecFile& ExecFile1, TShellLink& Shelllink1);

}  // namespace setup
