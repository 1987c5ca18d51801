// What GCC's configure writes for libgcc's target code, reduced to what the
// unwinder and emutls read: release checking keeps their run-time asserts.
#pragma once
#define USED_FOR_TARGET
#define ENABLE_RUNTIME_CHECKING 1
