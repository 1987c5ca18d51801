// A program for the processor check to refuse: each function holds one kind
// of instruction that a 486 lacks, kept out of line so that the check names
// it. The probe is only disassembled, never run.
#include <windows.h>

namespace probe {
[[gnu::noinline]] void PickWithCmov() { asm volatile("cmovne %eax, %edx"); }
[[gnu::noinline]] void CompareWithFcomi() { asm volatile("fucomip %st(1), %st"); }
[[gnu::noinline]] void ClearSseRegister() { asm volatile("xorps %xmm0, %xmm0"); }
[[gnu::noinline]] void AddMmxRegisters() { asm volatile("paddb %mm1, %mm0"); }
[[gnu::noinline]] void ReadTimeStamp() { asm volatile("rdtsc" ::: "eax", "edx"); }
[[gnu::noinline]] void PadWithLongNop() { asm volatile(".byte 0x0f, 0x1f, 0x40, 0x00"); }
}  // namespace probe

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show) {
  if (show == -1) {
    probe::PickWithCmov();
    probe::CompareWithFcomi();
    probe::ClearSseRegister();
    probe::AddMmxRegisters();
    probe::ReadTimeStamp();
    probe::PadWithLongNop();
  }
  return 0;
}
