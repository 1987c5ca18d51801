#include "setup/wizard/JoinParts.h"
#include "toolkit/Error.h"

#include <cstdio>
#include <stdexcept>

#include "toolkit/PathText.h"

namespace setup {

namespace {

struct File {
  FILE* f;
  ~File() {
    if (f) std::fclose(f);
  }
};

void AppendPart(FILE* out, const std::string& part) {
  File in{std::fopen(part.c_str(), "rb")};
  if (!in.f) throw kw::Error("Cannot open file " + part);
  char block[2048];
  for (;;) {
    size_t got = std::fread(block, 1, sizeof block, in.f);
    if (got == 0) break;
    if (std::fwrite(block, 1, got, out) < got) break;
  }
}

}  // namespace

void JoinParts(const std::string& archive, const std::vector<std::string>& parts) {
  bool clash = false;
  for (const std::string& p : parts) clash = clash || kw::SameText(p, archive);
  std::string target = clash ? archive + ".$$$" : archive;
  {
    File out{std::fopen(target.c_str(), "wb")};
    if (!out.f) throw kw::Error("Cannot create file " + target);
    for (const std::string& p : parts) AppendPart(out.f, p);
    if (std::fflush(out.f) != 0) throw kw::Error("Cannot create file " + target);
  }
  if (clash) {
    std::remove(archive.c_str());
    if (std::rename(target.c_str(), archive.c_str()) != 0)
      throw kw::Error("Cannot create file " + archive);
  }
}

}  // namespace setup
