// Start and end of the shipped 32-bit programs and DLLs, which link no C
// runtime DLL (a bare Windows 95 has none): static construction, atexit, exit.
// The entries themselves live in files of their own, so that a program links
// only its own kind.
#include <windows.h>

#include "toolkit/runtime/Runtime.h"

extern "C" {
typedef void (*Routine)();
// Laid out by the linker: -1, the constructors (destructors), 0.
extern Routine __CTOR_LIST__[];
extern Routine __DTOR_LIST__[];
}

namespace {

struct ExitNode {
  Routine routine;
  ExitNode* next;
};
ExitNode* exitList;

}  // namespace

extern "C" {

// One list per module: each links its own copy of this runtime, so a DLL's
// static objects are destroyed when it is unloaded.
int atexit(Routine routine) {
  auto* node = static_cast<ExitNode*>(HeapAlloc(GetProcessHeap(), 0, sizeof(ExitNode)));
  if (!node) return -1;
  node->routine = routine;
  node->next = exitList;
  exitList = node;
  return 0;
}

void exit(int code) {
  kwrt::RunExitList();
  ExitProcess(code);
}

void _exit(int code) { ExitProcess(code); }

// Called at the top of main() by older compilers' convention; the
// constructors have already run.
void __main() {}

}  // extern "C"

namespace kwrt {

void RunExitList() {
  while (ExitNode* node = exitList) {
    exitList = node->next;
    node->routine();
    HeapFree(GetProcessHeap(), 0, node);
  }
}

// Functions marked as destructors, first entry first; registered before any
// constructor, so they run after every static object is destroyed.
void Destruct() {
  for (Routine* d = __DTOR_LIST__ + 1; *d; ++d) (*d)();
}

// Last entry first: crtend's frame registration sits there and must precede
// every constructor that may throw.
void Construct() {
  atexit(Destruct);
  int n = 0;
  while (__CTOR_LIST__[n + 1]) ++n;
  for (; n > 0; --n) __CTOR_LIST__[n]();
}

const char* CommandTail() {
  const char* p = GetCommandLineA();
  if (*p == '"') {
    for (++p; *p && *p != '"'; ++p) {
    }
    if (*p) ++p;
  } else {
    while (*p && *p != ' ' && *p != '\t') ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

}  // namespace kwrt
