// Programs for the processor check. Built for a Pentium Pro, the compiler
// turns Smaller into CMOV, and each probe function holds one more kind of
// instruction that a 486 lacks (kept out of line so that the check names
// it): the check must refuse it. Built for a 486 with COMPILED_ONLY, the
// check must pass it. Neither is ever run.
#include <windows.h>

extern "C" [[gnu::noinline]] int Smaller(int a, int b) { return a < b ? a : b; }

#ifndef COMPILED_ONLY
namespace probe {
[[gnu::noinline]] void PickWithCmov() { asm volatile("cmovne %eax, %edx"); }
[[gnu::noinline]] void CompareWithFcomi() { asm volatile("fucomip %st(1), %st"); }
[[gnu::noinline]] void ClearSseRegister() { asm volatile("xorps %xmm0, %xmm0"); }
[[gnu::noinline]] void AddMmxRegisters() { asm volatile("paddb %mm1, %mm0"); }
[[gnu::noinline]] void ReadTimeStamp() { asm volatile("rdtsc" ::: "eax", "edx"); }
[[gnu::noinline]] void PadWithLongNop() { asm volatile(".byte 0x0f, 0x1f, 0x40, 0x00"); }
}  // namespace probe
#endif

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR line, int show) {
#ifndef COMPILED_ONLY
  if (show == -1) {
    probe::PickWithCmov();
    probe::CompareWithFcomi();
    probe::ClearSseRegister();
    probe::AddMmxRegisters();
    probe::ReadTimeStamp();
    probe::PadWithLongNop();
  }
#endif
  return Smaller(line[0], show);
}
