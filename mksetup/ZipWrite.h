// Writing the install package: a plain ZIP archive of deflated (or, where
// deflate does not help, stored) entries, in the order given, with no clock
// and no platform fields, so the same files give the same bytes everywhere.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace mksetup {

struct ZipSource {
  std::string name;     // as stored: a plain file name
  std::string data;
  uint32_t dosTime = 0; // DOS date in the high word, time in the low
};

// How hard the files are packed: zlib's highest level, or an exhaustive
// deflate encoder (several times slower, a few percent smaller, still plain
// deflate for any unpacker).
enum class Packing { Default, Best };

// Whether this build has the exhaustive encoder.
bool HaveBestPacking();

// The archive's bytes. Packing::Best without the encoder throws kw::Error.
std::string WriteZip(const std::vector<ZipSource>& files, Packing packing = Packing::Default);

// A file time (seconds since 1970, UTC) in DOS form; before 1980 gives 1980-01-01.
uint32_t DosTime(int64_t unixTime);

}  // namespace mksetup
