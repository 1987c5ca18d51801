// kerfwise.dll as the shell uses it: created through COM from its registration,
// initialised with a data object holding one file, asked for its menu and told
// to run its entry. A probe program stands in for kerfwise.exe.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "kerfwise/settings/ContextMenuReg.h"
#include "kerfwise/settings/RegistrySettings.h"
#include "tests/shellext/DropData.h"

namespace {

const CLSID kClsid = {0x3F322CCC, 0xFDCA, 0x11CF, {0xA7, 0x3C, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

std::string Env(const char* name) {
  char buf[MAX_PATH];
  DWORD n = GetEnvironmentVariableA(name, buf, sizeof buf);
  return n && n < sizeof buf ? std::string(buf, n) : "";
}

std::string Exe() {
  char buf[MAX_PATH];
  GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string s = buf;
  return s.substr(0, s.rfind('\\') + 1);
}

std::string ReadAll(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return "";
  std::string s;
  char buf[512];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

void WriteAll(const std::string& path, const std::string& text) {
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

class ShellExt : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    kerfwise::RegisterHandler();
    // The handler is registered by file name only: the library search finds
    // it in the current folder, the delivered one.
    ASSERT_TRUE(SetCurrentDirectoryA(Env("KW_DIST").c_str()));
    char tmp[MAX_PATH];
    GetTempPathA(sizeof tmp, tmp);
    work_ = std::string(tmp) + "shellext" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(work_.c_str(), nullptr);
    SetEnvironmentVariableA("KW_PROBE_OUT", work_.c_str());
    kerfwise::WriteSetting(kerfwise::kProgramValue, Exe() + "shellext_probe.exe");
    file_ = work_ + "\\My  Report.doc";
    WriteAll(file_, "content");
    DeleteFileA((work_ + "\\probe.txt").c_str());
  }
  void TearDown() override {
    DeleteFileA(file_.c_str());
    DeleteFileA((work_ + "\\probe.txt").c_str());
    RemoveDirectoryA(work_.c_str());
    kerfwise::RemoveHandler();
    CoUninitialize();
  }
  // A handler initialised with these files, or null.
  IContextMenu* Menu(const std::vector<std::string>& files, HRESULT* init = nullptr) {
    IShellExtInit* ext = nullptr;
    HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                  reinterpret_cast<void**>(&ext));
    EXPECT_EQ(hr, S_OK);
    if (FAILED(hr)) return nullptr;
    DropData data(files);
    HRESULT ir = ext->Initialize(nullptr, &data, nullptr);
    if (init) *init = ir;
    EXPECT_EQ(data.refs, 1) << "no reference to the data object kept";
    IContextMenu* menu = nullptr;
    EXPECT_EQ(ext->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
    EXPECT_EQ(ext->Release(), 1u);
    return menu;
  }
  std::string WaitProbe() {
    for (int i = 0; i < 100; ++i) {
      std::string s = ReadAll(work_ + "\\probe.txt");
      if (!s.empty()) return s;
      Sleep(100);
    }
    return "";
  }
  HRESULT Invoke(IContextMenu* menu, LPCSTR verb, DWORD mask = 0) {
    CMINVOKECOMMANDINFO ci{};
    ci.cbSize = sizeof ci;
    ci.fMask = mask;
    ci.lpVerb = verb;
    ci.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&ci);
  }
  std::string work_, file_;
};

}  // namespace

TEST_F(ShellExt, OneFileGetsTheEntryAndStartsTheProgramOnIt) {
  IContextMenu* menu = Menu({file_});
  ASSERT_NE(menu, nullptr);
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 1, "Open");
  HRESULT hr = menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL);
  EXPECT_EQ(hr, MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1));
  char text[64] = "";
  GetMenuStringA(popup, 100, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Slice with Kerfwise");
  EXPECT_EQ(GetMenuItemID(popup, 0), 100u) << "inserted where asked";
  EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_DEFAULTONLY),
            MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
  DestroyMenu(popup);

  char verb[32] = "";
  EXPECT_EQ(menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb), S_OK);
  EXPECT_STREQ(verb, "slice");
  EXPECT_EQ(menu->GetCommandString(1, GCS_VERBA, nullptr, verb, sizeof verb), E_INVALIDARG);

  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(1)), E_INVALIDARG) << "not our command";
  EXPECT_EQ(Invoke(menu, "open"), E_INVALIDARG);
  // A verb string above 4 GB whose address has 0 in bits 16 to 31 is still a
  // string, not command 0.
  for (ULONG_PTR at = ULONG_PTR(1) << 32; at < ULONG_PTR(64) << 32; at += ULONG_PTR(1) << 32) {
    auto* high = static_cast<char*>(VirtualAlloc(reinterpret_cast<void*>(at), 4096,
                                                 MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!high) continue;
    lstrcpyA(high, "open");
    EXPECT_EQ(Invoke(menu, high), E_INVALIDARG);
    VirtualFree(high, 0, MEM_RELEASE);
    break;
  }
  EXPECT_EQ(ReadAll(work_ + "\\probe.txt"), "");
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), S_OK);
  std::string line = WaitProbe();
  EXPECT_NE(line.find("\"" + file_ + "\""), std::string::npos) << line;

  DeleteFileA((work_ + "\\probe.txt").c_str());
  EXPECT_EQ(Invoke(menu, "slice"), S_OK) << "the ANSI verb works too";
  EXPECT_NE(WaitProbe().find(file_), std::string::npos);

  HMODULE dll = GetModuleHandleA("kerfwise.dll");
  ASSERT_NE(dll, nullptr);
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  ASSERT_NE(canUnload, nullptr);
  EXPECT_EQ(canUnload(), S_FALSE) << "an object lives";
  EXPECT_EQ(menu->Release(), 0u);
  EXPECT_EQ(canUnload(), S_OK);
}

