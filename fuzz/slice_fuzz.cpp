// Size texts and file names as the window hands them over: the slice rules
// must refuse or answer, and their answers must hold together.
#include <cstdint>
#include <cstdlib>

#include "kerfwise/engine/SliceRules.h"
#include "toolkit/PathText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // Half the inputs walk the names as Shift JIS, where a lone lead byte may
  // end the text.
  kw::UseCodePage(size && (data[0] & 1) ? 932 : 1252);
  kerfwise::DiskEstimate(text, ',', 3000000);
  kerfwise::ShortTargetName(text);
  kerfwise::BasePath(text, kerfwise::Destination::CurrentDirectory, "A:", "C:\\");
  kerfwise::SliceName(kerfwise::SliceStem(text), 100);
  try {
    kerfwise::SlicePlan p = kerfwise::ParseSliceSize(text);
    if (p.threshold < 1 || p.length < 1 || p.length > p.threshold) std::abort();
    int64_t fileSize = int64_t(size) * 997;
    if (fileSize / p.length < 100000) {
      int64_t sum = 0;
      for (int64_t n : kerfwise::SliceLengths(fileSize, p)) {
        if (n > p.threshold) std::abort();
        sum += n;
      }
      if (sum != fileSize) std::abort();
    }
  } catch (const kerfwise::SizeTextError&) {
  }
  return 0;
}
