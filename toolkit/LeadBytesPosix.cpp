#include "toolkit/LeadBytes.h"

namespace kw::detail {

void SystemLeadBytes(unsigned char table[32]) {
  for (int i = 0; i < 32; ++i) table[i] = 0;
}

}  // namespace kw::detail
