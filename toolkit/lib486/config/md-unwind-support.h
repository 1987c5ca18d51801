// The unwinder's fallback through Windows signal frames (DWARF-2 mingw32).
#include "config/i386/w32-unwind.h"
