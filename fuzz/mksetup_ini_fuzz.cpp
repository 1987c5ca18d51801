// mksetup's checks of an installation list over any text: every problem names
// a line of the list, and nothing reads past it. A list that passes them is
// one --plan can read through, and --uninstaller's :WIN line adds one line
// to a section (or a section of three) and changes none.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mksetup/Amend.h"
#include "mksetup/IniCheck.h"
#include "mksetup/Preview.h"
#include "setup/engine/ListFormat.h"
#include "toolkit/Error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mksetup::IniContext ctx;
  ctx.packageFiles = {"kwdemo.ex_", "readme.txt", "a.txt"};
  mksetup::IniFacts facts;
  const std::vector<std::string> lines = setup::SplitLines(text);
  const std::vector<mksetup::Problem> problems = mksetup::CheckSetupIni(text, ctx, &facts);
  for (const mksetup::Problem& p : problems)
    if (p.line < 0 || size_t(p.line) > lines.size() + 1 || p.text.empty()) std::abort();

  const std::vector<std::string> added = setup::SplitLines(mksetup::WithWinEntry(text, "q.exe"));
  const size_t grown = added.size() - lines.size();
  if (added.size() < lines.size() || (grown != 1 && grown != 3)) std::abort();
  for (size_t i = 0, j = 0; i < lines.size(); ++i, ++j) {
    while (j < added.size() && added[j] != lines[i]) ++j;
    if (j == added.size()) std::abort();
  }

  if (mksetup::HasErrors(problems)) return 0;
  mksetup::Project p;
  p.ini = std::string(text);
  p.facts = facts;
  try {
    mksetup::InstallPreview(p);
  } catch (const kw::Error&) {
    std::abort();
  }
  return 0;
}
