// Control IDs of qfunin.exe's windows; the tests find the controls by them.
#pragma once
#include "toolkit/ExitCodes.h"

namespace qfunin::ids {

// TfUninstall: the progress window.
constexpr int kRemovingLabel = 101;  // "Removing:"
constexpr int kItem = 102;           // lItem, what is being removed
constexpr int kGauge = 103;          // the bar, 0 to 100

// TfShared: "Remove Shared File?".
constexpr int kSharedIcon = 200;
constexpr int kSharedText = 201;  // the question, naming the file
constexpr int kYes = 211;
constexpr int kYesToAll = 212;
constexpr int kNo = 213;          // the default button
constexpr int kNoToAll = 214;

// Exit codes, those of setup.exe.
constexpr int kExitRemoved = kw::exitcode::kDone;           // everything went
constexpr int kExitRestart = kw::exitcode::kRestartNeeded;  // the rest goes at the next start
constexpr int kExitRefused = kw::exitcode::kFailed;         // no list, or one it will not follow
constexpr int kExitCancelled = kw::exitcode::kCancelled;    // the user answered No
constexpr int kExitStayed = kw::exitcode::kFailed;          // some items stayed

}  // namespace qfunin::ids
