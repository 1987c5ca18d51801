// From a checked project to disk folders: the archive, where it is cut, what
// lies on each disk, the re-reading of what was written, and the images.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "mksetup/Project.h"
#include "setup/wizard/PartCheck.h"

namespace mksetup {

struct Disk {
  std::vector<const SourceFile*> files;  // beside the part: disk 1 only
  std::string partName;
  uint64_t partOffset = 0, partSize = 0;
  uint64_t used = 0;  // whole clusters
};

struct Plan {
  std::string archive;
  uint64_t unpacked = 0;  // bytes of the package files
  std::string setupLst;
  SourceFile lstFile;
  std::vector<Disk> disks;
};

// Packs the archive and lays it over the disks. False with why set when disk 1
// cannot hold the installer's files.
bool MakePlan(const Options& opt, const Project& p, Plan* plan, std::string* why);

// The text of setup.lst for these :EXTRA files and parts: :PACKAGE names the
// parts, :PARTS records what identifies each.
std::string PackageList(const std::vector<std::string>& extras, const std::vector<setup::PartRecord>& parts);

// Refuses an OUT holding anything but disk folders and images that an earlier
// run made: kw::Error naming it.
void CheckOutFolder(const Options& opt);

// Writes OUT/disk1, OUT/disk2, ... after CheckOutFolder. Throws kw::Error.
void WriteDisks(const Options& opt, const Plan& plan);

// Reads back what WriteDisks wrote as the installer will: each part against
// its record in setup.lst, the parts from the disk folders joined last listed first, the joined archive's local headers
// walked, every entry unpacked by the unpack core into memory; and compares
// all of it with the project. Throws kw::Error on the first difference.
// Returns the number of entries checked.
int VerifyDisks(const Options& opt, const Project& p, const Plan& plan);

// Removes what WriteDisks and WriteImages made, after a failure: disks that
// did not pass are not left to be copied.
// Returns how many it removed.
int RemoveDisks(const Options& opt);

// OUT/diskN.img: a FAT12 image of each disk folder, made by mtools.
void WriteImages(const Options& opt, const Plan& plan);

// The disks and what lies on each, then what mksetup added to the project.
std::string Summary(const Options& opt, const Project& p, const Plan& plan);

}  // namespace mksetup
