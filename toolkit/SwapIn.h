// A file's new text written beside it and put in its place, so that a failure
// or a power cut leaves the old text or the new one, never a part or neither.
#pragma once

#include <string>

namespace kw {

// Puts the finished file `beside` in the place of `target`, `beside` flushed
// to the disk first. The NT family does it in one step; 95/98 move the old
// file to `aside` first and put it back if the second move fails. False when
// nothing changed; `beside` is then still there.
bool SwapIn(const std::string& beside, const std::string& target, const std::string& aside);

// After a power cut between 95/98's two moves, `target` is missing and `aside`
// holds its old text: puts the newer `beside` in its place, else `aside`.
// Does nothing in every other case.
void FinishSwap(const std::string& beside, const std::string& target, const std::string& aside);

// WININIT.INI's new text goes beside it under this name, its old one aside
// under the other, so that whichever program runs next can finish the swap.
inline constexpr const char* kWininitBeside = "WININIT.QFN";
inline constexpr const char* kWininitAside = "WININIT.QFO";
// FinishSwap for WININIT.INI in the Windows folder `windowsDir`.
void FinishWininitSwap(const std::string& windowsDir);

}  // namespace kw
