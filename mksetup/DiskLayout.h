// Floppy arithmetic: how much a disk holds, what a file costs on it, and where
// the archive is cut so that the installer, joining the parts last listed
// first, gets it back. No file access here.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mksetup {

struct DiskFormat {
  std::string name;           // "1.44M", or the byte count as given
  uint64_t dataBytes = 0;     // the data area: clusters x cluster size
  uint32_t cluster = 1;       // allocation unit in bytes (1: counted by the byte)
  uint32_t rootEntries = 0;   // root folder entries, the volume label's included (0: no limit)
  int mformatKb = 0;          // mformat -f argument; 0: no image of this size
};

// "720K", "1.2M", "1.44M", "2.88M" (any letter case) or a byte count.
// False with why set for anything else.
bool ParseDiskFormat(std::string_view text, DiskFormat* out, std::string* why);

// Bytes a file of the given size takes: whole clusters.
uint64_t SpaceOf(uint64_t size, const DiskFormat& f);
// Root folder entries a name takes: one for a plain 8.3 name, more for a
// long or mixed-case one (its long name in 13-character pieces).
int DirEntriesOf(std::string_view name);

struct DiskFile {
  std::string name;
  uint64_t size = 0;
};

// Room left for the archive part on a disk that also holds `fixed`, the part
// itself named partName. False with why set when they do not fit at all.
bool PartRoom(const DiskFormat& f, const std::vector<DiskFile>& fixed, std::string_view partName,
              uint64_t* room, std::string* why);

// Part sizes in list order: part 1 (on disk 1) is the archive's last room1
// bytes, part 2 the roomN bytes before them, and so on; the last part holds
// what remains of the archive's start. Every part but the last fills its disk.
// An archive that fits in room1 gives one part.
std::vector<uint64_t> CutSizes(uint64_t archiveSize, uint64_t room1, uint64_t roomN);

// Where part i (from 0) starts in the archive.
uint64_t PartOffset(const std::vector<uint64_t>& sizes, size_t i);

}  // namespace mksetup
