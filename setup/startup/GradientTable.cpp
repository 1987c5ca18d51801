#include "setup/startup/GradientTable.h"

namespace setup {

namespace {

// One channel's step in units of 1/10000, rounded to the nearest unit. The
// quotient is never exactly half way (only multiples of 51 divide evenly).
int32_t StepUnits(int from, int to) {
  int32_t scaled = (to - from) * 10000 * 2;
  int32_t twice = scaled / 255;
  return (twice + (twice >= 0 ? 1 : -1)) / 2;
}

}  // namespace

ColorTable BuildColorTable(Rgb first, Rgb last) {
  ColorTable t{};
  t[0] = first;
  t[kBands - 1] = last;
  int32_t sr = StepUnits(first.r, last.r), sg = StepUnits(first.g, last.g),
          sb = StepUnits(first.b, last.b);
  int32_t vr = first.r * 10000, vg = first.g * 10000, vb = first.b * 10000;
  for (int i = 1; i < kBands - 1; ++i) {
    vr += sr;
    vg += sg;
    vb += sb;
    t[i] = {uint8_t(vr / 10000), uint8_t(vg / 10000), uint8_t(vb / 10000)};
  }
  return t;
}

int BandSize(int extent) { return extent / 255 + 1; }

int BandStart(int band, int extent) { return band == 0 ? 0 : (band - 1) * extent / 255; }

const char* SystemColorName(uint32_t index) {
  static const char* const names[] = {
      "Background",     "ActiveTitle",   "InactiveTitle",     "Menu",
      "Window",         "WindowFrame",   "MenuText",          "WindowText",
      "TitleText",      "ActiveBorder",  "InactiveBorder",    "AppWorkspace",
      "Highlight",      "HighlightText", "ButtonFace",        "ButtonShadow",
      "GrayText",       "ButtonText",    "InactiveTitleText", "ButtonHilight",
      "ButtonDkShadow", "ButtonLight",   "InfoText",          "InfoWindow"};
  return index >= 1 && index <= 24 ? names[index - 1] : nullptr;
}

Rgb ColorWordRgb(uint32_t color) {
  return {uint8_t(color), uint8_t(color >> 8), uint8_t(color >> 16)};
}

std::optional<Rgb> ParseColorText(std::string_view text) {
  int v[3] = {0, 0, 0};
  size_t pos = 0;
  for (int k = 0; k < 3; ++k) {
    if (k > 0) {
      if (pos >= text.size() || text[pos] != ' ') return std::nullopt;
      ++pos;
    }
    size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && pos - start < 4)
      v[k] = v[k] * 10 + (text[pos++] - '0');
    if (pos == start || v[k] > 255) return std::nullopt;
  }
  if (pos != text.size()) return std::nullopt;
  return Rgb{uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2])};
}

}  // namespace setup
