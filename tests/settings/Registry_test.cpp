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

}  // namespace

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
