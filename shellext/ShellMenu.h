// The context-menu handler object: IShellExtInit takes the one selected file,
// IContextMenu offers "Slice with Kerfwise" and starts the splitter on it.
#pragma once
#include <windows.h>
#include <shlobj.h>

namespace shellext {

class ShellMenu final : public IShellExtInit, public IContextMenu {
 public:
  ShellMenu();
  ShellMenu(const ShellMenu&) = delete;
  ShellMenu& operator=(const ShellMenu&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;
  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, CHAR* name,
                                UINT size) override;

 private:
  ~ShellMenu();
  LONG refs_ = 1;
  char file_[MAX_PATH] = "";  // the selected file's full path

 public:
  // Objects live on the process heap: no C++ library allocator in here.
  static void* operator new(size_t size) noexcept { return HeapAlloc(GetProcessHeap(), 0, size); }
  static void operator delete(void* p) noexcept { HeapFree(GetProcessHeap(), 0, p); }
};

extern const char kMenuText[];  // "Slice with Kerfwise"
extern const char kVerb[];      // "slice"

}  // namespace shellext
