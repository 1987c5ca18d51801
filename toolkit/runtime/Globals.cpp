// The C++ library's per-thread exception state (the caught-exception stack
// and the count of exceptions in flight), kept in a Win32 TLS slot in place
// of the library's own, which brings the compiler's emulated TLS with it.
#include <windows.h>

namespace {

DWORD slot = TLS_OUT_OF_INDEXES;

void FreeSlot() { TlsFree(slot); }

// Before any of the program's constructors, which may throw.
__attribute__((constructor(101))) void AllocateSlot() {
  slot = TlsAlloc();
  if (slot == TLS_OUT_OF_INDEXES) ExitProcess(255);
  atexit(FreeSlot);
}

}  // namespace

extern "C" {

// Room for the library's record: the caught-exception list and a count.
void* __cxa_get_globals() {
  void* state = TlsGetValue(slot);
  if (!state) {
    state = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 16);
    if (!state) ExitProcess(255);
    TlsSetValue(slot, state);
  }
  return state;
}

void* __cxa_get_globals_fast() { return __cxa_get_globals(); }

}  // extern "C"
