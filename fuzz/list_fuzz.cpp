// Loads arbitrary bytes as an installation list and reads every section kind
// with the text rules the engine applies to its entries.
#include "toolkit/Error.h"
#include <cstdint>

#include "setup/engine/InstallPlan.h"
#include "setup/engine/ListFormat.h"
#include "setup/engine/RegText.h"

// The :reg section in groups of four lines (root, key, name, data).
static void RegGroups(const setup::LineList& l) {
  const int k = l.Find(":reg");
  if (k < 0) return;
  size_t i = size_t(k) + 1;
  do {
    setup::RootKeyIndex(l.At(i));
    std::string key = l.At(i + 1);
    setup::RelativeKeyPath(key);
    l.At(i + 2);
    const std::string data = setup::SubstituteRegData(l.At(i + 3), "C:\\P", "C:\\P\\A.EXE /x");
    if (std::optional<setup::KeyRedirect> r = setup::ParseKeyRedirect(key))
      key = setup::RedirectedKey(*r, data);
    if (!data.empty() && data[0] == '#') setup::StrToInt(setup::NumberText(data));
    i += 4;
  } while (!setup::IsTerminator(l.At(i)));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  setup::LineList l;
  try {
    l.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const kw::Error&) {
    return 0;
  }
  try {
    if (setup::CountSteps(l) < 3) __builtin_trap();
  } catch (const setup::ListIndexError&) {
  }
  setup::BackupExtension(l);
  // Each section with the rules the engine applies to its entries.
  enum Kind { kCopy, kRemove, kPlain };
  const std::pair<const char*, Kind> sections[] = {{":INSTALL", kCopy},     {":WIN", kCopy},
                                                   {":SYSTEM", kCopy},      {":REMOVEFILES", kRemove},
                                                   {":SHORTCUTS", kPlain}, {":EXTRA", kPlain}};
  for (const auto& [keyword, kind] : sections) {
    try {
      for (const std::string& e : l.ListSection(keyword)) {
        if (kind == kCopy) {
          const setup::CopyEntry c = setup::ParseCopyEntry(e);
          setup::ReplacementNames(setup::CopyTargetPath(setup::TargetFolder::System, "C:\\P", "C:\\W", c.target));
        } else if (kind == kRemove) {
          setup::ExpandRemovePath(e, "C:\\WINDOWS", "C:\\P\\");
        }
      }
    } catch (const setup::ListIndexError&) {
    }
  }
  try {
    RegGroups(l);
  } catch (const setup::ListIndexError&) {
  }
  return 0;
}
