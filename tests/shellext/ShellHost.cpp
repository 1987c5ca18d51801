// shellhost REPORT FILE...: kerfwise.dll as the shell uses it, from a 32-bit
// process (the 32-bit build has no GoogleTest): made through COM from its
// registration, initialised with the files, asked for its menu, and its entry
// invoked when it added one. What it saw goes to REPORT, one line each:
// "init <hr>", "entries <n>", then "entry <text>", "verb <verb>", "invoke <hr>".
#include <windows.h>
#include <shlobj.h>

#include <cstdio>

#include "tests/shellext/DropData.h"

namespace {

const CLSID kClsid = {0x3F322CCC, 0xFDCA, 0x11CF, {0xA7, 0x3C, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

int Run(int argc, char** argv, std::FILE* out) {
  IShellExtInit* ext = nullptr;
  HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit,
                                reinterpret_cast<void**>(&ext));
  if (FAILED(hr)) {
    std::fprintf(out, "create %08lx\r\n", hr);
    return 2;
  }
  DropData data(std::vector<std::string>(argv + 2, argv + argc));
  std::fprintf(out, "init %08lx\r\n", ext->Initialize(nullptr, &data, nullptr));
  IContextMenu* menu = nullptr;
  hr = ext->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu));
  ext->Release();
  if (FAILED(hr)) return 3;
  HMENU popup = CreatePopupMenu();
  int added = HRESULT_CODE(menu->QueryContextMenu(popup, 0, 1, 100, CMF_NORMAL));
  std::fprintf(out, "entries %d\r\n", added);
  if (added == 1) {
    char text[64] = "", verb[32] = "";
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYCOMMAND);
    menu->GetCommandString(0, GCS_VERBA, nullptr, verb, sizeof verb);
    std::fprintf(out, "entry %s\r\nverb %s\r\n", text, verb);
    CMINVOKECOMMANDINFO ci{};
    ci.cbSize = sizeof ci;
    ci.lpVerb = MAKEINTRESOURCEA(0);
    ci.nShow = SW_SHOWNORMAL;
    std::fprintf(out, "invoke %08lx\r\n", menu->InvokeCommand(&ci));
  }
  DestroyMenu(popup);
  return menu->Release() == 0 ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) return 1;
  CoInitialize(nullptr);
  int rc = Run(argc, argv, out);
  CoUninitialize();
  std::fclose(out);
  return rc;
}
