#include "mksetup/ZipWrite.h"

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <ctime>

#ifdef KW_HAVE_ZOPFLI
#include <zopfli/zopfli.h>

#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>
#endif

#include "toolkit/Error.h"

namespace mksetup {

namespace {

void Put16(std::string& s, uint32_t v) {
  s += char(v & 0xFF);
  s += char((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// Raw deflate at the highest level; empty when it does not make the data smaller.
std::string Deflate(const std::string& data) {
  z_stream z{};
  if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) throw kw::Error("deflate: out of memory");
  std::string out(deflateBound(&z, uLong(data.size())), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = uInt(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = uInt(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  if (rc != Z_STREAM_END) throw kw::Error("deflate failed");
  if (out.size() >= data.size()) out.clear();
  return out;
}

#ifdef KW_HAVE_ZOPFLI
// The exhaustive encoder's raw deflate, or empty when it is no smaller than
// zlib's. Its iteration count is fixed, so the bytes are the same every run.
std::string DeflateBest(const std::string& data, const std::string& zlibs) {
  // Data zlib cannot shrink (packed media, random bytes) is stored either way:
  // no need to spend the slow encoder on it.
  if (zlibs.empty()) return zlibs;
  ZopfliOptions o;
  ZopfliInitOptions(&o);
  // Most of the encoder's time is spent before its iterations; past these the
  // gain on project files is a few bytes in ten thousand, and big files get
  // fewer so that one file does not hold up the run.
  o.numiterations = data.size() > (4u << 20) ? 5 : 8;
  // Splitting a small file into blocks seldom saves a byte there and costs the
  // encoder most of its time on a tree of small sources.
  o.blocksplitting = data.size() > (16u << 10);
  unsigned char* out = nullptr;
  size_t outSize = 0;
  ZopfliCompress(&o, ZOPFLI_FORMAT_DEFLATE, reinterpret_cast<const unsigned char*>(data.data()), data.size(), &out,
                 &outSize);
  std::string packed;
  if (out && outSize < zlibs.size()) packed.assign(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  return packed.empty() ? zlibs : packed;
}
#endif

// Every file's packed body (empty: store it). Files are independent, so where
// the build has threads they are shared out over the processor's cores.
std::vector<std::string> PackAll(const std::vector<ZipSource>& files, Packing packing) {
#ifndef KW_HAVE_ZOPFLI
  if (packing == Packing::Best) throw kw::Error("--best: this build of mksetup has no exhaustive encoder; the Linux build has it");
#endif
  std::vector<std::string> packed(files.size());
  auto pack = [&](size_t i) {
    packed[i] = Deflate(files[i].data);
#ifdef KW_HAVE_ZOPFLI
    if (packing == Packing::Best) packed[i] = DeflateBest(files[i].data, packed[i]);
#endif
  };
#ifdef KW_HAVE_ZOPFLI
  // Largest first, so the last file to start is a small one.
  std::vector<size_t> order(files.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return files[a].data.size() > files[b].data.size(); });
  std::atomic<size_t> next{0};
  std::exception_ptr failed;  // the first failure, said once all threads are done
  std::mutex lock;
  auto work = [&] {
    for (size_t k; (k = next++) < order.size();) try {
        pack(order[k]);
      } catch (...) {
        std::lock_guard<std::mutex> g(lock);
        if (!failed) failed = std::current_exception();
        next = order.size();
      }
  };
  const unsigned n = std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < n; ++t) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
  if (failed) std::rethrow_exception(failed);
#else
  for (size_t i = 0; i < files.size(); ++i) pack(i);
#endif
  return packed;
}

}  // namespace

bool HaveBestPacking() {
#ifdef KW_HAVE_ZOPFLI
  return true;
#else
  return false;
#endif
}

uint32_t DosTime(int64_t unixTime) {
  if (unixTime < 315532800) return (0u << 25) | (1u << 21) | (1u << 16);  // 1980-01-01 00:00
  const time_t t = time_t(unixTime);
  const std::tm* g = std::gmtime(&t);
  if (!g || g->tm_year > 207) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return uint32_t(g->tm_year - 80) << 25 | uint32_t(g->tm_mon + 1) << 21 | uint32_t(g->tm_mday) << 16 |
         uint32_t(g->tm_hour) << 11 | uint32_t(g->tm_min) << 5 | uint32_t(g->tm_sec / 2);
}

std::string WriteZip(const std::vector<ZipSource>& files, Packing packing) {
  std::string zip, central;
  for (const ZipSource& f : files)
    if (f.data.size() >= 0xFFFFFFFFu) throw kw::Error(f.name + ": the archive cannot hold files or packages of 4 GB");
  const std::vector<std::string> bodies = PackAll(files, packing);
  for (size_t i = 0; i < files.size(); ++i) {
    const ZipSource& f = files[i];
    if (zip.size() >= 0xFFFFFFFFu) throw kw::Error(f.name + ": the archive cannot hold files or packages of 4 GB");
    const std::string& packed = bodies[i];
    const bool stored = packed.empty() && !f.data.empty();
    const std::string& body = stored || f.data.empty() ? f.data : packed;
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(f.data.data()), uInt(f.data.size())));
    const uint32_t method = stored || f.data.empty() ? 0 : 8;
    const uint32_t offset = uint32_t(zip.size());
    std::string common;
    Put16(common, 20);  // version needed: deflate
    Put16(common, method == 8 ? 2 : 0);  // general flags: maximum compression
    Put16(common, method);
    Put32(common, f.dosTime);
    Put32(common, crc);
    Put32(common, uint32_t(body.size()));
    Put32(common, uint32_t(f.data.size()));
    Put16(common, uint32_t(f.name.size()));
    Put16(common, 0);  // no extra field
    Put32(zip, 0x04034B50);
    zip += common;
    zip += f.name;
    zip += body;
    Put32(central, 0x02014B50);
    Put16(central, 20);  // made by: MS-DOS, 2.0
    central += common;
    Put16(central, 0);  // comment
    Put16(central, 0);  // disk
    Put16(central, 0);  // internal attributes
    Put32(central, 0x20);  // the archive attribute
    Put32(central, offset);
    central += f.name;
  }
  const uint32_t at = uint32_t(zip.size());
  zip += central;
  Put32(zip, 0x06054B50);
  Put16(zip, 0);
  Put16(zip, 0);
  Put16(zip, uint32_t(files.size()));
  Put16(zip, uint32_t(files.size()));
  Put32(zip, uint32_t(central.size()));
  Put32(zip, at);
  Put16(zip, 0);
  return zip;
}

}  // namespace mksetup
