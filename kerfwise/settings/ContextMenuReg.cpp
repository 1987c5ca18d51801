#include "kerfwise/settings/ContextMenuReg.h"

#include <windows.h>

#include <string>

#include "toolkit/RegKey.h"

namespace kerfwise {

using kw::RegKey;

const char kHandlerClsid[] = "{3F322CCC-FDCA-11CF-A73C-444553540000}";

namespace {

const std::string kServerKey = std::string("CLSID\\") + kHandlerClsid + "\\InProcServer32";
const char kHandlersKey[] = "*\\shellex\\ContextMenuHandlers";

// Each entry opens its own key, creating what is missing.
void PutString(const std::string& keyPath, const char* name, const char* text) {
  RegKey key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.Out(), nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(lstrlenA(text) + 1));
}

// Windows NT's RegDeleteKey refuses keys with subkeys: delete depth first.
void DeleteTree(HKEY parent, const char* name) {
  {
    RegKey key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, key.Out()) != ERROR_SUCCESS) return;
    char sub[MAX_PATH];
    // Always take index 0: deleting shifts the rest down.
    while (RegEnumKeyA(key, 0, sub, sizeof sub) == ERROR_SUCCESS) {
      DWORD before = 0, after = 0;
      RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &before, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr);
      DeleteTree(key, sub);
      RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &after, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr);
      if (after >= before) return;  // a subkey that will not go: stop, do not spin
    }
  }
  RegDeleteKeyA(parent, name);
}

void RemoveBelow(const char* parentPath) {
  RegKey parent;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, parentPath, 0, KEY_ALL_ACCESS, parent.Out()) != ERROR_SUCCESS)
    return;
  DeleteTree(parent, kHandlerClsid);
}

}  // namespace

void RegisterHandler() {
  PutString(kServerKey, nullptr, "kerfwise.dll");
  PutString(kServerKey, "ThreadingModel", "Apartment");
  PutString(std::string(kHandlersKey) + "\\" + kHandlerClsid, nullptr, "**");
}

void RemoveHandler() {
  RemoveBelow("CLSID");
  RemoveBelow(kHandlersKey);
}

}  // namespace kerfwise
