#include "setup/wizard/PartCheck.h"

#include "toolkit/PathText.h"

namespace setup {

namespace {

bool ParseSize(std::string_view s, uint64_t* v) {
  if (s.empty()) return false;
  uint64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    const uint64_t d = uint64_t(c - '0');
    constexpr uint64_t kTenth = UINT64_MAX / 10;  // UINT64_MAX = kTenth * 10 + 5
    if (n > kTenth || (n == kTenth && d > 5)) return false;
    n = n * 10 + d;
  }
  *v = n;
  return true;
}

bool ParseCrc(std::string_view s, uint32_t* v) {
  if (s.size() != 8) return false;
  uint32_t n = 0;
  for (char c : s) {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return false;
    n = n << 4 | uint32_t(d);
  }
  *v = n;
  return true;
}

}  // namespace

std::string FormatPartRecord(const PartRecord& r) {
  static const char hex[] = "0123456789ABCDEF";
  std::string crc(8, '0');
  for (int i = 0; i < 8; ++i) crc[size_t(i)] = hex[(r.crc >> (28 - 4 * i)) & 15];
  return r.name + " " + std::to_string(r.size) + " " + crc;
}

bool ParsePartRecord(std::string_view line, PartRecord* r) {
  const size_t b2 = line.rfind(' ');
  if (b2 == std::string_view::npos || b2 == 0) return false;
  const size_t b1 = line.rfind(' ', b2 - 1);
  if (b1 == std::string_view::npos || b1 == 0) return false;
  PartRecord out;
  if (!ParseSize(line.substr(b1 + 1, b2 - b1 - 1), &out.size) || !ParseCrc(line.substr(b2 + 1), &out.crc))
    return false;
  out.name = std::string(line.substr(0, b1));
  *r = std::move(out);
  return true;
}

std::vector<PartRecord> PartRecords(const LineList& lst) {
  std::vector<PartRecord> out;
  for (const std::string& line : lst.ListSection(section::kParts)) {
    PartRecord r;
    if (ParsePartRecord(line, &r)) out.push_back(std::move(r));
  }
  return out;
}

const PartRecord* FindPartRecord(const std::vector<PartRecord>& records, std::string_view name) {
  for (const PartRecord& r : records)
    if (kw::SameText(r.name, name)) return &r;
  return nullptr;
}

void Crc32::Add(const void* data, size_t n) {
  // Built on first use: a kilobyte of table costs no room in the program file.
  static uint32_t table[256];
  if (table[1] == 0)
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
  const unsigned char* p = static_cast<const unsigned char*>(data);
  uint32_t v = v_;
  for (size_t i = 0; i < n; ++i) v = table[(v ^ p[i]) & 0xFF] ^ (v >> 8);
  v_ = v;
}

uint32_t Crc32Of(std::string_view data) {
  Crc32 c;
  c.Add(data.data(), data.size());
  return c.Value();
}

// Clusters are powers of two; rounding by mask keeps 64-bit division, and the
// library code it needs, out of the 32-bit installer.
uint64_t OnDisk(uint64_t size, uint64_t cluster) {
  if (cluster == 0 || (cluster & (cluster - 1)) != 0) return size;
  const uint64_t up = size + cluster - 1;
  return up < size ? size : up & ~(cluster - 1);
}

std::string GroupDigits(uint64_t n) {
  // Long division by 10 over 16-bit pieces: 32-bit arithmetic only.
  uint32_t piece[4] = {uint32_t(n >> 48), uint32_t(n >> 32) & 0xFFFF, uint32_t(n >> 16) & 0xFFFF, uint32_t(n) & 0xFFFF};
  char buf[32];
  char* p = buf + sizeof buf;
  int digits = 0;
  do {
    uint32_t rest = 0;
    bool more = false;
    for (uint32_t& v : piece) {
      const uint32_t cur = rest << 16 | v;
      v = cur / 10;
      rest = cur % 10;
      more = more || v != 0;
    }
    if (digits > 0 && digits % 3 == 0) *--p = ',';
    *--p = char('0' + rest);
    ++digits;
    if (!more) break;
  } while (true);
  return std::string(p, size_t(buf + sizeof buf - p));
}

std::string DriveRoot(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2)) + "\\";
  if (path.size() > 2 && path[0] == '\\' && path[1] == '\\') {
    const size_t server = path.find('\\', 2);
    if (server == std::string_view::npos || server == 2) return "";
    const size_t share = path.find('\\', server + 1);
    if (share == server + 1) return "";
    return std::string(path.substr(0, share)) + "\\";
  }
  return "";
}

}  // namespace setup
