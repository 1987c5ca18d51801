// Which window states the splitter keeps between runs, in which order they are
// read at start-up and written at close, and how their texts look. No Windows
// API: the registry store and the main window plug in through the two
// interfaces below, so the order and the rules are tested natively.
#pragma once
#include <string>
#include <vector>

namespace kerfwise {

// The stored values: a text per name. RegistrySettings.h has the real one.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The empty text when the value cannot be read.
  virtual std::string Read(const char* name) = 0;
  // Failures are silent.
  virtual void Write(const char* name, const std::string& text) = 0;
};

// The main window's side: the controls the settings fill and read.
class SettingsTarget {
 public:
  virtual ~SettingsTarget() = default;
  virtual void SetHelpFolder(const std::string& folder) = 0;
  // Clears the right-click box; its change handler runs as for a user's click.
  virtual void ClearRightClick() = 0;
  // Enters the working folder; throws the run-time's I/O error when it cannot.
  virtual void ChangeFolder(const std::string& folder) = 0;
  // The stored working folder could not be entered: show the error and stay
  // in (or fall back to) a folder that exists. The start-up goes on, and the
  // close stores the folder in use, so the next start shows no error.
  virtual void FolderRefused(const std::string& message) = 0;
  virtual std::string WorkingFolder() = 0;
  // 1, 2, 3: "Current Directory", "Floppy Disk", "Sliced Path".
  virtual void SelectDestination(int option) = 0;
  virtual int SelectedDestination() = 0;
  virtual void SetDriveText(const std::string& text) = 0;
  virtual std::string DriveText() = 0;
  virtual void SetSlicePath(const std::string& text) = 0;
  virtual std::string SlicePath() = 0;
  virtual void SetDeleteSource(bool on) = 0;
  virtual bool DeleteSource() = 0;
  virtual void SetDeleteAfterJoin(bool on) = 0;
  virtual bool DeleteAfterJoin() = 0;
  virtual void SetSizeText(const std::string& text) = 0;
  virtual std::string SizeText() = 0;
};

// Exact, case-sensitive: only "true" is true.
inline bool IsTrue(const std::string& text) { return text == "true"; }
inline const char* BoolText(bool on) { return on ? "true" : "false"; }

const std::vector<const char*>& ReadOrder();
const std::vector<const char*>& WriteOrder();

// One program run's use of the settings: Load at the first activation, Save
// at close. When Load is cut short by an error, the values it never applied
// are kept in the store at close unless the user changed the control since:
// the window defaults must not overwrite them.
class SettingsSession {
 public:
  // Applies every value in read order. An exception from the target (other
  // than a refused working folder) ends the load and is passed on after the
  // window's state is noted.
  void Load(SettingsStore& store, SettingsTarget& target, const std::string& windowsFolder);
  void Save(SettingsStore& store, SettingsTarget& target) const;
  // The texts Save would write for the window as it is, in write order.
  static std::vector<std::string> Collect(SettingsTarget& target);

 private:
  bool loaded_ = false;        // Load ran
  size_t applied_ = 0;         // values of ReadOrder applied
  std::vector<std::string> atLoad_;  // Collect() when Load ended
};

}  // namespace kerfwise
