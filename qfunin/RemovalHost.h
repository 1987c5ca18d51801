// What the removal run asks of the system. Implemented by WinHost (qfunin.exe,
// over the Win32 file and registry API) and by the fake system of the native
// tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qfunin {

enum class Deleted { kGone, kMissing, kInUse, kFailed };
enum class SharedAnswer { kYes, kYesToAll, kNo, kNoToAll };

// A registry value as it now is.
struct RegData {
  enum Kind { kMissing, kText, kNumber, kOther } kind = kMissing;
  std::string text;     // kText
  uint32_t number = 0;  // kNumber
};

struct FolderEntry {
  std::string name;
  bool folder = false;
};

class RemovalHost {
 public:
  virtual ~RemovalHost() = default;

  // The removal has come `percent` of its way and now works on `item`.
  virtual void Progress(int percent, const std::string& item) = 0;
  // The user's answer for a file other programs may share.
  virtual SharedAnswer AskShared(const std::string& path) = 0;

  virtual bool FileExists(const std::string& path) = 0;
  // Deletes a file (read-only too); kInUse when another program holds it.
  virtual Deleted RemoveFile(const std::string& path) = 0;
  // Queues the file or empty folder for deletion at the next start.
  virtual bool DeleteAtRestart(const std::string& path) = 0;
  // True when `path` is this running program.
  virtual bool IsSelf(const std::string& path) = 0;

  virtual bool FolderExists(const std::string& path) = 0;
  virtual std::vector<FolderEntry> ListFolder(const std::string& path) = 0;
  // Removes the folder when it is empty.
  virtual bool RemoveFolder(const std::string& path) = 0;

  // Deletes one value; false when it could not be deleted (a missing value
  // or key counts as deleted).
  virtual bool DeleteRegValue(const std::string& root, const std::string& key,
                              const std::string& name) = 0;
  // Deletes the key when it holds no values and no subkeys; false when it
  // stays for another reason than holding something.
  virtual bool DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) = 0;
  // Reads one value; a host that keeps no registry reads every value as missing,
  // which leaves the values of shared keys alone.
  virtual RegData ReadRegValue(const std::string& /*root*/, const std::string& /*key*/,
                               const std::string& /*name*/) {
    return {};
  }
  // Writes a string value into an existing key.
  virtual bool WriteRegText(const std::string& /*root*/, const std::string& /*key*/,
                            const std::string& /*name*/, const std::string& /*text*/) {
    return false;
  }
  // Deletes the uninstall entries whose command names this list.
  virtual void DeleteUninstallEntry(const std::string& listPath) = 0;
};

}  // namespace qfunin
