// What libgcc's configure finds for this target, reduced to what the C
// personality routine reads: the unwinder offers _Unwind_GetIPInfo.
#pragma once
#define HAVE_GETIPINFO 1
