// Finds the unwind record (FDE) of a code address for the C++ unwinder, in
// place of the compiler library's version, which sorts the records of many
// modules into tables guarded by locks. Here each module has its own unwinder
// and one frame section, registered once at start-up by crtbegin, and an
// exception is rare: a walk through the section does, in a tenth of the size.
#include <stdint.h>
#include <string.h>

namespace {

// The module's .eh_frame, which ends with a zero length.
const unsigned char* frames;

// Pointer encodings (low nibble: format; 0x70: what it is relative to).
enum : unsigned char {
  kAbsPtr = 0x00,
  kULeb128 = 0x01,
  kUData2 = 0x02,
  kUData4 = 0x03,
  kUData8 = 0x04,
  kSLeb128 = 0x09,
  kSData2 = 0x0A,
  kSData4 = 0x0B,
  kSData8 = 0x0C,
  kPcRel = 0x10,
  kAligned = 0x50,
};

uint32_t Read32(const unsigned char* p) {
  uint32_t v;
  memcpy(&v, p, 4);
  return v;
}

uintptr_t ReadLeb(const unsigned char*& p, bool sign) {
  uintptr_t v = 0;
  unsigned shift = 0;
  unsigned char b;
  do {
    b = *p++;
    if (shift < 32) v |= uintptr_t(b & 0x7F) << shift;
    shift += 7;
  } while (b & 0x80);
  if (sign && shift < 32 && (b & 0x40)) v |= ~uintptr_t(0) << shift;
  return v;
}

// Reads one encoded pointer; pc-relative ones are made absolute when asked.
uintptr_t ReadEncoded(const unsigned char*& p, unsigned char encoding, bool absolute) {
  const unsigned char* at = p;
  uintptr_t v;
  if ((encoding & 0x70) == kAligned) {
    p = reinterpret_cast<const unsigned char*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
    v = Read32(p);
    p += 4;
    return v;
  }
  switch (encoding & 0x0F) {
    case kULeb128: v = ReadLeb(p, false); break;
    case kSLeb128: v = ReadLeb(p, true); break;
    case kUData2: v = uint16_t(p[0] | p[1] << 8), p += 2; break;
    case kSData2: v = uintptr_t(int16_t(p[0] | p[1] << 8)), p += 2; break;
    case kUData8:
    case kSData8: v = Read32(p), p += 8; break;
    default: v = Read32(p), p += 4; break;  // absolute, 4-byte forms
  }
  if (absolute && v && (encoding & 0x70) == kPcRel) v += reinterpret_cast<uintptr_t>(at);
  return v;
}

// The encoding of the FDE addresses, from the CIE's augmentation ("zR",
// "zPLR", ...); without one they are absolute.
unsigned char FdeEncoding(const unsigned char* cie) {
  const unsigned char* p = cie + 8;
  unsigned char version = *p++;
  const char* augmentation = reinterpret_cast<const char*>(p);
  p += strlen(augmentation) + 1;
  if (augmentation[0] != 'z') return kAbsPtr;
  ReadLeb(p, false);  // code alignment
  ReadLeb(p, true);   // data alignment
  if (version == 1) ++p;
  else ReadLeb(p, false);  // return address column
  ReadLeb(p, false);       // augmentation length
  for (const char* a = augmentation + 1; *a; ++a) {
    if (*a == 'R') return *p;
    if (*a == 'P') {
      unsigned char e = *p++;
      ReadEncoded(p, e, false);
    } else if (*a == 'L') {
      ++p;
    } else if (*a != 'S' && *a != 'B') {
      break;
    }
  }
  return kAbsPtr;
}

}  // namespace

extern "C" {

// What the unwinder is given with a record: the function's start; text and
// data bases are not used on this platform.
struct dwarf_eh_bases {
  void* tbase;
  void* dbase;
  void* func;
};

void __register_frame_info(const void* begin, void*) {
  if (begin && Read32(static_cast<const unsigned char*>(begin))) frames = static_cast<const unsigned char*>(begin);
}

void* __deregister_frame_info(const void* begin) {
  if (begin == frames) frames = nullptr;
  return nullptr;
}

const void* _Unwind_Find_FDE(void* pc, dwarf_eh_bases* bases) {
  const unsigned char* lastCie = nullptr;
  unsigned char encoding = kAbsPtr;
  uint32_t length;
  for (const unsigned char* p = frames; p && (length = Read32(p)) != 0; p += 4 + length) {
    uint32_t cieOffset = Read32(p + 4);
    if (cieOffset == 0) continue;  // a CIE
    const unsigned char* cie = p + 4 - cieOffset;
    if (cie != lastCie) encoding = FdeEncoding(lastCie = cie);
    const unsigned char* q = p + 8;
    uintptr_t start = ReadEncoded(q, encoding, true);
    uintptr_t range = ReadEncoded(q, encoding & 0x0F, false);
    if (start && reinterpret_cast<uintptr_t>(pc) - start < range) {
      bases->tbase = nullptr;
      bases->dbase = nullptr;
      bases->func = reinterpret_cast<void*>(start);
      return p;
    }
  }
  return nullptr;
}

}  // extern "C"
