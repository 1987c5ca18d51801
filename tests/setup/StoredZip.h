// A ZIP archive of stored (uncompressed) entries, made in memory for tests.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testzip {

inline uint32_t Crc32(const std::string& s) {
  uint32_t c = 0xFFFFFFFFu;
  for (unsigned char b : s) {
    c ^= b;
    for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
  }
  return ~c;
}

inline void Put(std::string& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += char((v >> (8 * i)) & 0xFF);
}

// Entries as (name, contents). badCrc stores a wrong CRC for every entry.
inline std::string StoredZip(const std::vector<std::pair<std::string, std::string>>& entries,
                             bool badCrc = false) {
  std::string out, central;
  for (const auto& [name, data] : entries) {
    uint32_t crc = Crc32(data) ^ (badCrc ? 1u : 0u);
    uint32_t offset = uint32_t(out.size());
    auto common = [&](std::string& s) {
      Put(s, 20, 2);  // version needed
      Put(s, 0, 2);   // flags
      Put(s, 0, 2);   // stored
      Put(s, 0, 2);   // time
      Put(s, 0x21, 2);  // 1 Jan 1980
      Put(s, crc, 4);
      Put(s, uint32_t(data.size()), 4);
      Put(s, uint32_t(data.size()), 4);
      Put(s, uint32_t(name.size()), 2);
      Put(s, 0, 2);  // extra field
    };
    Put(out, 0x04034B50, 4);
    common(out);
    out += name + data;
    Put(central, 0x02014B50, 4);
    Put(central, 20, 2);  // made by
    common(central);
    Put(central, 0, 2);  // comment
    Put(central, 0, 2);  // disk
    Put(central, 0, 2);  // internal attributes
    Put(central, 0, 4);  // external attributes
    Put(central, offset, 4);
    central += name;
  }
  uint32_t cdOffset = uint32_t(out.size());
  out += central;
  Put(out, 0x06054B50, 4);
  Put(out, 0, 4);
  Put(out, uint32_t(entries.size()), 2);
  Put(out, uint32_t(entries.size()), 2);
  Put(out, uint32_t(central.size()), 4);
  Put(out, cdOffset, 4);
  Put(out, 0, 2);
  return out;
}

}  // namespace testzip
