// zipdemo ARCHIVE FOLDER: unpacks an archive the way the installer does, with
// TZipExtractor and UNPACK32.DLL, printing each file as its report arrives.
#include <cstdio>

#include "setup/components/ZipExtr.h"

namespace {

struct Demo {
  int files = 0;
  void Progress(setup::TZipExtractor* Sender, setup::ProgressType t, const std::string& name, int32_t size) {
    if (t != setup::ptFileBegin) return;
    ++files;
    std::printf("  [%d/%d] %-28s %7ld bytes\n", files, int(Sender->Count()), name.c_str(), long(size));
    std::fflush(stdout);
  }
  void Message(setup::TZipExtractor*, int32_t code, const std::string& text) {
    std::printf("  message %ld: %s\n", long(code), text.c_str());
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: zipdemo ARCHIVE FOLDER\n", stderr);
    return 2;
  }
  Demo d;
  setup::TZipExtractor z;
  z.OnProgress = setup::TProgressEvent::Bind<&Demo::Progress>(&d);
  z.OnMessage = setup::TMessageEvent::Bind<&Demo::Message>(&d);
  try {
    z.SetZipFilename(argv[1]);
  } catch (const std::exception& e) {
    std::printf("%s\n", e.what());
    return 1;
  }
  std::printf("%s: %d entries\n", argv[1], int(z.Count()));
  z.ExtrBaseDir = argv[2];
  z.ExtrOptions = {setup::ExtrDirNames};
  z.Extract();
  std::printf("LastResult %ld, %d entries unpacked into %s\n", long(z.LastResult()), d.files, argv[2]);
  return z.LastResult() == 0 ? 0 : 1;
}
