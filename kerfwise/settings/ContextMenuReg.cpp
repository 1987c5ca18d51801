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
bool PutString(const std::string& keyPath, const char* name, const char* text) {
  RegKey key;
  if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.Out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>(lstrlenA(text) + 1)) == ERROR_SUCCESS;
}

// Not on Windows 95 or NT 4: looked up, and missing means 32-bit Windows.
// Only the NT family has WOW64 (a Windows 9x version, also one a
// compatibility layer reports, has none).
bool UnderWow64() {
  if (GetVersion() & 0x80000000) return false;
  using Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
  auto isWow64 = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  BOOL wow64 = FALSE;
  return isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
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

Registration RegisterHandler() {
  if (UnderWow64()) return Registration::Wow64;
  bool ok = PutString(kServerKey, nullptr, "kerfwise.dll") &&
            PutString(kServerKey, "ThreadingModel", "Apartment") &&
            PutString(std::string(kHandlersKey) + "\\" + kHandlerClsid, nullptr, "**");
  if (ok) return Registration::Done;
  RemoveHandler();  // half an entry would only confuse the shell
  return Registration::Refused;
}

void RemoveHandler() {
  RemoveBelow("CLSID");
  RemoveBelow(kHandlersKey);
}

}  // namespace kerfwise
