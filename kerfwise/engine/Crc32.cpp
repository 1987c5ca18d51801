#include "kerfwise/engine/Crc32.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace kerfwise {

namespace {
constexpr uint32_t kPoly = 0xEDB88320u;  // reflected, x^32 left out

// Eight tables, so that one step takes eight bytes; made on first use, so they
// cost no bytes in the program file.
uint32_t g_table[8][256];
bool g_ready = false;

void MakeTables() {
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ kPoly : c >> 1;
    g_table[0][n] = c;
  }
  for (uint32_t n = 0; n < 256; ++n)
    for (int t = 1; t < 8; ++t) g_table[t][n] = (g_table[t - 1][n] >> 8) ^ g_table[0][g_table[t - 1][n] & 0xFF];
  g_ready = true;
}

uint32_t Load32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// a * b modulo the polynomial, both in the reflected form (bit 31 is x^0).
uint32_t MulModP(uint32_t a, uint32_t b) {
  uint32_t p = 0;
  for (uint32_t m = 1u << 31; m; m >>= 1) {
    if (a & m) p ^= b;
    b = b & 1 ? (b >> 1) ^ kPoly : b >> 1;
  }
  return p;
}
uint32_t TableCrc(uint32_t crc, const unsigned char* p, size_t size) {
  uint32_t c = ~crc;
  for (; size >= 8; p += 8, size -= 8) {
    uint32_t lo = Load32(p) ^ c;
    uint32_t hi = Load32(p + 4);
    c = g_table[7][lo & 0xFF] ^ g_table[6][(lo >> 8) & 0xFF] ^ g_table[5][(lo >> 16) & 0xFF] ^
        g_table[4][lo >> 24] ^ g_table[3][hi & 0xFF] ^ g_table[2][(hi >> 8) & 0xFF] ^
        g_table[1][(hi >> 16) & 0xFF] ^ g_table[0][hi >> 24];
  }
  for (; size > 0; ++p, --size) c = (c >> 8) ^ g_table[0][(c ^ *p) & 0xFF];
  return ~c;
}

#if defined(__x86_64__)
// Carry-less multiplication folds 64 bytes a step, about seven times the
// tables' speed: the check values then cost little beside the disk. The
// constants are x^(512±32) and x^(128±32) modulo the polynomial, reflected.
// Only on 64-bit processors that have the instruction; the 32-bit programs
// keep to what a 486 has.
__attribute__((target("pclmul,sse2"))) inline __m128i Fold(__m128i x, __m128i k) {
  return _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11));
}

__attribute__((target("pclmul,sse2"))) inline __m128i Load(const unsigned char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

__attribute__((target("pclmul,sse2"))) uint32_t FoldedCrc(uint32_t crc, const unsigned char* p, size_t n) {
  const __m128i by64 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
  const __m128i by16 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
  __m128i a = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(int(~crc)));
  __m128i b = Load(p + 16), c = Load(p + 32), d = Load(p + 48);
  for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
    a = _mm_xor_si128(Fold(a, by64), Load(p));
    b = _mm_xor_si128(Fold(b, by64), Load(p + 16));
    c = _mm_xor_si128(Fold(c, by64), Load(p + 32));
    d = _mm_xor_si128(Fold(d, by64), Load(p + 48));
  }
  __m128i x = _mm_xor_si128(Fold(a, by16), b);
  x = _mm_xor_si128(Fold(x, by16), c);
  x = _mm_xor_si128(Fold(x, by16), d);
  for (; n >= 16; p += 16, n -= 16) x = _mm_xor_si128(Fold(x, by16), Load(p));
  // What is left is 16 bytes of message after a register of zero.
  unsigned char rest[16];
  _mm_storeu_si128(reinterpret_cast<__m128i*>(rest), x);
  return TableCrc(TableCrc(0xFFFFFFFFu, rest, 16), p, n);
}
#endif
}  // namespace

uint32_t Crc32(uint32_t crc, const void* data, size_t size) {
  if (!g_ready) MakeTables();
  const unsigned char* p = static_cast<const unsigned char*>(data);
#if defined(__x86_64__)
  static const bool folding = __builtin_cpu_supports("pclmul");
  if (folding && size >= 64) return FoldedCrc(crc, p, size);
#endif
  return TableCrc(crc, p, size);
}

uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, int64_t lengthB) {
  // Shifting A past B's bytes is a product with x^(8 * lengthB): square and
  // multiply over x^(2^k).
  uint32_t power = 1u << 30;  // x^1
  for (int k = 0; k < 3; ++k) power = MulModP(power, power);  // x^8: one byte
  uint32_t shift = 1u << 31;  // x^0
  for (uint64_t n = uint64_t(lengthB); n; n >>= 1) {
    if (n & 1) shift = MulModP(power, shift);
    power = MulModP(power, power);
  }
  return MulModP(shift, crcA) ^ crcB;
}

}  // namespace kerfwise
