// The shipped 32-bit programs' own C runtime over KERNEL32 (toolkit/runtime):
// what its parts share.
#pragma once

namespace kwrt {

// Runs the module's static constructors.
void Construct();
// Runs what atexit registered, last first.
void RunExitList();
// The command line after the program's own name and the blanks behind it.
const char* CommandTail();
// The command line split into arguments; argv ends with a null.
char** Arguments(int* argc);

}  // namespace kwrt
