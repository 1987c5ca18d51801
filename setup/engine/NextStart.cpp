#include "setup/engine/NextStart.h"

#include <windows.h>

#include <algorithm>

#include "setup/engine/InstallPlan.h"
#include "setup/engine/NextStartText.h"
#include "toolkit/NextBoot.h"
#include "toolkit/PathText.h"
#include "toolkit/SwapIn.h"

namespace setup {

namespace {

std::string WindowsFolder() {
  char buf[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buf, sizeof buf);
  return n > 0 && n < sizeof buf ? std::string(buf, n) : std::string();
}

std::string RenameValue(const std::string& ini, const std::string& key) {
  char buf[MAX_PATH * 2];
  DWORD n = GetPrivateProfileStringA("Rename", key.c_str(), "", buf, sizeof buf, ini.c_str());
  return std::string(buf, n);
}

}  // namespace

NextStartReplacer::NextStartReplacer()
    : nt_(kw::IsNtFamily()), wininit_(WininitPath(WindowsFolder())) {
  // The uninstaller's swap of WININIT.INI, cut off by a power cut, is finished
  // before lines are read or added: else a new file would take its place and
  // the other text, with other programs' lines, would never be carried out.
  if (!nt_) kw::FinishWininitSwap(kw::ExtractFilePath(wininit_));
}

bool NextStartReplacer::Replace(const std::string& source, const std::string& target) {
  return Replace(source, target, true);
}

bool NextStartReplacer::ReplaceAfterDeletion(const std::string& source, const std::string& target) {
  return Replace(source, target, false);
}

bool NextStartReplacer::DeletionPending(const std::string& target) const {
  std::vector<std::string> names{target, kw::ShortPath(target)};
  if (!nt_) {
    if (GetFileAttributesA(wininit_.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    try {
      return GoneAfterNextStart(WininitMoves(ReadFileText(wininit_)), names);
    } catch (const kw::Error&) {
      return false;  // unreadable: nothing known to be pending
    }
  }
  HKEY k;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0,
                    KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
    return false;
  std::string data;
  DWORD size = 0, type = 0;
  if (RegQueryValueExA(k, "PendingFileRenameOperations", nullptr, &type, nullptr, &size) ==
          ERROR_SUCCESS &&
      type == REG_MULTI_SZ && size > 0) {
    data.resize(size);
    if (RegQueryValueExA(k, "PendingFileRenameOperations", nullptr, &type,
                         reinterpret_cast<BYTE*>(&data[0]), &size) != ERROR_SUCCESS)
      data.clear();
    data.resize(std::min<size_t>(size, data.size()));
  }
  RegCloseKey(k);
  return GoneAfterNextStart(DelayedMoves(data), names);
}

bool NextStartReplacer::Replace(const std::string& source, const std::string& longTarget,
                                bool backUp) {
  std::string target = nt_ ? longTarget : kw::ShortPath(longTarget);
  std::string pending = Pending(target);
  if (!pending.empty()) return CopyFileA(source.c_str(), pending.c_str(), FALSE) != FALSE;
  for (int n = 0; n < 1000; ++n) {
    Replacement r = ReplacementNames(target, n);
    if (Taken(r.next) || Taken(r.backup)) continue;
    if (!CopyFileA(source.c_str(), r.next.c_str(), FALSE)) return false;
    if (!Queue(target, r.next, backUp ? r.backup : std::string())) {
      DeleteFileA(r.next.c_str());
      return false;
    }
    queued_.push_back(target);
    queued_.push_back(r.next);
    taken_.push_back(r.next);
    taken_.push_back(r.backup);
    return true;
  }
  return false;
}

// A name is free when no file has it, and no replacement of this run, nor on
// 95/98 a Rename line still waiting from an earlier run, is to create it.
bool NextStartReplacer::Taken(const std::string& path) const {
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
  for (const std::string& t : taken_)
    if (kw::SameText(t, path)) return true;
  return !nt_ && !RenameValue(wininit_, path).empty();
}

// The waiting copy of a target queued before: writing its Rename key again
// would keep the key's old place, after a second backup line, and move the new
// file aside at the start.
std::string NextStartReplacer::Pending(const std::string& target) const {
  for (size_t i = 0; i + 1 < queued_.size(); i += 2)
    if (kw::SameText(queued_[i], target)) return queued_[i + 1];
  return nt_ ? std::string() : RenameValue(wininit_, target);
}

bool NextStartReplacer::Queue(const std::string& target, const std::string& next,
                              const std::string& backup) {
  if (nt_) {
    if (backup.empty()) return kw::DelayedMove(next, target, MOVEFILE_REPLACE_EXISTING);
    if (!kw::DelayedMove(target, backup, 0)) return false;
    if (kw::DelayedMove(next, target, MOVEFILE_REPLACE_EXISTING)) return true;
    kw::DelayedMove(backup, target, 0);  // puts the old file back after all
    return false;
  }
  // Lines are carried out in order; a new key goes to the end of the section.
  const char* ini = wininit_.c_str();
  bool queued = (backup.empty() ||
                 WritePrivateProfileStringA("Rename", backup.c_str(), target.c_str(), ini)) &&
                WritePrivateProfileStringA("Rename", target.c_str(), next.c_str(), ini);
  if (!queued && !backup.empty()) WritePrivateProfileStringA("Rename", backup.c_str(), nullptr, ini);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, ini);  // to disk now, not at exit
  return queued;
}

}  // namespace setup
