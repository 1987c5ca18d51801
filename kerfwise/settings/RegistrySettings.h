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
std::string ReadSetting(const char* name);
// Stores the text whole, without a terminating NUL; failures are silent.
void WriteSetting(const char* name, const std::string& text);

class RegistrySettings : public SettingsStore {
 public:
  std::string Read(const char* name) override { return ReadSetting(name); }
  void Write(const char* name, const std::string& text) override { WriteSetting(name, text); }
};

}  // namespace kerfwise
