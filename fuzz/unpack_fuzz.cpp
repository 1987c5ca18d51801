// Extracts arbitrary bytes as an archive into a folder in memory, with and
// without stored folders: no crash, no hang, nothing outside the folder, and
// a result of 0 only when nothing was reported.
#include <cstdint>
#include <string>

#include "unpack/MemIo.h"

// A name conversion that turns high bytes into path characters, as a careless
// code page mapping might: the names must still be made safe.
static std::string Hostile(const std::string& s, bool utf8) {
  std::string out = s;
  for (char& c : out)
    if (static_cast<unsigned char>(c) >= 0x80) c = "\\/.:"[(static_cast<unsigned char>(c) + utf8) % 4];
  return out;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const bool dirNames : {false, true}) {
    unpack::MemInput in(std::string(reinterpret_cast<const char*>(data), size));
    unpack::MemOutput out;
    unpack::LogReporter rep;
    unpack::Options opt;
    opt.dirNames = dirNames;
    opt.overwrite = true;
    opt.convertName = Hostile;
    const int rc = unpack::Extract(in, out, rep, opt);
    if (rc == 0 && !rep.messages.empty()) __builtin_trap();
    for (const auto& f : out.files) {
      const std::string& p = f.first;
      if (p.empty() || p[0] == '/' || p.find(':') != std::string::npos || p.find('\\') != std::string::npos ||
          ("/" + p + "/").find("/../") != std::string::npos)
        __builtin_trap();
      if (!dirNames && p.find('/') != std::string::npos) __builtin_trap();
    }
  }
  return 0;
}
