#include "shellext/ShellMenu.h"

#include <shellapi.h>

#include "shellext/Launch.h"
#include "shellext/Module.h"

namespace shellext {

const char kMenuText[] = "Slice with Kerfwise";
const char kVerb[] = "slice";
static const char kHelpText[] = "Cuts the file into floppy-sized slices with Kerfwise.";

ShellMenu::ShellMenu() { shellext::AddRef(); }
ShellMenu::~ShellMenu() { shellext::Release(); }

STDMETHODIMP ShellMenu::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellExtInit))
    *out = static_cast<IShellExtInit*>(this);
  else if (IsEqualIID(riid, IID_IContextMenu))
    *out = static_cast<IContextMenu*>(this);
  else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ShellMenu::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) ShellMenu::Release() {
  LONG n = InterlockedDecrement(&refs_);
  if (n == 0) delete this;
  return n;
}

// Exactly one file: the splitter takes one path on its command line.
STDMETHODIMP ShellMenu::Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) {
  file_[0] = '\0';
  if (!data) return E_INVALIDARG;
  FORMATETC fmt = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&fmt, &medium))) return E_INVALIDARG;
  HRESULT hr = E_INVALIDARG;
  // The medium's memory handle is the drop handle itself.
  HDROP drop = static_cast<HDROP>(medium.hGlobal);
  if (medium.tymed == TYMED_HGLOBAL && drop && DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
    UINT len = DragQueryFileA(drop, 0, nullptr, 0);
    if (len > 0 && len < MAX_PATH && DragQueryFileA(drop, 0, file_, MAX_PATH) == len) hr = S_OK;
    else file_[0] = '\0';
  }
  ReleaseStgMedium(&medium);
  return hr;
}

STDMETHODIMP ShellMenu::QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) {
  if ((flags & CMF_DEFAULTONLY) || !file_[0] || first > last)
    return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
  if (!InsertMenuA(menu, index, MF_STRING | MF_BYPOSITION, first, kMenuText))
    return HRESULT_FROM_WIN32(GetLastError());
  return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);  // one command id used
}

STDMETHODIMP ShellMenu::InvokeCommand(CMINVOKECOMMANDINFO* info) {
  if (!info || info->cbSize < sizeof(CMINVOKECOMMANDINFO)) return E_INVALIDARG;
  // A verb string or a command offset: on 64-bit Windows a string may lie
  // where HIWORD of its address is 0, so test the whole pointer.
  if (!IS_INTRESOURCE(info->lpVerb)) {
    if (lstrcmpiA(info->lpVerb, kVerb) != 0) return E_INVALIDARG;
  } else if (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb)) != 0) {
    return E_INVALIDARG;
  }
  if (!file_[0]) return E_FAIL;
  return SliceWithKerfwise(info->hwnd, file_, (info->fMask & CMIC_MASK_FLAG_NO_UI) != 0);
}

STDMETHODIMP ShellMenu::GetCommandString(UINT_PTR command, UINT type, UINT*, CHAR* name, UINT size) {
  if (command != 0) return E_INVALIDARG;
  const char* text = nullptr;
  switch (type) {
    case GCS_VERBA: text = kVerb; break;
    case GCS_HELPTEXTA: text = kHelpText; break;
    case GCS_VALIDATEA: return S_OK;
    default: return E_NOTIMPL;  // ANSI only
  }
  if (!name || size == 0) return E_INVALIDARG;
  lstrcpynA(name, text, static_cast<int>(size));
  return S_OK;
}

}  // namespace shellext
