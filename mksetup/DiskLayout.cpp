#include "mksetup/DiskLayout.h"

#include <cctype>
#include <cstring>

#include "toolkit/PathText.h"

namespace mksetup {

namespace {
// The standard FAT12 floppies: data area = sectors less boot sector, both FATs
// and the root folder, in whole clusters.
const DiskFormat kFloppies[] = {
    {"720K", 713 * 1024, 1024, 112, 720},
    {"1.2M", 2371 * 512, 512, 224, 1200},
    {"1.44M", 2847 * 512, 512, 224, 1440},
    {"2.88M", 2863 * 1024, 1024, 240, 2880},
};
}  // namespace

bool ParseDiskFormat(std::string_view text, DiskFormat* out, std::string* why) {
  for (const DiskFormat& f : kFloppies) {
    if (kw::SameText(text, f.name) || kw::SameText(text, f.name + "B")) {
      *out = f;
      return true;
    }
  }
  uint64_t n = 0;
  bool digits = !text.empty() && text.size() <= 12;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) digits = false;
    else n = n * 10 + uint64_t(c - '0');
  }
  if (!digits || n < 4096) {
    *why = "disk size '" + std::string(text) +
           "': use 720K, 1.2M, 1.44M, 2.88M or a byte count of at least 4096";
    return false;
  }
  *out = DiskFormat{std::string(text), n, 1, 0, 0};
  return true;
}

uint64_t SpaceOf(uint64_t size, const DiskFormat& f) {
  return (size + f.cluster - 1) / f.cluster * f.cluster;
}

int DirEntriesOf(std::string_view name) {
  const size_t dot = name.rfind('.');
  const std::string_view base = name.substr(0, dot), ext = dot == name.npos ? "" : name.substr(dot + 1);
  bool shortName = !base.empty() && base.size() <= 8 && ext.size() <= 3 && name.find(' ') == name.npos &&
                   (dot == name.npos || name.find('.') == dot);
  // A short name keeps its letter case only when each half is in one case.
  auto oneCase = [](std::string_view s) {
    bool up = false, low = false;
    for (char c : s) {
      up = up || (c >= 'A' && c <= 'Z');
      low = low || (c >= 'a' && c <= 'z');
    }
    return !(up && low);
  };
  shortName = shortName && oneCase(base) && oneCase(ext);
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && !std::strchr("._-~!#$%&'(){}@^`", c)) shortName = false;
  return shortName ? 1 : 1 + int((name.size() + 12) / 13);
}

bool PartRoom(const DiskFormat& f, const std::vector<DiskFile>& fixed, std::string_view partName,
              uint64_t* room, std::string* why) {
  uint64_t used = 0;
  uint32_t entries = 1 + uint32_t(DirEntriesOf(partName));  // the volume label, the part
  for (const DiskFile& d : fixed) {
    used += SpaceOf(d.size, f);
    entries += uint32_t(DirEntriesOf(d.name));
  }
  if (f.rootEntries && entries > f.rootEntries) {
    *why = "disk 1 needs " + std::to_string(entries) + " root folder entries; a " + f.name +
           " disk has " + std::to_string(f.rootEntries) + "; move files from disk1 into the package";
    return false;
  }
  if (used >= f.dataBytes) {
    *why = "the files beside the installer take " + std::to_string(used) + " bytes; a " + f.name +
           " disk holds " + std::to_string(f.dataBytes) + ", leaving no room for the package; choose a larger --disk, or move files from disk1 into the package";
    return false;
  }
  *room = f.dataBytes - used;
  return true;
}

std::vector<uint64_t> CutSizes(uint64_t archiveSize, uint64_t room1, uint64_t roomN) {
  std::vector<uint64_t> sizes{archiveSize < room1 ? archiveSize : room1};
  for (uint64_t left = archiveSize - sizes[0]; left > 0;) {
    sizes.push_back(left < roomN ? left : roomN);
    left -= sizes.back();
  }
  return sizes;
}

uint64_t PartOffset(const std::vector<uint64_t>& sizes, size_t i) {
  uint64_t end = 0;
  for (uint64_t s : sizes) end += s;
  for (size_t k = 0; k <= i; ++k) end -= sizes[k];
  return end;
}

}  // namespace mksetup
