// Loads arbitrary bytes as an installation list and reads every section kind
// with the text rules the engine applies to its entries; where a copy or a
// removal would land is checked as Windows resolves the path: a copy (and its
// waiting .MQF and .BAK for a restart) inside its target folder, a removal
// made from a macro inside the folder the macro names.
#include "toolkit/Error.h"
#include <cstdint>

#include "fuzz/WinSpelling.h"

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

namespace {

using fuzzmodel::Canon;
using fuzzmodel::Within;

const char kDest[] = "C:\\P", kWindows[] = "C:\\W";

// The installation list is the author's own, and the engine takes a copy or
// removal name as written: a name that Windows would spell otherwise (a ".."
// part, "/" read as "\", a trailing dot) is the author's choice, not a path
// this model holds to its folder.
bool NameLeadsAway(std::string_view name) {
  const std::string plain = "c:\\x\\" + fuzzmodel::Lower(name);
  return name.find_first_of("/:") != std::string_view::npos || Canon(plain) != plain;
}

void Inside(const std::string& path, const std::string& folder) {
  const std::string c = Canon(path), f = Canon(folder);
  if (!Within(c, f) || c == f) __builtin_trap();
}

void CheckCopy(const setup::CopyEntry& c, setup::TargetFolder where) {
  if (NameLeadsAway(c.target)) return;
  const std::string folder = where == setup::TargetFolder::Dest      ? kDest
                             : where == setup::TargetFolder::Windows ? kWindows
                                                                     : std::string(kWindows) + "\\System";
  const std::string target = setup::CopyTargetPath(where, kDest, kWindows, c.target);
  Inside(target, folder);
  // The waiting copy and the backup sit beside the target, under names of their own.
  const std::string ct = Canon(target), beside = ct.substr(0, ct.rfind('\\'));
  for (int n : {0, 10}) {
    const setup::Replacement r = setup::ReplacementNames(target, n);
    const std::string next = Canon(r.next), backup = Canon(r.backup);
    for (const std::string* p : {&next, &backup})
      if (p->substr(0, p->rfind('\\')) != beside || *p == ct) __builtin_trap();
    if (next == backup) __builtin_trap();
  }
}

void CheckRemove(const std::string& entry) {
  const std::string path = setup::ExpandRemovePath(entry, kWindows, std::string(kDest) + "\\");
  if (entry.rfind("<INSTALL>", 0) == 0) {
    if (!NameLeadsAway(entry.substr(9))) Inside(path, kDest);
  } else if (entry.rfind("<WINDIR>\\", 0) == 0) {
    if (!NameLeadsAway(entry.substr(9))) Inside(path, kWindows);
  } else if (entry.rfind("<WINDIR>", 0) != 0 && path != entry) {
    __builtin_trap();  // a full path is used unchanged
  }
}

}  // namespace

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
          for (auto where : {setup::TargetFolder::Dest, setup::TargetFolder::Windows, setup::TargetFolder::System})
            CheckCopy(c, where);
        } else if (kind == kRemove) {
          CheckRemove(e);
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
