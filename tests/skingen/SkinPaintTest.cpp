// The generator's painting kit: what lands outside, on and inside a rounded box.
#include <gtest/gtest.h>

#include "SkinPaint.h"

namespace kv::skingen {
namespace {

constexpr TRgb kBorder{10, 20, 30}, kFill{200, 210, 220}, kBack{1, 2, 3};

TEST(SkinPaint, RoundedBoxCornersTakeTheBackdropOrTheKey) {
  const TBox box{kBorder, kFill, kWhite, 0.0, TCorners::All(3)};
  for (bool keyed : {false, true}) {
    SCOPED_TRACE(keyed ? "keyed" : "opaque");
    TPixelBitmap b(10, 8, 0);
    DrawBox(b, b.Bounds(), box, Plain(kBack, keyed));
    // Every pixel is painted: the corner outside the arc is the backdrop (never left
    // as it was), or magenta when the picture is keyed.
    EXPECT_EQ(b.Pixel(0, 0), keyed ? kKey.Pixel() : kBack.Pixel());
    EXPECT_EQ(b.Pixel(9, 7), keyed ? kKey.Pixel() : kBack.Pixel());
    EXPECT_EQ(b.Pixel(5, 0), kBorder.Pixel());
    EXPECT_EQ(b.Pixel(0, 4), kBorder.Pixel());
    EXPECT_EQ(b.Pixel(5, 4), kFill.Pixel());
    // On the arc the border is blended with what lies outside, not keyed.
    EXPECT_NE(b.Pixel(1, 1), kKey.Pixel());
  }
}

TEST(SkinPaint, GlowRingAndGradientSpanTheBox) {
  const TRgb top{100, 100, 100}, bottom{200, 200, 200};
  TPixelBitmap b(6, 11, 0);
  DrawBox(b, b.Bounds(), {kBorder, {{0.0, top}, {1.0, bottom}}, kWhite, 1.0, {}, true}, Plain(kBack));
  EXPECT_EQ(b.Pixel(3, 1), kWhite.Pixel()) << "ring along the top";
  EXPECT_EQ(b.Pixel(1, 5), kWhite.Pixel()) << "ring along the left";
  EXPECT_EQ(b.Pixel(4, 5), (TRgb{150, 150, 150}.Pixel())) << "no ring on the right; the fill's middle row";
  EXPECT_EQ(b.Pixel(4, 9), Mix(top, bottom, 0.9).Pixel());
  EXPECT_EQ(TGradient({{0.0, top}, {0.5, kWhite}, {1.0, bottom}}).At(0.25), Mix(top, kWhite, 0.5));
}

TEST(SkinPaint, StampBlendsHalfPixelsOverTheKeyWithTheColourUnderIt) {
  TPixelBitmap b(3, 1, kKey.Pixel());
  b.SetPixel(2, 0, kBack.Pixel());
  Stamp(b, 0, 0, {"#+-"}, kBlack, kWhite);
  EXPECT_EQ(b.Pixel(0, 0), kBlack.Pixel());
  EXPECT_EQ(b.Pixel(1, 0), Mix(kWhite, kBlack, 0.5).Pixel());
  EXPECT_EQ(b.Pixel(2, 0), Mix(kBack, kBlack, 0.25).Pixel());
}

}  // namespace
}  // namespace kv::skingen
