// libgcc's thread hooks create their semaphores with CreateSemaphoreW, which
// Windows 95 has only as a stub that fails. They are unnamed, so the ANSI
// call does the same; the hooks reach it through this import pointer.
#include <windows.h>

namespace {
HANDLE WINAPI CreateSemaphoreAnsi(LPSECURITY_ATTRIBUTES sa, LONG initial, LONG most, LPCWSTR) {
  return CreateSemaphoreA(sa, initial, most, nullptr);
}
}  // namespace

extern "C" {
HANDLE(WINAPI* ImpCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR) __asm__(
    "__imp__CreateSemaphoreW@16") = &CreateSemaphoreAnsi;
}
