// The removal run's host on Windows: files, folders and registry through the
// Win32 API, progress in TfUninstall, shared files asked in TfShared.
#pragma once
#include "qfunin/RemovalHost.h"
#include "qfunin/UninList.h"
#include "qfunin/uShared.h"
#include "qfunin/uUninstall.h"

namespace qfunin {

// The system's folders as they are now.
Places SystemPlaces();

// The path in the file system's own long spelling, as far as it exists; the
// rest as written.
std::string LongPath(const std::string& path);

// The name the list of installed programs shows for the entry that names this
// uninstall list; empty when no entry does.
std::string EntryNameFor(const std::string& listPath);
// Takes every entry that names this list out of the list of installed programs.
void DeleteUninstallEntries(const std::string& listPath);

class WinHost : public RemovalHost {
 public:
  WinHost(TfUninstall& progress, TfShared& shared) : progress_(progress), shared_(shared) {}

  void Progress(int percent, const std::string& item) override;
  SharedAnswer AskShared(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  Deleted RemoveFile(const std::string& path) override;
  bool DeleteAtRestart(const std::string& path) override;
  bool IsSelf(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::vector<FolderEntry> ListFolder(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool DeleteRegValue(const std::string& root, const std::string& key,
                      const std::string& name) override;
  bool DeleteRegKeyIfEmpty(const std::string& root, const std::string& key) override;
  RegData ReadRegValue(const std::string& root, const std::string& key, const std::string& name) override;
  bool WriteRegText(const std::string& root, const std::string& key, const std::string& name,
                    const std::string& text) override;
  void DeleteUninstallEntry(const std::string& listPath) override;

 private:
  TfUninstall& progress_;
  TfShared& shared_;
};

}  // namespace qfunin
