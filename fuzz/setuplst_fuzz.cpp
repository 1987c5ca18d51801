// Arbitrary bytes as the package list (setup.lst), read as the installer reads
// it before it asks for the disks: the :EXTRA and :PACKAGE sections, the
// archive name made from the first part, and the parts' records. That reading sits in the wizard's
// window code, so this drives the list format beneath it.
#include <cstdint>

#include "setup/engine/ListFormat.h"
#include "setup/wizard/PartCheck.h"
#include "toolkit/PathText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  setup::LineList l;
  try {
    l.LoadText(std::string_view(reinterpret_cast<const char*>(data), size), "setup.lst");
  } catch (const kw::Error&) {
    return 0;
  }
  for (const std::string& line : l.Lines())
    if (line.size() > setup::kMaxListLine || line.find_first_of("\r\n") != std::string::npos) __builtin_trap();
  for (const char* keyword : {":EXTRA", ":PACKAGE"}) {
    const int k = l.Find(keyword);
    try {
      const std::vector<std::string> items = l.ListSection(keyword);
      // A section is the lines after its keyword up to the first ":".
      if (k < 0 && !items.empty()) __builtin_trap();
      for (size_t i = 0; i < items.size(); ++i)
        if (setup::IsTerminator(items[i]) || items[i] != l.At(size_t(k) + 1 + i)) __builtin_trap();
      if (k >= 0 && !setup::IsTerminator(l.At(size_t(k) + 1 + items.size()))) __builtin_trap();
      if (!items.empty()) kw::ChangeFileExt(items[0], ".zip");
    } catch (const setup::ListIndexError&) {
      // Only a section without its closing ":" runs past the last line.
      if (k < 0) __builtin_trap();
      for (size_t i = size_t(k) + 1; i < l.Count(); ++i)
        if (setup::IsTerminator(l.At(i))) __builtin_trap();
    }
  }
  try {
    // Every record read is written back to a line that reads as the same record.
    for (const setup::PartRecord& r : setup::PartRecords(l)) {
      setup::PartRecord back;
      if (!setup::ParsePartRecord(setup::FormatPartRecord(r), &back) || !(back == r)) __builtin_trap();
      if (setup::FindPartRecord(setup::PartRecords(l), r.name) == nullptr) __builtin_trap();
    }
  } catch (const setup::ListIndexError&) {
  }
  return 0;
}
