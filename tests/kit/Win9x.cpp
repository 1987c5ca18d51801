// The 32-bit roads: the programs told their Windows version, where their
// registry writes land, and dist\win32 without a C runtime DLL.
#include "tests/kit/Internal.h"

#include <cstring>

namespace uikit {

namespace {

std::string EnvOr(const char* name) {
  char buf[64];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : "";
}

// Wine cannot take MSVCRT.DLL from one program alone: its own USER32, ADVAPI32
// and OLE32 import it too. So the copy renames the import instead, in every
// module that has one, and the loader finds no such DLL for it, as on a
// Windows 95 that never had one. Same length, so nothing else moves.
void TakeCrtAway(std::string& image) {
  auto at = [&](size_t off, size_t size) {
    if (off > image.size() || size > image.size() - off) throw Failure("damaged image");
    return image.data() + off;
  };
  auto u16 = [&](size_t off) { return *reinterpret_cast<const WORD*>(at(off, 2)); };
  auto u32 = [&](size_t off) { return *reinterpret_cast<const DWORD*>(at(off, 4)); };
  if (image.size() < 0x40 || u16(0) != IMAGE_DOS_SIGNATURE) return;
  size_t nt = u32(0x3C);
  if (u32(nt) != IMAGE_NT_SIGNATURE) return;
  size_t opt = nt + 24, sections = opt + u16(nt + 20);
  size_t dirs = opt + (u16(opt) == IMAGE_NT_OPTIONAL_HDR64_MAGIC ? 112 : 96);
  DWORD imports = u32(dirs + 8 * IMAGE_DIRECTORY_ENTRY_IMPORT);
  auto file = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < u16(nt + 6); ++i) {
      size_t s = sections + 40 * i;
      DWORD va = u32(s + 12), size = u32(s + 16), raw = u32(s + 20);
      if (rva >= va && rva < va + size) return raw + (rva - va);
    }
    throw Failure("import outside every section");
  };
  for (size_t d = imports ? file(imports) : 0; imports && u32(d + 12); d += 20) {
    char* name = at(file(u32(d + 12)), 11);
    if (lstrcmpiA(name, "msvcrt.dll") == 0 || lstrcmpiA(name, "crtdll.dll") == 0) std::memcpy(name, "NO-CRT.DLL", 10);
  }
}

void PutText(const std::string& key, const char* name, const std::string& text) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    throw Failure("cannot write HKCU\\" + key);
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
  RegCloseKey(k);
}

}  // namespace

bool Road95() { return !EnvOr("KW_WINVER").empty(); }

REGSAM ProgramView() { return Road95() ? KEY_WOW64_32KEY : 0; }

std::string RegText(HKEY root, const std::string& key, const std::string& name) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | (root == HKEY_LOCAL_MACHINE ? ProgramView() : 0), &k) !=
      ERROR_SUCCESS)
    return "<missing>";
  char buf[1024];
  DWORD type = 0, size = sizeof buf - 1;
  LSTATUS rc = RegQueryValueExA(k, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) return "<missing>";
  if (type == REG_DWORD && size == 4) return std::to_string(*reinterpret_cast<DWORD*>(buf));
  if (type != REG_SZ && type != REG_EXPAND_SZ) return "<missing>";
  buf[size] = '\0';
  return buf;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY k;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | (root == HKEY_LOCAL_MACHINE ? ProgramView() : 0), &k) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(k);
  return true;
}

std::string WindowsFolder() {
  char buf[MAX_PATH];
  UINT n = GetWindowsDirectoryA(buf, MAX_PATH);
  return std::string(buf, n < MAX_PATH ? n : 0);
}

void AsWindows9x(const std::string& exeName) {
  std::string version = EnvOr("KW_WINVER");
  if (!version.empty()) PutText("Software\\Wine\\AppDefaults\\" + exeName, "Version", version);
}

std::string DistDir() {
  static std::string dir;
  if (!dir.empty()) return dir;
  dir = Env("KW_DIST");
  if (!Road95() || EnvOr("KW_MSVCRT") != "disabled") return dir;
  std::string copy = Join(BinDir(), "dist-win32-no-crt");
  EmptyFolder(copy);
  for (const std::string& name : ListFolder(dir)) {
    std::string image = ReadFileBytes(Join(dir, name));
    TakeCrtAway(image);
    WriteFileBytes(Join(copy, name), image);
  }
  return dir = copy;
}

}  // namespace uikit
