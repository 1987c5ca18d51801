// One function the compiler turns into CMOV when it may: built for a Pentium
// Pro the processor check must refuse it, built for a 486 pass it.
#include <windows.h>

extern "C" __attribute__((noinline)) int Smaller(int a, int b) { return a < b ? a : b; }

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR line, int) { return Smaller(line[0], line[1]); }
