// Replacing a file that is in use, at the next start of Windows. Windows 95/98
// carry out the [Rename] section of WININIT.INI before long file names exist,
// so every side of its lines is a short path; NT-family systems never read that
// file and take delayed moves (MoveFileEx) instead. A replacement is queued one
// way or the other, never both: Wine, for one, carries out both, and the second
// pair would move the new file aside again. Windows only.
#pragma once
#include <string>
#include <vector>

namespace setup {

class NextStartReplacer {
 public:
  // Tells the two families apart (GetVersion) once.
  NextStartReplacer();

  // Copies source beside target under free ".MQF" / ".BAK" names and queues,
  // for the next start, target -> backup, then the copy -> target. A target
  // already queued keeps its names and gets the newer copy. False when nothing
  // was queued; no copy is then left beside the target.
  bool Replace(const std::string& source, const std::string& target);

  // True when the system is to delete the target at the next start (an
  // uninstall of a file in use, say) and nothing queued after that puts a file
  // back: a copy made now would be lost at the restart.
  bool DeletionPending(const std::string& target) const;
  // Queues a copy of source to land on the target after that deletion (no
  // backup: the old file is going anyway). False when nothing was queued.
  bool ReplaceAfterDeletion(const std::string& source, const std::string& target);

 private:
  bool Taken(const std::string& path) const;
  bool Replace(const std::string& source, const std::string& target, bool backUp);
  // An empty backup queues only the copy's move onto the target.
  bool Queue(const std::string& target, const std::string& next, const std::string& backup);
  std::string Pending(const std::string& target) const;

  bool nt_;
  std::string wininit_;
  // This run's replacements: each target followed by its waiting copy; and
  // every name they took.
  std::vector<std::string> queued_;
  std::vector<std::string> taken_;
};

}  // namespace setup
