// A stand-in for UNPACK32.DLL (same name, same ordinal): keeps what the
// request carried, and plays the reports its file specifications script:
// "R<action>:<code>:<size>:<text>" sends a report (\r and \n in text become
// CR and LF), "=<n>" sets the result.
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/zipextr/double/UnzipDouble.h"

static DoubleRecord seen;

extern "C" const DoubleRecord* DoubleSeen() { return &seen; }

extern "C" int32_t UNZIP_API UnzipExtract(UnzipRequest* q) {
  seen = DoubleRecord();
  seen.calls++;
  std::memcpy(seen.words, q, sizeof seen.words);
  seen.request = *q;
  std::strncpy(seen.zipName, q->ZipName ? q->ZipName : "", sizeof seen.zipName - 1);
  int32_t result = 0;
  for (int i = 0; i < q->ArgCount && i < kDoubleSpecs; ++i) {
    std::string s = q->FileSpecs[i];
    std::strncpy(seen.specs[i], s.c_str(), sizeof seen.specs[i] - 1);
    if (s[0] == '=') result = std::atoi(s.c_str() + 1);
    if (s[0] != 'R') continue;
    UnzipReport r{};
    r.Caller = q->Caller;
    char* end;
    r.Action = int32_t(std::strtol(s.c_str() + 1, &end, 10));
    r.ErrCode = int32_t(std::strtol(end + 1, &end, 10));
    r.FileSize = int32_t(std::strtol(end + 1, &end, 10));
    std::string text = end + 1;
    for (size_t p; (p = text.find("\\n")) != std::string::npos;) text.replace(p, 2, "\n");
    for (size_t p; (p = text.find("\\r")) != std::string::npos;) text.replace(p, 2, "\r");
    std::strncpy(r.Text, text.c_str(), sizeof r.Text - 1);
    seen.answers += q->Callback(&r);
  }
  return result;
}
