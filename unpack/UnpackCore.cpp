#include "unpack/UnpackCore.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "toolkit/PathText.h"
#include "unpack/UnzipApi.h"

namespace unpack {
namespace {

constexpr size_t kBuf = 256 * 1024;  // large blocks: no per-byte work
constexpr uint32_t kSigLocal = 0x04034B50;
constexpr uint32_t kSigCentral = 0x02014B50;
constexpr uint32_t kSigEnd = 0x06054B50;
constexpr uint32_t kSigZip64Locator = 0x07064B50;

uint16_t Get16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Get32(const unsigned char* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

struct Entry {
  std::string name;  // as stored
  uint16_t flags, method;
  uint32_t dosTime, crc, csize, usize;
  uint64_t localOffset;
  bool zip64;
};

char LowerChar(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c == '\\' ? '/' : c; }

bool HasHighBytes(const std::string& s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

bool IsDeviceName(const std::string& part) {
  std::string base;
  for (char c : part.substr(0, part.find('.'))) base += char(c >= 'a' && c <= 'z' ? c - 32 : c);
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const names[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
  for (const char* n : names)
    if (base == n) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' && base[3] <= '9';
}

class Run {
 public:
  Run(Input& in, Output& out, Reporter& rep, const Options& opt) : in_(in), out_(out), rep_(rep), opt_(opt) {}
  ~Run() {
    if (zReady_) inflateEnd(&z_);
  }

  int Go() {
    if (!ReadDirectory()) return result_;
    std::vector<bool> matched(opt_.specs.size());
    for (size_t i = 0; i < entries_.size() && !stop_; ++i) {
      const Entry& e = entries_[i];
      bool selected = opt_.specs.empty();
      for (size_t s = 0; s < opt_.specs.size(); ++s)
        if (MatchSpec(opt_.specs[s], e.name)) selected = matched[s] = true;
      if (selected) One(e, int(i + 1));
    }
    for (size_t s = 0; s < opt_.specs.size() && !stop_; ++s)
      if (!matched[s]) Problem(kUzNoMatch, "caution: filename not matched: " + opt_.specs[s]);
    return stop_ ? kUzCancelled : result_;
  }

 private:
  void Problem(int code, const std::string& text) {
    result_ = std::max(result_, code);
    if (rep_.Message(code, text + "\r\n")) stop_ = true;
  }
  void Notice(const std::string& text) {
    if (opt_.verbose && rep_.Message(0, text + "\r\n")) stop_ = true;
  }

  // Finds the end record and reads the central directory into entries_.
  bool ReadDirectory() {
    const uint64_t size = in_.Size();
    const std::string& zn = opt_.archiveName;
    const size_t tail = size_t(std::min<uint64_t>(size, 22 + 0xFFFF));
    std::vector<unsigned char> t(tail);
    if (tail < 22 || !in_.ReadAt(size - tail, t.data(), tail)) return Fail(kUzArchive, "cannot find zipfile directory in " + zn);
    size_t at = tail - 22 + 1;
    bool found = false;
    while (at-- > 0)
      if (Get32(&t[at]) == kSigEnd && at + 22 + Get16(&t[at + 20]) <= tail) {
        found = true;
        break;
      }
    if (!found) return Fail(kUzArchive, "cannot find zipfile directory in " + zn);
    const unsigned char* e = &t[at];
    const uint64_t endPos = size - tail + at;
    const uint32_t count = Get16(e + 10), cdSize = Get32(e + 12), cdOffset = Get32(e + 16);
    if (Get16(e + 4) != 0 || Get16(e + 6) != 0 || Get16(e + 8) != count)
      return Fail(kUzArchive, zn + ": archives in several parts are not supported");
    bool locator = false;
    unsigned char l[4];
    if (endPos >= 20 && in_.ReadAt(endPos - 20, l, 4)) locator = Get32(l) == kSigZip64Locator;
    if (locator || count == 0xFFFF || cdSize == 0xFFFFFFFF || cdOffset == 0xFFFFFFFF)
      return Fail(kUzArchive, zn + ": ZIP64 archives are not supported");
    // Data put before the archive (a self-extractor's stub) shifts every offset.
    if (uint64_t(cdOffset) + cdSize > endPos) return Fail(kUzArchive, zn + ": the zipfile directory is damaged");
    shift_ = endPos - cdSize - cdOffset;
    cdStart_ = endPos - cdSize;
    std::vector<unsigned char> cd(cdSize);
    if (cdSize && !in_.ReadAt(cdStart_, cd.data(), cdSize)) return Fail(kUzArchive, zn + ": the zipfile directory is damaged");
    size_t p = 0;
    entries_.reserve(std::min<size_t>(count, cdSize / 46));
    for (uint32_t i = 0; i < count; ++i) {
      if (cdSize - p < 46 || Get32(&cd[p]) != kSigCentral) return Fail(kUzArchive, zn + ": the zipfile directory is damaged");
      const unsigned char* h = &cd[p];
      const size_t nlen = Get16(h + 28), xlen = Get16(h + 30), clen = Get16(h + 32);
      if (cdSize - p - 46 < nlen + xlen + clen) return Fail(kUzArchive, zn + ": the zipfile directory is damaged");
      Entry en;
      en.flags = Get16(h + 8);
      en.method = Get16(h + 10);
      en.dosTime = uint32_t(Get16(h + 14)) << 16 | Get16(h + 12);
      en.crc = Get32(h + 16);
      en.csize = Get32(h + 20);
      en.usize = Get32(h + 24);
      const uint32_t off = Get32(h + 42);
      en.zip64 = en.csize == 0xFFFFFFFF || en.usize == 0xFFFFFFFF || off == 0xFFFFFFFF || Get16(h + 34) == 0xFFFF;
      en.localOffset = off + shift_;
      en.name.assign(reinterpret_cast<const char*>(h + 46), nlen);
      if (opt_.convertName && HasHighBytes(en.name)) en.name = opt_.convertName(en.name, en.flags & 0x800);
      entries_.push_back(std::move(en));
      p += 46 + nlen + xlen + clen;
    }
    for (const Entry& en : entries_) starts_.push_back(en.localOffset);
    std::sort(starts_.begin(), starts_.end());
    return true;
  }
  bool Fail(int code, const std::string& text) {
    Problem(code, text);
    return false;
  }

  // Extracts one selected entry.
  void One(const Entry& e, int index) {
    const std::string& n = e.name;
    std::string why;
    std::string path = SafePath(n, &why);
    if (path.empty()) return Problem(kUzSkipped, "skipping: " + n + ": " + why);
    if (e.zip64) return Problem(kUzSkipped, "skipping: " + n + ": ZIP64 entries are not supported");
    if (e.flags & 1) return Problem(kUzSkipped, "skipping: " + n + ": encrypted entries are not supported");
    if (e.method != 0 && e.method != 8)
      return Problem(kUzSkipped, "skipping: " + n + ": compression method " + std::to_string(e.method) + " is not supported");
    const bool folder = path.back() == '/';
    if (folder) {
      if (!opt_.dirNames) return;
      path.pop_back();
      stop_ = rep_.FileBegin(n, 0, index, int(entries_.size()));
      if (stop_) return;
      if (!MakeFolders(path + "/")) Problem(kUzWrite, "error: cannot create folder " + path);
      return;
    }
    if (!opt_.dirNames) path = path.substr(path.rfind('/') + 1);
    // "readme.txt" and "docs/README.TXT" flattened, or "A.TXT" and "a.txt":
    // the later entry would be passed over as existing, or replace the first.
    const auto claim = claimed_.emplace(Fold(path), n);
    if (!claim.second) return Problem(kUzSkipped, "error: " + n + " and " + claim.first->second + " both land on " + path);
    uint32_t oldTime = 0;
    const Output::Kind there = out_.Probe(path, &oldTime);
    if (there == Output::kFolder) return Problem(kUzWrite, "error: cannot replace folder " + path + " by a file");
    if (there == Output::kFile) {
      const bool newer = (opt_.freshen || opt_.update) && e.dosTime > oldTime;
      if (!opt_.overwrite && !newer) return Notice("skipping: " + path + " exists");
    } else if (opt_.freshen && !opt_.update) {
      return;
    }
    if (opt_.dirNames && !MakeFolders(path)) return Problem(kUzWrite, "error: cannot create folder for " + path);
    stop_ = rep_.FileBegin(n, e.usize, index, int(entries_.size()));
    if (stop_) return;
    WriteEntry(e, path, there == Output::kFile);
  }

  std::string Fold(const std::string& path) const {
    if (opt_.foldName) return opt_.foldName(path);
    std::string key = path;
    for (size_t i = 0; i < key.size(); i += kw::CharSize(key, i)) key[i] = LowerChar(key[i]);
    return key;
  }

  // Makes every folder on the way to path (up to its last '/').
  bool MakeFolders(const std::string& path) {
    for (size_t i = path.find('/'); i != std::string::npos; i = path.find('/', i + 1)) {
      const std::string dir = path.substr(0, i);
      const Output::Kind k = out_.Probe(dir, nullptr);
      if (k == Output::kFile || (k == Output::kNone && !out_.MakeFolder(dir))) return false;
    }
    return true;
  }

  void WriteEntry(const Entry& e, const std::string& path, bool replace) {
    const std::string& n = e.name;
    unsigned char h[30];
    if (!in_.ReadAt(e.localOffset, h, 30) || Get32(h) != kSigLocal)
      return Problem(kUzDamaged, "error: " + n + ": local header missing or damaged");
    const uint64_t data = e.localOffset + 30 + Get16(h + 26) + Get16(h + 28);
    if (data + e.csize > cdStart_) return Problem(kUzDamaged, "error: " + n + ": data runs past the end of the archive");
    // Entries sharing their data would let a small archive fill the disk.
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), e.localOffset);
    if (next - starts_.begin() >= 2 && next[-2] == e.localOffset)
      return Problem(kUzDamaged, "error: " + n + ": shares its data with another entry");
    if (next != starts_.end() && data + e.csize > *next)
      return Problem(kUzDamaged, "error: " + n + ": overlaps another entry");
    const size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    TempFile t(out_);
    for (int i = 0; i < 100 && !t.file; ++i) {
      const std::string name = dir + "~unp" + std::to_string(++tmpSeq_) + ".tmp";
      if (name != path && (t.file = out_.CreateNew(name))) t.path = name;
    }
    if (!t.file) return Problem(kUzWrite, "error: cannot create a file in the folder of " + path);
    std::string err = e.method == 0 ? Copy(e, data, *t.file) : Inflate(e, data, *t.file);
    if (err.empty() && !t.file->Close(e.dosTime)) err = "write error (disk full?)";
    t.file.reset();
    if (!err.empty()) {
      t.Drop();
      return Problem(err[0] == 'w' ? kUzWrite : kUzDamaged, "error: " + n + ": " + err);
    }
    if (replace && !out_.Remove(path)) {
      t.Drop();
      return Problem(kUzWrite, "error: cannot replace " + path);
    }
    if (!out_.Rename(t.path, path)) {
      t.Drop();
      return Problem(kUzWrite, "error: cannot create " + path);
    }
    t.path.clear();
  }

  // The temporary file an entry is written to; removed on every way out,
  // an exception included, unless it was renamed.
  struct TempFile {
    explicit TempFile(Output& o) : out(o) {}
    ~TempFile() { Drop(); }
    void Drop() {
      file.reset();  // closed before it is removed
      if (!path.empty()) out.Remove(path);
      path.clear();
    }
    Output& out;
    std::string path;
    std::unique_ptr<OutFile> file;
  };

  std::string Copy(const Entry& e, uint64_t at, OutFile& f) {
    if (e.csize != e.usize) return "stored sizes do not agree";
    unsigned char* const buf = Buffer(inBuf_, e.csize);
    uLong crc = crc32(0, nullptr, 0);
    for (uint64_t left = e.csize; left;) {
      const size_t n = size_t(std::min<uint64_t>(left, inBuf_.size));
      if (!in_.ReadAt(at, buf, n)) return "data cut short";
      crc = crc32(crc, buf, uInt(n));
      if (!f.Write(buf, n)) return "write error (disk full?)";
      at += n;
      left -= n;
    }
    return crc == e.crc ? "" : "bad CRC";
  }

  std::string Inflate(const Entry& e, uint64_t at, OutFile& f) {
    // One inflater per run, reset per entry: its set-up and window cost more
    // than a small entry's data.
    if (!zReady_ && inflateInit2(&z_, -MAX_WBITS) != Z_OK) return "out of memory";
    zReady_ = true;
    if (inflateReset(&z_) != Z_OK) return "out of memory";
    z_stream& z = z_;
    z.avail_in = 0;  // nothing carried over from the entry before
    unsigned char* const ibuf = Buffer(inBuf_, e.csize);
    // One byte beyond the recorded size shows data that runs longer.
    unsigned char* const obuf = Buffer(outBuf_, uint64_t(e.usize) + 1);
    uLong crc = crc32(0, nullptr, 0);
    uint64_t left = e.csize, written = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
      if (z.avail_in == 0) {
        if (left == 0) return "data cut short";
        const size_t n = size_t(std::min<uint64_t>(left, inBuf_.size));
        if (!in_.ReadAt(at, ibuf, n)) return "data cut short";
        at += n;
        left -= n;
        z.next_in = ibuf;
        z.avail_in = uInt(n);
      }
      z.next_out = obuf;
      z.avail_out = uInt(outBuf_.size);
      rc = inflate(&z, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END) return "compressed data damaged";
      const size_t n = outBuf_.size - z.avail_out;
      written += n;
      if (written > e.usize) return "data longer than its recorded size";
      crc = crc32(crc, obuf, uInt(n));
      if (n && !f.Write(obuf, n)) return "write error (disk full?)";
    }
    if (written != e.usize) return "data shorter than its recorded size";
    return crc == e.crc ? "" : "bad CRC";
  }

  // A buffer of at least want bytes (4 KiB to kBuf), kept for the run and
  // never cleared: small entries cost no large allocation.
  struct Buf {
    std::unique_ptr<unsigned char[]> p;
    size_t size = 0;
  };
  static unsigned char* Buffer(Buf& b, uint64_t want) {
    const size_t n = size_t(std::clamp<uint64_t>(want, 4096, kBuf));
    if (b.size < n) {
      b.p.reset(new unsigned char[n]);
      b.size = n;
    }
    return b.p.get();
  }

  Input& in_;
  Output& out_;
  Reporter& rep_;
  const Options& opt_;
  std::vector<Entry> entries_;
  std::vector<uint64_t> starts_;  // local header offsets, sorted
  std::map<std::string, std::string> claimed_;  // folded output path -> the entry that took it
  Buf inBuf_, outBuf_;
  z_stream z_{};
  bool zReady_ = false;
  uint64_t shift_ = 0, cdStart_ = 0;
  int result_ = 0;
  bool stop_ = false;
  unsigned tmpSeq_ = 0;
};

}  // namespace

std::string SafePath(const std::string& stored, std::string* why) {
  std::string out, part;
  const std::string& name = stored;
  const bool folder = kw::EndsWithChar(name, '/') || kw::EndsWithChar(name, '\\');
  if (name.empty()) return *why = "empty name", "";
  if (name[0] == '/' || name[0] == '\\') return *why = "absolute path refused", "";
  if (name.find(':') != std::string::npos) return *why = "drive letter or stream name refused", "";
  for (size_t i = 0; i <= name.size(); ++i) {
    const char c = i < name.size() ? name[i] : '/';
    if (i < name.size() && kw::CharSize(name, i) == 2) {
      // A double-byte character: its second byte may be '\\' but divides nothing.
      part.append(name, i++, 2);
      continue;
    }
    if (c != '/' && c != '\\') {
      if (static_cast<unsigned char>(c) < 32 || std::strchr("<>\"|?*", c)) return *why = "invalid character in name", "";
      part += c;
      continue;
    }
    if (part == "..") return *why = "parent folder (..) refused", "";
    if (!part.empty() && part != ".") {
      // Windows drops trailing dots and blanks: ".. " would mean "..".
      if (part.back() == '.' || part.back() == ' ') return *why = "name part ending in a dot or blank refused", "";
      if (IsDeviceName(part)) return *why = "device name refused", "";
      out += out.empty() ? part : "/" + part;
    }
    part.clear();
  }
  if (out.empty()) return *why = "empty name", "";
  return folder ? out + "/" : out;
}

bool MatchSpec(const std::string& spec, const std::string& name) {
  // Iterative wildcard match with one backtrack point: linear-ish, no recursion.
  size_t s = 0, n = 0, star = std::string::npos, mark = 0;
  while (n < name.size()) {
    if (s < spec.size() && spec[s] == '*') {
      star = s++;
      mark = n;
    } else if (s < spec.size() && (spec[s] == '?' || LowerChar(spec[s]) == LowerChar(name[n]))) {
      ++s;
      ++n;
    } else if (star != std::string::npos) {
      s = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (s < spec.size() && spec[s] == '*') ++s;
  return s == spec.size();
}

int Extract(Input& in, Output& out, Reporter& rep, const Options& opt) { return Run(in, out, rep, opt).Go(); }

}  // namespace unpack
