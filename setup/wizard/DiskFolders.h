// Where a package part may lie before the user is asked for its disk: in the
// installer's own folder, or, for a disk set copied side by side (OUT\disk1,
// OUT\disk2 ...), in the folder diskN beside it. No Windows API here.
#pragma once
#include <string>
#include <vector>

namespace setup {

// The paths to look at for part `name` of disk `disk` (1 for the first),
// `source` being disk 1's folder without a trailing backslash.
std::vector<std::string> PartPlaces(const std::string& source, const std::string& name, size_t disk);

}  // namespace setup
