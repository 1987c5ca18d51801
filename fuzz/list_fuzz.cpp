// Loads arbitrary bytes as an installation list and reads every section kind.
#include "toolkit/Error.h"
#include <cstdint>

#include "setup/engine/ListFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  setup::LineList l;
  try {
    l.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const kw::Error&) {
    return 0;
  }
  for (const char* kw : {":INSTALL", ":reg", ":SHORTCUTS", ":REMOVEFILES", ":EXTRA"}) {
    try {
      for (const std::string& e : l.ListSection(kw)) {
        setup::ParseCopyEntry(e);
        setup::ExpandRemovePath(e, "C:\\WINDOWS", "C:\\P\\");
      }
    } catch (const setup::ListIndexError&) {
    }
  }
  return 0;
}
