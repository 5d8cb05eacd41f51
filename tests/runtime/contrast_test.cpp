// Contrast figures are the published WCAG ratios of well-known pairs.
#include "runtime/contrast.h"

#include <gtest/gtest.h>

namespace pigmo::runtime {
namespace {

TEST(ContrastRatio, KnownPairsEitherWayRound) {
  struct Pair {
    runtime::Colour a, b;
    double ratio;
  };
  const Pair pairs[] = {
      {0x000000, 0xFFFFFF, 21.0}, {0x0000FF, 0xFFFFFF, 4.00},  // red on white
      {0x008000, 0xFFFFFF, 5.14}, {0xFF0000, 0xFFFFFF, 8.59},  // green, blue on white
      {0x777777, 0xFFFFFF, 4.48}, {0x0000FF, 0x000000, 5.25},  // mid grey; red on black
      {0x123456, 0x123456, 1.0},
  };
  for (const Pair& p : pairs) {
    EXPECT_NEAR(ContrastRatio(p.a, p.b), p.ratio, 0.005) << std::hex << p.a << " on " << p.b;
    EXPECT_NEAR(ContrastRatio(p.b, p.a), p.ratio, 0.005) << std::hex << p.b << " on " << p.a;
  }
}

TEST(TextColour, OwnColourWhileItReadsAndTheSchemeLeavesItTheirs) {
  constexpr runtime::Colour kSchemeText = 0xEEEEEE, kDark = 0x2D2D2D, kLightFace = 0xEFEFEF;
  struct Case {
    std::optional<runtime::Colour> own;
    runtime::Colour background;
    bool high_contrast;
    runtime::Colour painted;
  };
  const Case cases[] = {
      {0x0000FF, kLightFace, false, 0x0000FF},  // red on the light face, about 3.5:1
      {0x008000, kDark, false, kSchemeText},    // green on dark grey, about 2.5:1
      {0x0000FF, kDark, false, 0x0000FF},       // red still reads on dark grey
      {0x000000, kDark, false, kSchemeText},
      {0x808080, 0xFFFFFF, false, 0x808080},     // 3.95:1
      {0x959595, 0xFFFFFF, false, kSchemeText},  // 2.95:1, just short
      {0x000000, 0xFFFFFF, true, kSchemeText},   // high contrast: the system's colours
      {std::nullopt, kLightFace, false, kSchemeText},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextColour(c.own, kSchemeText, c.background, c.high_contrast), c.painted)
        << std::hex << c.own.value_or(0xFFFFFFFF) << " on " << c.background << (c.high_contrast ? " (high)" : "");
  }
}

}  // namespace
}  // namespace pigmo::runtime