TEST_F(ShellExt, SeveralFilesOrNoneGetNoEntry) {
  HRESULT init = S_OK;
  IContextMenu* menu = Menu({file_, file_ + "2"}, &init);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(init, E_INVALIDARG);
  HMENU popup = CreatePopupMenu();
  EXPECT_EQ(menu->QueryContextMenu(popup, 0, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0));
  EXPECT_EQ(GetMenuItemCount(popup), 0);
  DestroyMenu(popup);
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0), CMIC_MASK_FLAG_NO_UI), E_FAIL);
  menu->Release();
}

TEST_F(ShellExt, GoneFileOrMissingProgramIsReportedNotStarted) {
  IContextMenu* menu = Menu({file_});
  ASSERT_NE(menu, nullptr);
  DeleteFileA(file_.c_str());
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0), CMIC_MASK_FLAG_NO_UI), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));

  // With UI: a message box, closed here by another thread.
  std::string boxText;
  std::thread closer([&] {
    for (int i = 0; i < 100; ++i) {
      HWND box = FindWindowA("#32770", "Kerfwise");
      if (box) {
        char t[512] = "";
        GetDlgItemTextA(box, 0xFFFF, t, sizeof t);
        boxText = t;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(100);
    }
  });
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  closer.join();
  EXPECT_NE(boxText.find("no longer exists"), std::string::npos) << boxText;
  menu->Release();

  // A stored program that is gone and none beside the library: refused. The
  // delivered folder holds the program, so a copy of the library alone.
  WriteAll(file_, "content");
  kerfwise::WriteSetting(kerfwise::kProgramValue, work_ + "\\gone.exe");
  const std::string lone = work_ + "\\lone";
  CreateDirectoryA(lone.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((Env("KW_DIST") + "\\kerfwise.dll").c_str(), (lone + "\\kwlone.dll").c_str(), FALSE));
  HMODULE lib = LoadLibraryA((lone + "\\kwlone.dll").c_str());
  ASSERT_NE(lib, nullptr);
  auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(reinterpret_cast<void*>(GetProcAddress(lib, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  ASSERT_EQ(get(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IShellExtInit* ext = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&ext)), S_OK);
  factory->Release();
  DropData data({file_});
  EXPECT_EQ(ext->Initialize(nullptr, &data, nullptr), S_OK);
  menu = nullptr;
  ASSERT_EQ(ext->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
  ext->Release();
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0), CMIC_MASK_FLAG_NO_UI), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  menu->Release();
  FreeLibrary(lib);
  DeleteFileA((lone + "\\kwlone.dll").c_str());
  RemoveDirectoryA(lone.c_str());
}

TEST_F(ShellExt, FallsBackToTheProgramBesideTheLibrary) {
  // A private copy of the library with the probe as its kerfwise.exe.
  std::string dir = work_ + "\\lib";
  CreateDirectoryA(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA((Env("KW_DIST") + "\\kerfwise.dll").c_str(), (dir + "\\kwcopy.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA((Exe() + "shellext_probe.exe").c_str(), (dir + "\\kerfwise.exe").c_str(), FALSE));
  kerfwise::WriteSetting(kerfwise::kProgramValue, "");
  HMODULE lib = LoadLibraryA((dir + "\\kwcopy.dll").c_str());
  ASSERT_NE(lib, nullptr);
  auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(reinterpret_cast<void*>(GetProcAddress(lib, "DllGetClassObject")));
  ASSERT_NE(get, nullptr);
  IClassFactory* factory = nullptr;
  EXPECT_EQ(get(IID_IContextMenu, IID_IClassFactory, reinterpret_cast<void**>(&factory)), CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(get(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IUnknown* outer = reinterpret_cast<IUnknown*>(factory);
  void* obj = nullptr;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &obj), CLASS_E_NOAGGREGATION);
  IShellExtInit* ext = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IShellExtInit, reinterpret_cast<void**>(&ext)), S_OK);
  factory->Release();
  DropData data({file_});
  EXPECT_EQ(ext->Initialize(nullptr, &data, nullptr), S_OK);
  IContextMenu* menu = nullptr;
  ASSERT_EQ(ext->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)), S_OK);
  ext->Release();
  EXPECT_EQ(Invoke(menu, MAKEINTRESOURCEA(0)), S_OK);
  EXPECT_NE(WaitProbe().find(file_), std::string::npos);
  menu->Release();
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(lib, "DllCanUnloadNow")));
  EXPECT_EQ(canUnload(), S_OK);
  FreeLibrary(lib);
  DeleteFileA((dir + "\\kwcopy.dll").c_str());
  DeleteFileA((dir + "\\kerfwise.exe").c_str());
  RemoveDirectoryA(dir.c_str());
}
