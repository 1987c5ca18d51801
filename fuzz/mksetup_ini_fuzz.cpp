// mksetup's checks of an installation list over any text: every problem names
// a line of the list, and nothing reads past it.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mksetup/IniCheck.h"
#include "setup/engine/ListFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mksetup::IniContext ctx;
  ctx.packageFiles = {"kwdemo.ex_", "readme.txt", "a.txt"};
  mksetup::IniFacts facts;
  const size_t lines = setup::SplitLines(text).size();
  for (const mksetup::Problem& p : mksetup::CheckSetupIni(text, ctx, &facts))
    if (p.line < 0 || size_t(p.line) > lines + 1 || p.text.empty()) std::abort();
  return 0;
}
