// The settings and the context-menu entries in the real registry under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "kerfwise/settings/ContextMenuReg.h"
#include "kerfwise/settings/RegistrySettings.h"

using namespace kerfwise;

namespace {

const std::string kClsidKey = std::string("CLSID\\") + kHandlerClsid;
const std::string kServerKey = kClsidKey + "\\InProcServer32";
const std::string kHandlerKey = std::string("*\\shellex\\ContextMenuHandlers\\") + kHandlerClsid;

bool KeyExists(HKEY root, const std::string& path) {
  HKEY k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// The value's type and raw data; type 0 when missing.
std::pair<DWORD, std::string> RawValue(HKEY root, const std::string& path, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return {0, ""};
  char buf[1024];
  DWORD type = 0, size = sizeof buf;
  LONG rc = RegQueryValueExA(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) return {0, ""};
  std::string s(buf, size);
  return {type, s.substr(0, s.find('\0'))};
}

DWORD ValueCount(HKEY root, const std::string& path) {
  HKEY k;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  DWORD n = 0;
  RegQueryInfoKeyA(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr,
                   nullptr, nullptr);
  RegCloseKey(k);
  return n;
}

void DeleteSettingsKey() {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSettingsKey);
}

// A user without administrator rights on Windows NT: HKEY_LOCAL_MACHINE and
// HKEY_CLASSES_ROOT open for reading only. Wine grants everything, so this
// program's own imports of the registry calls are bent while it lives.
using OpenFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
using CreateFn = LONG(WINAPI*)(HKEY, LPCSTR, PHKEY);
using CreateExFn = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                                 PHKEY, LPDWORD);
OpenFn g_open;
CreateFn g_create;
CreateExFn g_createEx;
const char* g_refusedBelow = "";  // only paths starting with this are refused

bool Refused(HKEY root, LPCSTR path) {
  if (root != HKEY_LOCAL_MACHINE && root != HKEY_CLASSES_ROOT) return false;
  std::string p = path ? path : "";
  return p.compare(0, lstrlenA(g_refusedBelow), g_refusedBelow) == 0;
}

LONG WINAPI OpenAsUser(HKEY root, LPCSTR path, DWORD options, REGSAM sam, PHKEY out) {
  if ((sam & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) && Refused(root, path)) return ERROR_ACCESS_DENIED;
  return g_open(root, path, options, sam, out);
}
LONG WINAPI CreateAsUser(HKEY root, LPCSTR path, PHKEY out) {
  return Refused(root, path) ? ERROR_ACCESS_DENIED : g_create(root, path, out);
}
LONG WINAPI CreateExAsUser(HKEY root, LPCSTR path, DWORD r, LPSTR c, DWORD o, REGSAM sam,
                           LPSECURITY_ATTRIBUTES sa, PHKEY out, LPDWORD d) {
  return Refused(root, path) ? ERROR_ACCESS_DENIED : g_createEx(root, path, r, c, o, sam, sa, out, d);
}

// Swaps this program's import slot of ADVAPI32!name; returns what was there.
void* PatchImport(const char* name, void* hook) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + imp->Name), "ADVAPI32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char*>(byName->Name), name) != 0) continue;
      DWORD was;
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &was);
      void* old = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
      VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, was, &was);
      return old;
    }
  }
  return nullptr;
}

template <class F>
F Patch(const char* name, F hook) {
  return reinterpret_cast<F>(PatchImport(name, reinterpret_cast<void*>(hook)));
}

struct AsUser {
  explicit AsUser(const char* refusedBelow = "") {
    g_refusedBelow = refusedBelow;
    g_open = Patch("RegOpenKeyExA", &OpenAsUser);
    g_create = Patch("RegCreateKeyA", &CreateAsUser);
    g_createEx = Patch("RegCreateKeyExA", &CreateExAsUser);
  }
  ~AsUser() {
    Patch("RegOpenKeyExA", g_open);
    Patch("RegCreateKeyA", g_create);
    Patch("RegCreateKeyExA", g_createEx);
  }
};

}  // namespace

TEST(RegistrySettings, UserWithoutRightsReadsThemAndIsToldOnceTheyCannotBeSaved) {
  DeleteSettingsKey();
  WriteSetting("format", "0.75");
  RegistrySettings store;
  {
    AsUser user;
    ASSERT_TRUE(g_open && g_create && g_createEx) << "imports found";
    EXPECT_EQ(ReadSetting("format"), "0.75");
    EXPECT_EQ(store.Read("format"), "0.75");
    EXPECT_FALSE(store.TakeRefusal()) << "nothing written yet";
    store.Write("format", "1.44");
    store.Write("cdir", "true");
    EXPECT_TRUE(store.TakeRefusal());
    store.Write("fdir", "true");
    EXPECT_FALSE(store.TakeRefusal()) << "said once";
  }
  EXPECT_EQ(ReadSetting("format"), "0.75");
  RegistrySettings admin;
  admin.Write("format", "1.44");
  EXPECT_FALSE(admin.TakeRefusal());
  DeleteSettingsKey();
}

