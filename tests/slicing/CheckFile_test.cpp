#include "kerfwise/engine/CheckFile.h"

#include <gtest/gtest.h>

#include "kerfwise/engine/Crc32.h"

using namespace kerfwise;

namespace {
std::string Bytes(size_t n, unsigned seed) {
  std::string s(n, '\0');
  uint32_t x = seed;
  for (char& c : s) c = char((x = x * 1103515245u + 12345u) >> 23);
  return s;
}
uint32_t Of(const std::string& s) { return Crc32(0, s.data(), s.size()); }

// Bit by bit, as the polynomial is written down.
uint32_t Slow(uint32_t crc, const std::string& s) {
  uint32_t c = ~crc;
  for (char ch : s) {
    c ^= uint8_t(ch);
    for (int k = 0; k < 8; ++k) c = c & 1 ? (c >> 1) ^ 0xEDB88320u : c >> 1;
  }
  return ~c;
}
}  // namespace

// Every length and start around the steps of the fast paths (8 and 64 bytes).
TEST(Crc32, AgreesWithTheBitwiseDefinition) {
  std::string data = Bytes(5000, 3);
  for (size_t start : {0, 1, 3, 8})
    for (size_t n = 0; n <= 300; ++n) {
      std::string part = data.substr(start, n);
      ASSERT_EQ(Crc32(0x12345678u, part.data(), n), Slow(0x12345678u, part)) << start << " " << n;
    }
  EXPECT_EQ(Of(data), Slow(0, data));
}

TEST(Crc32, KnownValuesPiecesAndCombination) {
  EXPECT_EQ(Of(""), 0u);
  EXPECT_EQ(Of("123456789"), 0xCBF43926u);
  EXPECT_EQ(Of(std::string(32, '\0')), 0x190A55ADu);
  std::string data = Bytes(100000, 7);
  uint32_t whole = Of(data);
  for (size_t cut : {size_t(0), size_t(1), size_t(7), size_t(8), size_t(9), size_t(4096), size_t(99999), data.size()}) {
    std::string a = data.substr(0, cut), b = data.substr(cut);
    EXPECT_EQ(Crc32(Of(a), b.data(), b.size()), whole) << cut;
    EXPECT_EQ(Crc32Combine(Of(a), Of(b), int64_t(b.size())), whole) << cut;
  }
  // Lengths past 4 GiB: the combination of zeros equals their value run on.
  std::string zeros(1 << 20, '\0');
  uint32_t run = Of("x");
  uint32_t chunk = Of(zeros);
  uint32_t combined = run;
  for (int i = 0; i < 5000; ++i) {
    run = Crc32(run, zeros.data(), zeros.size());
    combined = Crc32Combine(combined, chunk, int64_t(zeros.size()));
  }
  EXPECT_EQ(combined, run);
  EXPECT_EQ(Crc32Combine(Of("x"), Of(""), 0), Of("x"));
}

TEST(CheckFile, WrittenAndReadBack) {
  CheckValues v{{0x1A2B3C4Du, 3000000, "My Report.DOC"},
                {{0x89ABCDEFu, 1441792, "My Report.s10"}, {0x0000000Fu, 116416, "My Report.s11"}}};
  std::string text = CheckFileText(v);
  EXPECT_EQ(text, "CRC32\r\n1A2B3C4D 3000000 My Report.DOC\r\n89ABCDEF 1441792 My Report.s10\r\n0000000F 116416 My Report.s11\r\n");
  std::optional<CheckValues> back = ParseCheckFile(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->whole.crc, v.whole.crc);
  EXPECT_EQ(back->whole.size, 3000000);
  EXPECT_EQ(back->whole.name, "My Report.DOC");
  ASSERT_EQ(back->slices.size(), 2u);
  EXPECT_EQ(back->slices[1].crc, 15u);
  EXPECT_EQ(back->slices[1].size, 116416);
  EXPECT_EQ(back->slices[1].name, "My Report.s11");
  EXPECT_TRUE(ParseCheckFile("CRC32\r\n0a0b0c0d 0 E\r\n0a0b0c0d 0 Es10\r\n")) << "lower-case digits, empty file";
  EXPECT_EQ(CheckFilePath("C:\\OUT\\REPORT.sss"), "C:\\OUT\\REPORT.ssc");
}

TEST(CheckFile, DamagedOrForeignTextIsRefused) {
  std::string good = "CRC32\r\n1A2B3C4D 20 R.DOC\r\n89ABCDEF 20 R.s10\r\n";
  ASSERT_TRUE(ParseCheckFile(good));
  std::vector<std::string> bad{"", "CRC32\r\n", "CRC32\r\n1A2B3C4D 20 R.DOC\r\n",
                          good.substr(0, good.size() - 1), good.substr(0, good.size() - 5),
                          "crc\r\n" + good.substr(7), "CRC32\n1A2B3C4D 20 R.DOC\n89ABCDEF 20 R.s10\n",
                          "CRC32\r\n1A2B3C4 20 R.DOC\r\n89ABCDEF 20 R.s10\r\n",
                          "CRC32\r\n1A2B3C4G 20 R.DOC\r\n89ABCDEF 20 R.s10\r\n",
                          "CRC32\r\n1A2B3C4D -20 R.DOC\r\n89ABCDEF 20 R.s10\r\n",
                          "CRC32\r\n1A2B3C4D 20R.DOC\r\n89ABCDEF 20 R.s10\r\n",
                          "CRC32\r\n1A2B3C4D 20 \r\n89ABCDEF 20 R.s10\r\n",
                          "CRC32\r\n1A2B3C4D 99999999999999999999 R.DOC\r\n89ABCDEF 20 R.s10\r\n",
                          good + "\r\n", "NODEL\r\nR.DOC\r\nR.s10\r\n"};
  for (const std::string& b : bad) EXPECT_FALSE(ParseCheckFile(b)) << b;
}
