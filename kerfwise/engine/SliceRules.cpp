#include "kerfwise/engine/SliceRules.h"

#include <cmath>
#include <cstdlib>

#include "toolkit/PathText.h"

namespace kerfwise {

namespace {
// Far above any file; keeps the arithmetic inside 64 bits.
constexpr int64_t kHuge = int64_t(1) << 62;
constexpr int kMaxFraction = 12;  // digits; enough that * 1,024,000 stays exact

// Data bytes of a 720 KB floppy: 713 clusters of 1,024 bytes.
constexpr int64_t k720KData = 713 * 1024;

int64_t Pow10(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// A plain decimal number with a point: whole part and fraction digits.
struct Decimal {
  bool negative = false;
  int64_t whole = 0;     // capped at kHuge
  int64_t fraction = 0;  // the first kMaxFraction digits
  int digits = 0;        // how many of them
};

std::optional<Decimal> ReadDecimal(std::string_view s) {
  s = Trim(s);
  Decimal d;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    d.negative = s[0] == '-';
    s.remove_prefix(1);
  }
  size_t i = 0;
  bool any = false;
  for (; i < s.size() && IsDigit(s[i]); ++i, any = true)
    d.whole = d.whole >= kHuge / 10 ? kHuge : d.whole * 10 + (s[i] - '0');
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && IsDigit(s[i]); ++i, any = true)
      if (d.digits < kMaxFraction) {
        d.fraction = d.fraction * 10 + (s[i] - '0');
        ++d.digits;
      }
  }
  if (!any || i != s.size()) return std::nullopt;
  return d;
}

std::string WithBackslash(std::string_view folder) {
  std::string out(folder);
  if (!out.empty() && !kw::EndsWithChar(out, '\\')) out += '\\';
  return out;
}

std::string NameWithoutExt(std::string_view path) {
  return kw::ChangeFileExt(kw::ExtractFileName(path), "");
}
}  // namespace

SlicePlan ParseSliceSize(std::string_view text) {
  bool bytes = !text.empty() && text[0] == '@';
  std::optional<Decimal> d = ReadDecimal(bytes ? text.substr(1) : text);
  if (!d) throw SizeTextError("'" + std::string(text) + "' is not a valid slice size");
  int64_t size;
  if (d->negative) {
    size = 0;
  } else if (bytes) {
    size = d->whole;
  } else if (d->whole >= kHuge / 1024000) {
    size = kHuge;
  } else {
    size = d->whole * 1024000 - 32000 + d->fraction * 1024000 / Pow10(d->digits);
  }
  if (size < 1) throw SizeTextError("The slice size must be at least one byte");
  // 0.75 names the 720 KB floppy, whose 730,112 data bytes the formula's
  // 736,000 overshoots: it fills that disk exactly instead.
  if (!bytes && !d->negative && d->whole == 0 && d->digits >= 2 && d->fraction == 75 * Pow10(d->digits - 2))
    return SlicePlan{k720KData, k720KData};
  SlicePlan plan{size, size};
  // Decimal sizes cut at whole blocks; exact sizes, and sizes below one block,
  // cut at exactly the size.
  if (!bytes && size >= kBlock) plan.length = size / kBlock * kBlock;
  return plan;
}

int64_t DiskEstimate(std::string_view sizeText, char decimalSeparator, int64_t total) {
  // The run-time's float reading: blanks, sign, digits, the user's separator,
  // an exponent.
  std::string_view s = Trim(sizeText);
  std::string c;
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) c += s[i++];
  bool any = false;
  for (; i < s.size() && IsDigit(s[i]); ++i, any = true) c += s[i];
  if (i < s.size() && s[i] == decimalSeparator) {
    c += '.';
    for (++i; i < s.size() && IsDigit(s[i]); ++i, any = true) c += s[i];
  }
  if (!any) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    c += 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) c += s[i++];
    if (i == s.size() || !IsDigit(s[i])) return 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) c += s[i];
  }
  if (i != s.size()) return 0;
  double m = std::strtod(c.c_str(), nullptr);
  if (!(m > 0)) return 0;
  double disks = std::floor(double(total) / (m * 1048576.0));
  if (!(disks < double(kHuge))) return kHuge;
  return int64_t(disks) + 1;
}

std::vector<int64_t> SliceLengths(int64_t fileSize, const SlicePlan& plan) {
  std::vector<int64_t> out;
  int64_t rest = fileSize;
  while (rest > plan.threshold) {
    out.push_back(plan.length);
    rest -= plan.length;
  }
  out.push_back(rest);
  return out;
}

std::string SliceStem(std::string_view sourcePath) {
  std::string name = kw::ExtractFileName(sourcePath);
  // Three characters, which in a double-byte code page may be more bytes.
  std::vector<size_t> starts;
  for (size_t i = 0; i < name.size(); i += kw::CharSize(name, i)) starts.push_back(i);
  if (starts.size() >= 3) name.resize(starts[starts.size() - 3]);
  return name;
}

std::string SliceName(std::string_view stem, int number) {
  return std::string(stem) + "s" + std::to_string(number);
}

std::string SliceFolder(std::string_view sourcePath, Destination destination,
                        std::string_view driveText, std::string_view slicePath) {
  switch (destination) {
    case Destination::FloppyDisk: return WithBackslash(driveText);
    case Destination::SlicedPath: return WithBackslash(slicePath);
    default: return kw::ExtractFilePath(sourcePath);
  }
}

std::string BasePath(std::string_view sourcePath, Destination destination,
                     std::string_view driveText, std::string_view slicePath) {
  if (destination == Destination::CurrentDirectory) return kw::ChangeFileExt(sourcePath, "");
  return SliceFolder(sourcePath, destination, driveText, slicePath) + NameWithoutExt(sourcePath);
}

std::string ShortTargetName(std::string_view fileName) {
  std::string ext = kw::ExtractFileExt(fileName);
  std::string name(fileName);
  if (!ext.empty()) name.erase(name.find(ext), ext.size());
  std::string out;
  for (char c : name)  // a blank is never the second byte of a character
    if (c != ' ') out += c;
  return std::string(kw::CutToBytes(out, 7)) + ext;
}

std::vector<std::string> SliceListLines(bool deleteAfterJoin, std::string_view fileName,
                                        const std::vector<std::string>& slices) {
  std::vector<std::string> lines{deleteAfterJoin ? "DEL" : "NODEL", std::string(fileName)};
  lines.insert(lines.end(), slices.begin(), slices.end());
  return lines;
}

std::string JoinCrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

}  // namespace kerfwise
