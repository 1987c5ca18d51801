#include <windows.h>

#include "toolkit/LeadBytes.h"

namespace kw::detail {

void SystemLeadBytes(unsigned char table[32]) {
  for (unsigned b = 0; b < 256; ++b)
    table[b >> 3] = (unsigned char)(table[b >> 3] | ((IsDBCSLeadByte(BYTE(b)) ? 1u : 0u) << (b & 7)));
}

}  // namespace kw::detail
