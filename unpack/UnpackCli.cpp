// unpackcli [-d] [-o] ARCHIVE [FOLDER]: the extraction core on the command line
// (benchmark, by-hand checks). -d keeps stored folders, -o replaces files.
#include <cstdio>
#include <cstring>

#include "unpack/FileIo.h"

namespace {
struct Quiet : unpack::Reporter {
  bool FileBegin(const std::string&, uint32_t, int, int) override { return false; }
  bool Message(int, const std::string& text) override {
    std::fputs(text.c_str(), stderr);
    return false;
  }
};
}  // namespace

int main(int argc, char** argv) {
  unpack::Options opt;
  int i = 1;
  for (; i < argc && argv[i][0] == '-'; ++i) {
    opt.dirNames |= std::strchr(argv[i], 'd') != nullptr;
    opt.overwrite |= std::strchr(argv[i], 'o') != nullptr;
  }
  if (i >= argc) {
    std::fputs("usage: unpackcli [-d] [-o] ARCHIVE [FOLDER]\n", stderr);
    return 10;
  }
  opt.archiveName = argv[i];
  const auto in = unpack::OpenArchive(opt.archiveName);
  if (!in) {
    std::fprintf(stderr, "cannot open %s\n", argv[i]);
    return 9;
  }
  const auto out = unpack::FolderOutput(i + 1 < argc ? argv[i + 1] : "");
  Quiet q;
  return unpack::Extract(*in, *out, q, opt);
}
