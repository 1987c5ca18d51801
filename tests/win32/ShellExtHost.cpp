// shellext_host DLL: loads the context-menu handler, makes one through its
// class factory, releases it and unloads the DLL (its static objects built
// and destroyed). Exit code 0 when every step worked.
#include <windows.h>
#include <shlobj.h>

int main(int argc, char** argv) {
  if (argc != 2) return 10;
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) return 1;
  auto getClass = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
  if (!getClass || !canUnload) return 2;
  const CLSID clsid = {0x3F322CCC, 0xFDCA, 0x11CF, {0xA7, 0x3C, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
  IClassFactory* factory = nullptr;
  if (FAILED(getClass(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)))) return 3;
  IContextMenu* menu = nullptr;
  HRESULT made = factory->CreateInstance(nullptr, IID_IContextMenu, reinterpret_cast<void**>(&menu));
  factory->Release();
  if (FAILED(made) || !menu) return 4;
  if (canUnload() == S_OK) return 5;  // an object is alive
  menu->Release();
  if (canUnload() != S_OK) return 6;
  return FreeLibrary(dll) ? 0 : 7;
}
