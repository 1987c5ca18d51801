#include "kerfwise/engine/CheckFile.h"

#include "toolkit/PathText.h"

namespace kerfwise {

namespace {
constexpr std::string_view kHeader = "CRC32";
constexpr int64_t kMaxSize = int64_t(1) << 56;

std::string Line(const CheckValue& v) { return CrcText(v.crc) + " " + std::to_string(v.size) + " " + v.name + "\r\n"; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// "CRC SIZE NAME": eight hex digits, a decimal size, the rest is the name.
std::optional<CheckValue> ReadLine(std::string_view line) {
  CheckValue v;
  if (line.size() < 12 || line[8] != ' ') return std::nullopt;
  for (size_t i = 0; i < 8; ++i) {
    int d = HexDigit(line[i]);
    if (d < 0) return std::nullopt;
    v.crc = v.crc << 4 | uint32_t(d);
  }
  size_t i = 9;
  for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
    v.size = v.size * 10 + (line[i] - '0');
    if (v.size > kMaxSize) return std::nullopt;
  }
  if (i == 9 || i + 1 >= line.size() || line[i] != ' ') return std::nullopt;
  v.name = std::string(line.substr(i + 1));
  return v;
}
}  // namespace

std::string CheckFilePath(std::string_view listPath) { return kw::ChangeFileExt(listPath, ".ssc"); }

std::string CrcText(uint32_t crc) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out(8, '0');
  for (int i = 7; i >= 0; --i, crc >>= 4) out[size_t(i)] = kHex[crc & 15];
  return out;
}

std::string CheckFileText(const CheckValues& values) {
  std::string out = std::string(kHeader) + "\r\n" + Line(values.whole);
  for (const CheckValue& v : values.slices) out += Line(v);
  return out;
}

std::optional<CheckValues> ParseCheckFile(std::string_view text) {
  std::vector<CheckValue> lines;
  bool header = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    // Every line ends: a file cut in the middle of one is damaged.
    if (end == std::string_view::npos || end == 0 || text[end - 1] != '\r') return std::nullopt;
    std::string_view line = text.substr(0, end - 1);
    text.remove_prefix(end + 1);
    if (!header) {
      if (line != kHeader) return std::nullopt;
      header = true;
      continue;
    }
    std::optional<CheckValue> v = ReadLine(line);
    if (!v) return std::nullopt;
    lines.push_back(*v);
  }
  if (lines.size() < 2) return std::nullopt;
  CheckValues values;
  values.whole = lines[0];
  values.slices.assign(lines.begin() + 1, lines.end());
  return values;
}

}  // namespace kerfwise