TEST(ContextMenuReg, RefusedRegistrationSaysSoAndLeavesNothingBehind) {
  RemoveHandler();
  {
    AsUser user;
    EXPECT_EQ(RegisterHandler(), Registration::Refused);
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));
  {
    AsUser user("*");  // the class entries go in, the handler entry is refused
    EXPECT_EQ(RegisterHandler(), Registration::Refused);
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey)) << "the half registration was taken back";
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
  EXPECT_EQ(RegisterHandler(), Registration::Done) << "64-bit program: no WOW64";
  RemoveHandler();
}

TEST(RegistrySettings, MissingKeyAndValuesReadEmpty) {
  DeleteSettingsKey();
  EXPECT_EQ(ReadSetting("path"), "");
  WriteSetting("format", "1.44");
  EXPECT_EQ(ReadSetting("path"), "");
  EXPECT_EQ(ReadSetting("format"), "1.44");
  DeleteSettingsKey();
}

TEST(RegistrySettings, TextsRoundTripWholeAsStrings) {
  DeleteSettingsKey();
  WriteSetting("delfile", "true");
  WriteSetting("tdirp", "");
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSettingsKey, "delfile"),
            (std::pair<DWORD, std::string>{REG_SZ, "true"}));
  EXPECT_EQ(ReadSetting("tdirp"), "");
  EXPECT_EQ(RawValue(HKEY_LOCAL_MACHINE, kSettingsKey, "tdirp").first, DWORD(REG_SZ));

  // Paths longer than 255 characters come back whole, not cut.
  for (size_t len : {255u, 256u, 300u, 700u}) {
    std::string path = "C:\\";
    while (path.size() < len) path += "Long Folder Name\\";
    path.resize(len);
    WriteSetting("path", path);
    EXPECT_EQ(ReadSetting("path"), path) << len;
  }
  WriteSetting("path", "C:\\A");
  EXPECT_EQ(ReadSetting("path"), "C:\\A") << "a shorter text replaces a longer one";
  DeleteSettingsKey();
}

TEST(RegistrySettings, StoreAdapterReadsWhatWasWritten) {
  DeleteSettingsKey();
  RegistrySettings store;
  store.Write("fdirp", "B:");
  EXPECT_EQ(store.Read("fdirp"), "B:");
  EXPECT_EQ(store.Read("version"), "");
  DeleteSettingsKey();
}

TEST(ContextMenuReg, RegisterWritesExactlyTheThreeEntries) {
  RemoveHandler();
  RemoveHandler();  // nothing there: no harm
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));

  for (int round = 0; round < 2; ++round) {  // ticking again gives the same entries
    RegisterHandler();
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, kServerKey, nullptr),
              (std::pair<DWORD, std::string>{REG_SZ, "kerfwise.dll"}));
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, kServerKey, "ThreadingModel"),
              (std::pair<DWORD, std::string>{REG_SZ, "Apartment"}));
    EXPECT_EQ(ValueCount(HKEY_CLASSES_ROOT, kServerKey), 2u);
    EXPECT_EQ(RawValue(HKEY_CLASSES_ROOT, kHandlerKey, nullptr),
              (std::pair<DWORD, std::string>{REG_SZ, "**"}));
    EXPECT_EQ(ValueCount(HKEY_CLASSES_ROOT, kHandlerKey), 1u);
    EXPECT_EQ(ValueCount(HKEY_CLASSES_ROOT, kClsidKey), 0u) << "the class key has no value";
    RemoveHandler();
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kHandlerKey));
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "*\\shellex\\ContextMenuHandlers")) << "parents stay";
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID"));
}

TEST(ContextMenuReg, RemoveDeletesDeepSubkeysTooAndLeavesNeighbours) {
  RegisterHandler();
  HKEY k;
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, (kClsidKey + "\\Extra\\Deeper\\Deepest").c_str(), &k),
            ERROR_SUCCESS);
  RegCloseKey(k);
  ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "CLSID\\{3F322CCC-FDCA-11CF-A73C-444553540001}", &k),
            ERROR_SUCCESS);
  RegCloseKey(k);
  RemoveHandler();
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidKey));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "CLSID\\{3F322CCC-FDCA-11CF-A73C-444553540001}"));
  RegDeleteKeyA(HKEY_CLASSES_ROOT, "CLSID\\{3F322CCC-FDCA-11CF-A73C-444553540001}");
}
