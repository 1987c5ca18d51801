// kwslice [--no-check] SIZE OUTDIR FILE...: a slicing run without a window,
// for the benchmark and the demo. Slices go to OUTDIR ("Sliced Path"); the
// exit code is 0 when every file was sliced. --no-check leaves the check
// values out, so that the benchmark can tell what they cost.
#include <cstdio>
#include <string>

#include "kerfwise/engine/SliceRun.h"

namespace {
struct QuietHost : kerfwise::SliceHost {
  void RunStarted() override {}
  void RunEnded() override {}
  void SetProgress(int) override {}
  bool ProcessMessages() override { return false; }
  bool DiskPrompt(const std::string&) override { return true; }
  void ShowError(const std::string& t) override { std::fprintf(stderr, "kwslice: %s\n", t.c_str()); }
  void ShowNote(const std::string& t) override { std::fprintf(stderr, "kwslice: %s\n", t.c_str()); }
  void CloseMainWindow() override {}
};

// The engine speaks Windows paths; the native file layer turns them back.
std::string WindowsPath(std::string p) {
  for (char& c : p)
    if (c == '/') c = '\\';
  return p;
}
}  // namespace

int main(int argc, char** argv) {
  kerfwise::RunInputs in;
  if (argc > 1 && std::string(argv[1]) == "--no-check") {
    in.checkValues = false;
    --argc;
    ++argv;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: kwslice [--no-check] SIZE OUTDIR FILE...\n");
    return 2;
  }
  in.sizeText = argv[1];
  in.destination = kerfwise::Destination::SlicedPath;
  in.slicePath = WindowsPath(argv[2]);
  for (int i = 3; i < argc; ++i) in.sources.push_back(WindowsPath(argv[i]));
  QuietHost host;
  return kerfwise::RunSlicing(in, host, kerfwise::SystemPlatform()) == kerfwise::RunOutcome::Done ? 0 : 1;
}
