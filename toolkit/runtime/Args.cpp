// __argc and __argv, split from the command line by the C runtime's rules:
// blanks separate, quotes group, 2n backslashes before a quote become n and
// the quote groups, 2n+1 become n and a literal quote. Linked only into
// programs that use them; then split before any constructor of the program.
// The program's own name, the first argument, follows the same rules.
#include <windows.h>

#include "toolkit/runtime/Runtime.h"

namespace {

int argc;
char** argv;

// One pass counts (out == nullptr), the second writes; returns the bytes the
// arguments take, their terminators included.
int Split(const char* p, char** args, char* out) {
  int bytes = 0;
  argc = 0;
  for (;;) {
    while (*p == ' ' || *p == '\t') ++p;
    if (!*p) break;
    if (args) args[argc] = out + bytes;
    ++argc;
    bool quoted = false;
    while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
      int slashes = 0;
      while (*p == '\\') ++slashes, ++p;
      if (*p == '"') {
        for (int i = 0; i < slashes / 2; ++i, ++bytes) if (out) out[bytes] = '\\';
        if (slashes % 2) {
          if (out) out[bytes] = '"';
          ++bytes;
        } else {
          quoted = !quoted;
        }
        ++p;
      } else {
        for (int i = 0; i < slashes; ++i, ++bytes) if (out) out[bytes] = '\\';
        if (*p && (quoted || (*p != ' ' && *p != '\t'))) {
          if (out) out[bytes] = *p;
          ++bytes, ++p;
        }
      }
    }
    if (out) out[bytes] = 0;
    ++bytes;
  }
  return bytes;
}

__attribute__((constructor(101))) void SplitCommandLine() {
  const char* line = GetCommandLineA();
  int bytes = Split(line, nullptr, nullptr);
  int count = argc;
  auto* block = static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, (count + 1) * sizeof(char*) + bytes));
  if (!block) ExitProcess(255);
  argv = reinterpret_cast<char**>(block);
  Split(line, argv, block + (count + 1) * sizeof(char*));
  argv[argc] = nullptr;
}

}  // namespace

extern "C" {

// The headers reach both through import pointers, as if from a DLL.
static char*** ArgvAddress() { return &argv; }
int* ImpArgc __asm__("__imp____argc") = &argc;
char*** (*ImpArgv)() __asm__("__imp____p___argv") = &ArgvAddress;

}  // extern "C"

namespace kwrt {

char** Arguments(int* count) {
  *count = argc;
  return argv;
}

}  // namespace kwrt
