// The check values of a slice set: <base>.ssc beside the slice list, a text
// file of its own so that the slice list and the batch file stay as every
// other reader knows them. Lines end in CR LF:
//
//   CRC32
//   1A2B3C4D 3000000 REPORT.DOC      the whole file: CRC-32, size, name
//   89ABCDEF 1441792 REPORT.s10      then each slice in the list's order
//
// Written by the splitter before the slice list, read by the joiner; a set
// without it joins unchecked.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerfwise {

struct CheckValue {
  uint32_t crc = 0;
  int64_t size = 0;
  std::string name;  // without folder
};

struct CheckValues {
  CheckValue whole;
  std::vector<CheckValue> slices;
};

// <base>.ssc for the slice list <base>.sss (or any path with an extension).
std::string CheckFilePath(std::string_view listPath);

std::string CheckFileText(const CheckValues& values);

// Nothing for text that is not such a file (damaged, cut, or another kind).
std::optional<CheckValues> ParseCheckFile(std::string_view text);

// "1A2B3C4D"
std::string CrcText(uint32_t crc);

}  // namespace kerfwise
