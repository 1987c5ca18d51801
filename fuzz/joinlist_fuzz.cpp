// Arbitrary bytes as a slice list, and as its check values: refused, or only
// plain names come out, and check values read back as they were written.
#include <cstdint>
#include <cstdlib>

#include "joiner/Join.h"
#include "kerfwise/engine/CheckFile.h"

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
  if (std::optional<kerfwise::CheckValues> v = kerfwise::ParseCheckFile(text)) {
    std::optional<kerfwise::CheckValues> again = kerfwise::ParseCheckFile(kerfwise::CheckFileText(*v));
    if (!again || again->slices.size() != v->slices.size() || again->whole.crc != v->whole.crc ||
        again->whole.size != v->whole.size || again->whole.name != v->whole.name)
      std::abort();
  }
  return 0;
}
