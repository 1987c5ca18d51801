// Arbitrary bytes as a slice list: refused, or only plain names come out.
#include <cstdint>
#include <cstdlib>

#include "joiner/Join.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  unkerf::ParseCommandLine(text);
  unkerf::ListPathForProgram(text);
  try {
    unkerf::SliceList l = unkerf::ParseSliceList(text, "x.sss");
    if (l.slices.empty()) std::abort();
    for (const std::string& s : l.slices)
      if (s.empty() || s.find_first_of("\\/:") != std::string::npos) std::abort();
  } catch (const unkerf::JoinError&) {
  }
  return 0;
}
