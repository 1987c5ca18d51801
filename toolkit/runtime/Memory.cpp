// The memory and string functions. Built with -fno-builtin, so the compiler
// does not turn these loops back into calls to themselves; the block moves
// use the string instructions, which every x86 has.
#include <stddef.h>

extern "C" {

void* memcpy(void* to, const void* from, size_t n) {
  void* d = to;
  size_t words = n >> 2;
  asm volatile("rep movsl\n\tmovl %[rest], %%ecx\n\trep movsb"
               : "+D"(d), "+S"(from), "+c"(words)
               : [rest] "r"(n & 3)
               : "memory");
  return to;
}

void* memmove(void* to, const void* from, size_t n) {
  auto* d = static_cast<unsigned char*>(to);
  auto* s = static_cast<const unsigned char*>(from);
  if (d <= s || d >= s + n) return memcpy(to, from, n);
  d += n - 1;
  s += n - 1;
  asm volatile("std\n\trep movsb\n\tcld" : "+D"(d), "+S"(s), "+c"(n) : : "memory");
  return to;
}

void* memset(void* to, int c, size_t n) {
  void* d = to;
  asm volatile("rep stosb" : "+D"(d), "+c"(n) : "a"(c) : "memory");
  return to;
}

int memcmp(const void* a, const void* b, size_t n) {
  auto* p = static_cast<const unsigned char*>(a);
  auto* q = static_cast<const unsigned char*>(b);
  for (; n; --n, ++p, ++q)
    if (*p != *q) return *p - *q;
  return 0;
}

void* memchr(const void* s, int c, size_t n) {
  auto* p = static_cast<const unsigned char*>(s);
  for (; n; --n, ++p)
    if (*p == static_cast<unsigned char>(c)) return const_cast<unsigned char*>(p);
  return nullptr;
}

size_t strlen(const char* s) {
  const char* p = s;
  while (*p) ++p;
  return p - s;
}

size_t strnlen(const char* s, size_t max) {
  size_t n = 0;
  while (n < max && s[n]) ++n;
  return n;
}

int strcmp(const char* a, const char* b) {
  for (; *a && *a == *b; ++a, ++b) {
  }
  return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

int strncmp(const char* a, const char* b, size_t n) {
  for (; n; --n, ++a, ++b) {
    if (*a != *b) return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
    if (!*a) break;
  }
  return 0;
}

char* strchr(const char* s, int c) {
  for (;; ++s) {
    if (*s == static_cast<char>(c)) return const_cast<char*>(s);
    if (!*s) return nullptr;
  }
}

char* strrchr(const char* s, int c) {
  const char* found = nullptr;
  for (;; ++s) {
    if (*s == static_cast<char>(c)) found = s;
    if (!*s) return const_cast<char*>(found);
  }
}

}  // extern "C"
