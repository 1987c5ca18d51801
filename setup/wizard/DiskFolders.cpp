#include "setup/wizard/DiskFolders.h"

#include "toolkit/PathText.h"

namespace setup {

std::vector<std::string> PartPlaces(const std::string& source, const std::string& name, size_t disk) {
  std::vector<std::string> places{source + "\\" + name};
  // A drive's root ("A:") has nothing beside it.
  std::string parent = kw::ExtractFilePath(source);
  if (parent.empty() || kw::ExtractFileName(source).empty()) return places;
  std::string beside = parent + "disk" + kw::Decimal(disk) + "\\" + name;
  if (!kw::SameText(beside, places[0])) places.push_back(beside);
  return places;
}

}  // namespace setup
