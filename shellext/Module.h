// What the library's parts share: its module handle, the count of live objects
// and server locks that DllCanUnloadNow looks at, and the class identifier.
#pragma once
#include <windows.h>

namespace shellext {

extern HINSTANCE g_module;
void AddRef();   // one more object or lock
void Release();  // one less
LONG Count();

// {3F322CCC-FDCA-11CF-A73C-444553540000}
extern const CLSID kClsid;

}  // namespace shellext
