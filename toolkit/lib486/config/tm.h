// The target macros libgcc's unwinder takes from GCC's own headers; for x86
// every other one comes predefined with -fbuilding-libgcc.
#pragma once
#define DWARF_REG_TO_UNWIND_COLUMN(REGNO) (REGNO)
