// The lead bytes of the system's ANSI code page, one bit a byte: the only part
// of the text helpers that asks the system (LeadBytesWin.cpp on Windows; the
// native builds start single-byte).
#pragma once

namespace kw::detail {
void SystemLeadBytes(unsigned char table[32]);
}
