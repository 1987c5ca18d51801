// CRC-32 (the polynomial of ZIP and PNG), as the check values of a slice set
// carry it: the splitter computes them while slicing, the joiner while joining.
#pragma once
#include <cstddef>
#include <cstdint>

namespace kerfwise {

// The running value over more data; start with 0.
uint32_t Crc32(uint32_t crc, const void* data, size_t size);

// The value of A followed by B, from the value of A, the value of B and B's
// length: a whole file's value from its slices' without reading it twice.
uint32_t Crc32Combine(uint32_t crcA, uint32_t crcB, int64_t lengthB);

}  // namespace kerfwise
