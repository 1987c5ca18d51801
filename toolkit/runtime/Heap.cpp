// malloc and its kin over the process heap.
#include <windows.h>

extern "C" {

void* malloc(size_t n) { return HeapAlloc(GetProcessHeap(), 0, n); }

void free(void* p) {
  if (p) HeapFree(GetProcessHeap(), 0, p);
}

void* calloc(size_t count, size_t size) {
  if (size && count > size_t(-1) / size) return nullptr;
  return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, count * size);
}

void* realloc(void* p, size_t n) {
  if (!p) return malloc(n);
  if (!n) {
    free(p);
    return nullptr;
  }
  return HeapReAlloc(GetProcessHeap(), 0, p, n);
}

}  // extern "C"
