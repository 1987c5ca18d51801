// Builds ZIP archives in memory for the tests and the fuzzers' seeds, with
// knobs for the damage a hostile archive may carry.
#pragma once
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace ziptest {

struct Item {
  std::string name;
  std::string data;
  bool deflate = true;
  bool descriptor = false;   // sizes and CRC in a data descriptor after the data
  uint16_t flags = 0;        // added to the general purpose flags
  int method = -1;           // overrides the method field
  int64_t crc = -1, csize = -1, usize = -1;  // override the recorded values
  uint32_t dosTime = 0x5A210000;             // 2025-01-01 00:00
  int64_t offset = -1;  // the central directory points here instead
};

inline void Put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char(v >> 8 & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

inline std::string Deflate(const std::string& in) {
  z_stream z{};
  deflateInit2(&z, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, uLong(in.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = uInt(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// The end record alone is an empty archive.
inline std::string Build(const std::vector<Item>& items, bool zip64Locator = false) {
  std::string zip, cd;
  for (const Item& it : items) {
    const std::string body = it.deflate ? Deflate(it.data) : it.data;
    const uint32_t crc = it.crc >= 0 ? uint32_t(it.crc)
                                     : uint32_t(crc32(0, reinterpret_cast<const Bytef*>(it.data.data()), uInt(it.data.size())));
    const uint32_t cs = it.csize >= 0 ? uint32_t(it.csize) : uint32_t(body.size());
    const uint32_t us = it.usize >= 0 ? uint32_t(it.usize) : uint32_t(it.data.size());
    const uint16_t flags = uint16_t(it.flags | (it.descriptor ? 8 : 0));
    const uint16_t method = uint16_t(it.method >= 0 ? it.method : it.deflate ? 8 : 0);
    const uint32_t offset = uint32_t(zip.size());
    zip += "PK\3\4";
    Put16(zip, 20);
    Put16(zip, flags);
    Put16(zip, method);
    Put32(zip, it.dosTime);
    Put32(zip, it.descriptor ? 0 : crc);
    Put32(zip, it.descriptor ? 0 : cs);
    Put32(zip, it.descriptor ? 0 : us);
    Put16(zip, uint32_t(it.name.size()));
    Put16(zip, 0);
    zip += it.name + body;
    if (it.descriptor) {
      zip += "PK\7\10";
      Put32(zip, crc);
      Put32(zip, cs);
      Put32(zip, us);
    }
    cd += "PK\1\2";
    Put16(cd, 20);
    Put16(cd, 20);
    Put16(cd, flags);
    Put16(cd, method);
    Put32(cd, it.dosTime);
    Put32(cd, crc);
    Put32(cd, cs);
    Put32(cd, us);
    Put16(cd, uint32_t(it.name.size()));
    Put32(cd, 0);  // extra and comment lengths
    Put32(cd, 0);  // disk, internal attributes
    Put32(cd, it.name.empty() || it.name.back() != '/' ? 0 : 0x10);
    Put32(cd, it.offset >= 0 ? uint32_t(it.offset) : offset);
    cd += it.name;
  }
  const uint32_t cdOffset = uint32_t(zip.size());
  zip += cd;
  if (zip64Locator) {
    zip += "PK\6\7";
    Put32(zip, 0);
    Put32(zip, 0);
    Put32(zip, 0);
    Put32(zip, 1);
  }
  zip += "PK\5\6";
  Put32(zip, 0);
  Put16(zip, uint32_t(items.size()));
  Put16(zip, uint32_t(items.size()));
  Put32(zip, uint32_t(cd.size()));
  Put32(zip, cdOffset);
  Put16(zip, 0);
  return zip;
}

}  // namespace ziptest
