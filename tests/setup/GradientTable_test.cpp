// The gradient's colour table and band layout.
#include "setup/startup/GradientTable.h"

#include <gtest/gtest.h>

using namespace setup;

TEST(GradientTable, BlackToBlueClimbsOneStepPerEntry) {
  ColorTable t = BuildColorTable({0, 0, 0}, {0, 0, 255});
  for (int i = 0; i < kBands; ++i) EXPECT_EQ(t[i], (Rgb{0, 0, uint8_t(i)})) << i;
}

TEST(GradientTable, StepsAreRoundedThenEntriesTruncated) {
  // 100 / 255 = 0.39215.. -> 3922 units a step; entry 1 = 0.3922 -> 0,
  // entry 3 = 1.1766 -> 1, entry 254 = 99.6188 -> 99.
  ColorTable t = BuildColorTable({0, 0, 0}, {100, 0, 0});
  EXPECT_EQ(t[1].r, 0);
  EXPECT_EQ(t[2].r, 0);
  EXPECT_EQ(t[3].r, 1);
  EXPECT_EQ(t[128].r, 50);  // 50.2016
  EXPECT_EQ(t[254].r, 99);
  EXPECT_EQ(t[255].r, 100);
  // Downwards: -100 / 255 -> -3922 units; 100 - 0.3922 truncates to 99.
  ColorTable d = BuildColorTable({100, 0, 0}, {0, 0, 0});
  EXPECT_EQ(d[1].r, 99);
  EXPECT_EQ(d[254].r, 0);  // 0.3812
  EXPECT_EQ(d[255].r, 0);
}

TEST(GradientTable, EveryEntryStaysBetweenTheEnds) {
  for (int a = 0; a < 256; a += 17)
    for (int b = 0; b < 256; b += 15) {
      ColorTable t = BuildColorTable({uint8_t(a), 0, 0}, {uint8_t(b), 0, 0});
      for (int i = 1; i < kBands; ++i) {
        EXPECT_LE(std::min(a, b), t[i].r);
        EXPECT_GE(std::max(a, b), t[i].r);
        // Monotone towards the end colour.
        if (a <= b) EXPECT_LE(t[i - 1].r, t[i].r);
        else EXPECT_GE(t[i - 1].r, t[i].r);
      }
    }
}

TEST(GradientTable, BandsOfA600PixelScreen) {
  EXPECT_EQ(BandSize(600), 3);
  EXPECT_EQ(BandSize(255), 2);
  EXPECT_EQ(BandSize(254), 1);
  EXPECT_EQ(BandStart(0, 600), 0);
  EXPECT_EQ(BandStart(1, 600), 0);  // band 1 covers band 0
  EXPECT_EQ(BandStart(2, 600), 2);
  EXPECT_EQ(BandStart(255, 600), 597);
  EXPECT_EQ(BandStart(255, 600) + BandSize(600), 600);  // the last band reaches the edge
  // Every pixel row is covered.
  for (int h : {1, 100, 254, 255, 256, 480, 600, 768, 1024}) {
    int reach = 0;
    for (int i = 0; i < kBands; ++i) {
      EXPECT_LE(BandStart(i, h), reach) << h << " band " << i;
      reach = std::max(reach, BandStart(i, h) + BandSize(h));
    }
    EXPECT_GE(reach, h) << h;
  }
}

TEST(GradientTable, SystemColourNamesAndText) {
  EXPECT_STREQ(SystemColorName(1), "Background");
  EXPECT_STREQ(SystemColorName(15), "ButtonFace");
  EXPECT_STREQ(SystemColorName(24), "InfoWindow");
  EXPECT_EQ(SystemColorName(0), nullptr);
  EXPECT_EQ(SystemColorName(25), nullptr);
  EXPECT_EQ(ColorWordRgb(0x00FF8001), (Rgb{1, 128, 255}));
  EXPECT_EQ(ParseColorText("192 192 192"), (Rgb{192, 192, 192}));
  EXPECT_EQ(ParseColorText("0 0 128"), (Rgb{0, 0, 128}));
  for (const char* bad : {"", "1 2", "1  2 3", "1 2 3 ", "256 0 0", "a b c", "1,2,3", "1 2 3 4"})
    EXPECT_EQ(ParseColorText(bad), std::nullopt) << bad;
}
