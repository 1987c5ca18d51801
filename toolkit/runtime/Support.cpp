// What the compiler's support libraries (libstdc++, libgcc's unwinder and
// thread hooks) ask of a C runtime.
#include <windows.h>

extern "C" {

void abort() { ExitProcess(3); }

// The library reaches errno through an import pointer, as if from a DLL.
static int errorNumber;
static int* ErrnoAddress() { return &errorNumber; }
int* (*ImpErrno)() __asm__("__imp___errno") = &ErrnoAddress;

// Tells libgcc's thread hooks that threads may run: they lock.
int _CRT_MT = 2;

// Per-thread key destructors: left undone; a thread that threw leaks its
// few bytes of exception state.
int __mingwthr_key_dtor(unsigned long, void (*)(void*)) { return 0; }

// Nothing to relocate: the programs link with auto-import off.
void _pei386_runtime_relocator() {}

}  // extern "C"
