// Control IDs of qfunin.exe's windows; the tests find the controls by them.
#pragma once

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

// Exit codes.
constexpr int kExitRemoved = 0;    // everything went, perhaps at the next start
constexpr int kExitRefused = 1;    // no list, or a list it will not follow
constexpr int kExitCancelled = 2;  // the user answered No
constexpr int kExitStayed = 3;     // some items stayed

}  // namespace qfunin::ids
