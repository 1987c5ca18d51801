// What the system is to do with files at its next start, read from where each
// family keeps it, apart from the Windows calls: WININIT.INI's [Rename] lines
// on 95/98, the delayed moves (PendingFileRenameOperations) on the NT family.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace setup {

// One operation queued for the next start: `from` moved to `to`, or deleted
// when `to` is empty.
struct QueuedMove {
  std::string from;
  std::string to;
};

// The [Rename] section of WININIT.INI text in order: a line "to=from" moves,
// "NUL=from" deletes. Other sections, comments and lines without "=" are left out.
std::vector<QueuedMove> WininitMoves(std::string_view text);

// The delayed moves as the NT family keeps them (REG_MULTI_SZ data: source and
// destination strings in turn, an empty destination deletes), with the "\??\"
// prefix and a destination's leading "!" (replace) removed.
std::vector<QueuedMove> DelayedMoves(std::string_view data);

// True when, the moves carried out in order, nothing is left at the file named
// by any of `names` (its long and short spellings, letter case ignored) by a
// move that was queued to remove or move it away.
bool GoneAfterNextStart(const std::vector<QueuedMove>& moves, const std::vector<std::string>& names);

}  // namespace setup
