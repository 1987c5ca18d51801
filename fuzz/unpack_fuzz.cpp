// Extracts arbitrary bytes as an archive into a folder in memory, with and
// without stored folders: no crash, no hang, nothing outside the folder (as
// Windows would resolve the names: trailing dots and blanks dropped, "..."
// two levels up), a result of 0 only when nothing was reported, and memory
// bounded by the input however large the sizes the archive declares.
#include <sanitizer/allocator_interface.h>

#include <cstdint>
#include <string>

#include "fuzz/WinSpelling.h"
#include "unpack/MemIo.h"

// A name conversion that turns high bytes into path characters, as a careless
// code page mapping might: the names must still be made safe.
static std::string Hostile(const std::string& s, bool utf8) {
  std::string out = s;
  for (char& c : out)
    if (static_cast<unsigned char>(c) >= 0x80) c = "\\/.:"[(static_cast<unsigned char>(c) + utf8) % 4];
  return out;
}

// Every path the extraction touches, as the target folder C:\T joined with
// it, lies below that folder; a colon would name a drive or a stream.
static void Below(const std::string& path) {
  if (path.find(':') != std::string::npos) __builtin_trap();
  const std::string c = fuzzmodel::Canon("C:\\T\\" + path);
  if (!fuzzmodel::Within(c, "c:\\t") || c == "c:\\t") __builtin_trap();
}

class GuardOutput : public unpack::Output {
 public:
  explicit GuardOutput(unpack::Output& out) : out_(out) {}
  Kind Probe(const std::string& path, uint32_t* dosTime) override {
    Below(path);
    return out_.Probe(path, dosTime);
  }
  bool MakeFolder(const std::string& path) override {
    Below(path);
    return out_.MakeFolder(path);
  }
  std::unique_ptr<unpack::OutFile> CreateNew(const std::string& path) override {
    Below(path);
    return out_.CreateNew(path);
  }
  bool Remove(const std::string& path) override {
    Below(path);
    return out_.Remove(path);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    Below(from);
    Below(to);
    return out_.Rename(from, to);
  }

 private:
  unpack::Output& out_;
};

// Live heap bytes and their peak, kept by the sanitizer's allocation hooks.
static size_t live, peak;
static void OnMalloc(const volatile void*, size_t n) {
  live += n;
  if (live > peak) peak = live;
}
static void OnFree(const volatile void* p) { live -= __sanitizer_get_allocated_size(p); }

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Deflate expands at most 1032 times; the output is held twice at most
  // (a rename copies), and the run's buffers and inflater need under 1 MiB.
  const size_t bound = (size_t(1) << 20) + 3 * 1032 * size;
  for (const bool dirNames : {false, true}) {
    const size_t base = live;
    peak = live;
    {
      unpack::MemInput in(std::string(reinterpret_cast<const char*>(data), size));
      unpack::MemOutput out;
      unpack::LogReporter rep;
      unpack::Options opt;
      opt.dirNames = dirNames;
      opt.overwrite = true;
      opt.convertName = Hostile;
      GuardOutput guard(out);
      const int rc = unpack::Extract(in, guard, rep, opt);
      if (rc == 0 && !rep.messages.empty()) __builtin_trap();
      for (const auto& f : out.files) {
        const std::string& p = f.first;
        if (p.empty() || p[0] == '/' || p.find(':') != std::string::npos || p.find('\\') != std::string::npos ||
            ("/" + p + "/").find("/../") != std::string::npos)
          __builtin_trap();
        if (!dirNames && p.find('/') != std::string::npos) __builtin_trap();
      }
    }
    if (peak - base > bound) __builtin_trap();
  }
  return 0;
}
