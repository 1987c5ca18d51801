#include "kerfwise/settings/RegistrySettings.h"

#include <windows.h>

#include <vector>

#include "toolkit/RegKey.h"

namespace kerfwise {

using kw::RegKey;

const char kSettingsKey[] = "SOFTWARE\\Quillfen\\Kerfwise";
const char kProgramValue[] = "program";

std::string ReadSetting(const char* name) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, key.Out()) != ERROR_SUCCESS)
    return "";
  // Ask the size first: a value of any length comes back whole.
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return "";
  if (size > data.size() - 1) size = static_cast<DWORD>(data.size() - 1);
  std::string text(data.data(), size);
  return text.substr(0, text.find('\0'));
}

bool WriteSetting(const char* name, const std::string& text) {
  RegKey key;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kSettingsKey, key.Out()) != ERROR_SUCCESS) return false;
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                        static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

}  // namespace kerfwise
