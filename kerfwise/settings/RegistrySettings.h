// The splitter's settings in HKEY_LOCAL_MACHINE\SOFTWARE\Quillfen\Kerfwise, all
// values REG_SZ.
#pragma once
#include <string>

#include "kerfwise/settings/SettingsModel.h"

namespace kerfwise {

extern const char kSettingsKey[];  // "SOFTWARE\Quillfen\Kerfwise"
// Our own value beside the settings: the full path of kerfwise.exe, written
// when the context-menu handler is registered, read by kerfwise.dll.
extern const char kProgramValue[];  // "program"

// The whole text of the value, up to its first NUL; empty on any failure.
// Read access only: a user without administrator rights may read the key.
std::string ReadSetting(const char* name);
// Stores the text whole, without a terminating NUL; false when refused.
bool WriteSetting(const char* name, const std::string& text);

class RegistrySettings : public SettingsStore {
 public:
  std::string Read(const char* name) override { return ReadSetting(name); }
  void Write(const char* name, const std::string& text) override {
    if (!WriteSetting(name, text)) refused_ = true;
  }
  // True the first time it is asked after a refused write: the window says
  // once that settings cannot be kept, not at every write.
  bool TakeRefusal() {
    bool say = refused_ && !told_;
    told_ = told_ || refused_;
    return say;
  }

 private:
  bool refused_ = false;
  bool told_ = false;
};

}  // namespace kerfwise
