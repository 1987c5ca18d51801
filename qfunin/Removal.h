// The removal run: takes away what a checked uninstall list names, in a fixed
// order, through a RemovalHost. No Windows API here.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "qfunin/RemovalHost.h"
#include "qfunin/UninList.h"

namespace qfunin {

struct Outcome {
  bool restart = false;             // files were queued for the next start
  std::vector<std::string> stayed;  // folders and registry keys holding what stayed
};

// A registry key the run may delete once it is empty: not a root, not a
// first-level key outside HKEY_CLASSES_ROOT, and not a well-known system key
// or one of its parents.
bool MayDeleteKey(std::string_view root, std::string_view key);

// A key other programs write in too (file classes, the system keys and their
// parents): a value there goes only while it holds what the list recorded.
bool IsSharedKey(std::string_view root, std::string_view key);
// The value still holds the data the list recorded ("#n#" for a number).
bool StillRecorded(const RegValue& value, const RegData& now);

class Removal {
 public:
  Removal(const UninList& list, const Places& places, std::string listPath, RemovalHost& host);
  // Files, shortcuts, the Start Menu folder, registry values and emptied keys,
  // the uninstall entry, the list itself, then the emptied destination folders.
  // The entry and the list go last so that a run cut short can be repeated.
  Outcome Run();

 private:
  void RemoveFiles();
  void RemoveShortcuts();
  void RemoveMenuFolder();
  void RemoveRegistry();
  void RemoveEntry();
  void RemoveListFile();
  void RemoveValue(const RegValue& v);
  // The folders the list's files lie in, up to the destination, deepest
  // first: the only ones the run may sweep.
  std::vector<std::string> UsedFolders() const;
  void RemoveFolders();
  // Only files and folders that go at the next start are left in `dir`.
  bool OnlyQueued(const std::string& dir);

  bool Shared(const std::string& path) const;
  bool WantShared(const std::string& path);
  void DeleteOne(const std::string& path);
  bool Queued(const std::string& path) const;
  void Step(const std::string& item);
  void Stay(const std::string& place);

  const UninList& list_;
  const Places& places_;
  std::string listPath_;
  RemovalHost& host_;
  Outcome outcome_;
  std::vector<std::string> queued_;
  int answerAll_ = 0;  // +1 Yes to All, -1 No to All
  int done_ = 0, total_ = 1;
};

// The closing message: removed, or what stayed and where, and whether a
// restart finishes the work.
std::string ClosingText(std::string_view programName, const Outcome& outcome);

}  // namespace qfunin
