// The arithmetic of the background gradient: its 256-entry colour table, the
// place of each band, and the reading of a system colour's registry text. No
// Windows API here, so it is tested natively.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace setup {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr int kBands = 256;
using ColorTable = std::array<Rgb, kBands>;

// Entry 0 is first, entry 255 last; in between each channel moves in 255 equal
// steps counted in units of 1/10000, every step rounded to the nearest unit
// and every entry truncated to a whole number.
ColorTable BuildColorTable(Rgb first, Rgb last);

// For an extent (height of horizontal bands, width of vertical ones): every
// band is extent / 255 + 1 pixels; band 0 starts at 0, band i at (i-1) * extent / 255.
int BandSize(int extent);
int BandStart(int band, int extent);

// Colours are held as the platform's colour words: 0x00BBGGRR, or a system
// colour constant 0x800000nn.
constexpr uint32_t kSystemColorFlag = 0x80000000u;
// The value name under "Control Panel\Colors" for system colour index 1 to 24,
// or null for any other index.
const char* SystemColorName(uint32_t index);
// The red, green and blue of a colour word's three low bytes.
Rgb ColorWordRgb(uint32_t color);
// "r g b": three decimal numbers of 0 to 255 separated by single blanks.
std::optional<Rgb> ParseColorText(std::string_view text);

}  // namespace setup
