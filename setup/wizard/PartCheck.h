// What identifies each package part on its disk, as setup.lst records it, and
// the arithmetic of the room the temporary folder needs. No Windows API: the
// installer and mksetup share it, and it is tested and fuzzed natively.
//
// The records stand in a section of their own after :PACKAGE, one line per
// part: its name, its size in bytes and its CRC-32 in eight hex digits,
// separated by single blanks ("package.2 1457664 3A5F09C2"). An installer
// that knows no such section passes over it; a part without a record is taken
// on trust.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "setup/engine/ListFormat.h"

namespace setup {

namespace section {
inline constexpr char kParts[] = ":PARTS";
}

struct PartRecord {
  std::string name;
  uint64_t size = 0;
  uint32_t crc = 0;
  bool operator==(const PartRecord&) const = default;
};

std::string FormatPartRecord(const PartRecord& r);
// False for a line that is not a record; the name may hold blanks, so the
// numbers are taken from the end.
bool ParsePartRecord(std::string_view line, PartRecord* r);
// The well-formed records of the list's :PARTS section; none without one.
// ListIndexError when the section has no closing ":".
std::vector<PartRecord> PartRecords(const LineList& lst);
// The record of a part, by name ignoring letter case; null when it has none.
const PartRecord* FindPartRecord(const std::vector<PartRecord>& records, std::string_view name);

// CRC-32 as ZIP archives use it (reflected, polynomial EDB88320).
class Crc32 {
 public:
  void Add(const void* data, size_t n);
  uint32_t Value() const { return ~v_; }

 private:
  uint32_t v_ = 0xFFFFFFFFu;
};
uint32_t Crc32Of(std::string_view data);

// Bytes a file of this size takes on a drive of this cluster size.
uint64_t OnDisk(uint64_t size, uint64_t cluster);
// "1,457,664".
std::string GroupDigits(uint64_t n);
// The root a free-space query wants: "C:\" for "C:\WINDOWS\TEMP",
// "\\server\share\" for a path on a share; "" when the path has neither.
std::string DriveRoot(std::string_view path);

}  // namespace setup
