// The library's entry points: the class factory for our one class, and the
// unload check. Built without exceptions: nothing can throw out of them.
#include <windows.h>
#include <shlobj.h>

#include "shellext/Module.h"
#include "shellext/ShellMenu.h"

namespace shellext {

HINSTANCE g_module = nullptr;
static LONG g_count = 0;
void AddRef() { InterlockedIncrement(&g_count); }
void Release() { InterlockedDecrement(&g_count); }
LONG Count() { return g_count; }

const CLSID kClsid = {0x3F322CCC, 0xFDCA, 0x11CF, {0xA7, 0x3C, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

namespace {

// Static: lives as long as the library; only locks and objects count.
class Factory : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *out = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    shellext::AddRef();
    return 2;
  }
  STDMETHODIMP_(ULONG) Release() override {
    shellext::Release();
    return 1;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ShellMenu* menu = new ShellMenu;
    if (!menu) return E_OUTOFMEMORY;
    HRESULT hr = menu->QueryInterface(riid, out);
    menu->Release();  // the caller's reference, if any, keeps it
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock) shellext::AddRef();
    else shellext::Release();
    return S_OK;
  }
};

Factory g_factory;

}  // namespace
}  // namespace shellext

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    shellext::g_module = module;
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, shellext::kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  return shellext::g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return shellext::Count() == 0 ? S_OK : S_FALSE; }
