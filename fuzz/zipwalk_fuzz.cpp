// Walks arbitrary bytes as an archive's local headers: it must end (forward
// steps only), raise only EStreamError, and never write past a buffer.
#include <cstdint>

#include "setup/components/ZipDir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<setup::ZipDirEntry> entries;
  setup::ZipMemoryStream s(data, size);
  try {
    setup::WalkZipDirectory(s, entries);
  } catch (const setup::EStreamError&) {
  }
  for (const auto& e : entries)
    if (e.FileName.size() > 256) __builtin_trap();
  return 0;
}
