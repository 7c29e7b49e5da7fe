// Resampling skin pictures for a display scale: the key colour stays exact, whole factors
// repeat pixels, frames stay apart, and the nine-slice corners of a scaled picture are
// the picture's own.
#include <gtest/gtest.h>

#include <set>

#include "skin/data/PixelScale.h"
#include "skin/data/SkinImage.h"
#include "support/TestPictures.h"

namespace kv {
namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;

// The source pixel whose area holds target pixel i's centre, worked out independently.
int NearestSource(int i, int sourceSize, int targetSize) {
  const double centre = (i + 0.5) * sourceSize / targetSize;
  return std::min(int(centre), sourceSize - 1);
}

// A window corner: a keyed triangle in the top-left and a keyed notch in the bottom-right,
// the rest of the frame in the colours given, one per pixel cycling.
TPixelBitmap CornerPicture(int width, int height, std::initializer_list<std::uint32_t> colours) {
  TPixelBitmap b(width, height);
  const std::vector<std::uint32_t> cycle(colours);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool keyed = x + y < 5 || (x >= width - 3 && y >= height - 2);
      b.SetPixel(x, y, keyed ? kKey : cycle[std::size_t(x + y) % cycle.size()]);
    }
  return b;
}

struct TScaleCase {
  int Dpi;
  const char* Factor;
};
const TScaleCase kSmoothFactors[] = {{120, "1.25"}, {144, "1.5"}, {168, "1.75"}, {192, "2"}};

TEST(PixelScale, KeyedExactlyWhereTheNearestSourcePixelIsKeyed) {
  // Near-magenta neighbours: two of them average to the key unless the filter minds it.
  const TPixelBitmap pictures[] = {CornerPicture(11, 9, {0x00102030}),
                                   CornerPicture(11, 9, {0x00FE00FF, 0x00FF00FE, 0x00FF01FF})};
  for (const TScaleCase& c : kSmoothFactors)
    for (const TPixelBitmap& source : pictures) {
      SCOPED_TRACE(c.Factor);
      const int w = ScaleLength(source.Width(), c.Dpi), h = ScaleLength(source.Height(), c.Dpi);
      const TPixelBitmap out = ResamplePicture(source, w, h);
      ASSERT_EQ(out.Width(), w);
      ASSERT_EQ(out.Height(), h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
          const bool sourceKeyed =
              source.Pixel(NearestSource(x, source.Width(), w), NearestSource(y, source.Height(), h)) == kKey;
          ASSERT_EQ(out.Pixel(x, y) == kKey, sourceKeyed) << x << "," << y;
        }
    }
}

TEST(PixelScale, TheKeyNeverBleedsIntoItsNeighbours) {
  // One opaque colour beside the key: whatever the filter averages, it is that colour.
  const TPixelBitmap source = CornerPicture(9, 7, {0x00336699});
  for (const TScaleCase& c : kSmoothFactors) {
    SCOPED_TRACE(c.Factor);
    const TPixelBitmap out = ResamplePicture(source, ScaleLength(9, c.Dpi), ScaleLength(7, c.Dpi));
    for (std::uint32_t p : out.Pixels()) ASSERT_TRUE(p == kKey || p == 0x00336699) << std::hex << p;
  }
}

TEST(PixelScale, WholeFactorsRepeatPixelsOtherFactorsBlend) {
  TPixelBitmap source(5, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) source.SetPixel(x, y, (x + 4 * y) % 3 == 0 ? 0x00000000 : 0x00F0F0F0);
  for (int factor : {2, 3}) {
    const TPixelBitmap out = ResamplePicture(source, 5 * factor, 4 * factor);
    for (int y = 0; y < out.Height(); ++y)
      for (int x = 0; x < out.Width(); ++x)
        ASSERT_EQ(out.Pixel(x, y), source.Pixel(x / factor, y / factor)) << factor << ": " << x << "," << y;
  }
  const TPixelBitmap smooth = ResamplePicture(source, ScaleLength(5, 144), ScaleLength(4, 144));
  const std::set<std::uint32_t> colours(smooth.Pixels().begin(), smooth.Pixels().end());
  EXPECT_GT(colours.size(), 2u) << "1.5 is filtered, not repeated";
}

TEST(PixelScale, LengthsRoundToTheNearestPixelHalvesAway) {
  struct {
    int Value, Dpi, From, Expected;
  } const cases[] = {
      {7, 144, 96, 11},  {-7, 144, 96, -11}, {5, 120, 96, 6},   {6, 120, 96, 8},  {3, 168, 96, 5},
      {1, 144, 96, 2},   {0, 192, 96, 0},    {14, 168, 192, 12}, {30, 144, 192, 23}, {9, 96, 96, 9},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScaleLength(c.Value, c.Dpi, c.From), c.Expected) << c.Value << " at " << c.Dpi << " from " << c.From;
  EXPECT_EQ(ScaleRect({1, 3, 7, 10}, 144), (Rect{2, 5, 11, 15}));
}

TEST(PixelScale, StripsScaleFrameByFrameWithoutBleeding) {
  struct {
    int FrameWidth, FrameHeight, Frames;
    bool Vertical;
    int Dpi, From, Width, Height;
  } const cases[] = {
      {13, 7, 3, false, 144, 96, 60, 11},  // frames of 20 x 11 (19.5, 10.5 rounded up)
      {13, 7, 3, true, 144, 96, 20, 33},   //
      {8, 6, 2, false, 192, 96, 32, 12},   //
      {16, 12, 4, false, 168, 192, 56, 11},  // a double-size strip brought to 175 %
      {5, 5, 2, false, 120, 96, 12, 6},
  };
  const std::uint32_t colours[] = {0x00C00000, 0x0000C000, 0x000000C0, 0x00808080};
  for (const auto& c : cases) {
    TPixelBitmap strip = testing::ColourStrip({colours[0], colours[1], colours[2], colours[3]}, c.FrameWidth,
                                              c.FrameHeight, c.Vertical);
    // Only the first `Frames` frames; a stray column past them must not count as a frame.
    TPixelBitmap cut(c.Vertical ? c.FrameWidth : c.FrameWidth * c.Frames + 1,
                     c.Vertical ? c.FrameHeight * c.Frames + 1 : c.FrameHeight, 0x00FFFFFF);
    CopyPixels(cut, 0, 0, strip, strip.Bounds());
    const TPixelBitmap out = ScaleStrip(cut, c.Frames, c.Vertical, c.Dpi, c.From);
    ASSERT_EQ(out.Width(), c.Width);
    ASSERT_EQ(out.Height(), c.Height);
    for (int k = 0; k < c.Frames; ++k) {
      const Rect frame = FrameRect(out, c.Vertical, c.Frames, k + 1);
      EXPECT_EQ(testing::CountIn(out, frame, colours[k]), frame.Width() * frame.Height()) << "frame " << k + 1;
    }
  }
}

TEST(PixelScale, NineSliceOfAScaledPictureKeepsItsCorners) {
  // A 12 x 12 frame with 4-pixel corners of four colours and a grey middle.
  TPixelBitmap frame(12, 12, 0x00808080);
  frame.FillRect({0, 0, 4, 4}, 0x00FF0000);
  frame.FillRect({8, 0, 12, 4}, 0x0000FF00);
  frame.FillRect({0, 8, 4, 12}, 0x000000FF);
  frame.FillRect({8, 8, 12, 12}, kKey);
  for (const TScaleCase& c : kSmoothFactors) {
    SCOPED_TRACE(c.Factor);
    const TPixelBitmap scaled = ScaleStrip(frame, 1, false, c.Dpi);
    const Margins margins = ScaleMargins({4, 4, 4, 4}, c.Dpi);
    const TPixelBitmap drawn = RenderNineSlice(70, 45, scaled, margins, TDrawFlags::dfNone, 1, 1);
    const int m = margins.Left, sw = scaled.Width(), sh = scaled.Height();
    for (int y = 0; y < m; ++y)
      for (int x = 0; x < m; ++x) {
        ASSERT_EQ(drawn.Pixel(x, y), scaled.Pixel(x, y));
        ASSERT_EQ(drawn.Pixel(70 - m + x, y), scaled.Pixel(sw - m + x, y));
        ASSERT_EQ(drawn.Pixel(x, 45 - m + y), scaled.Pixel(x, sh - m + y));
        ASSERT_EQ(drawn.Pixel(70 - m + x, 45 - m + y), scaled.Pixel(sw - m + x, sh - m + y));
      }
    // The corners' insides are their colours, the keyed one still wholly keyed.
    EXPECT_EQ(drawn.Pixel(0, 0), 0x00FF0000u);
    EXPECT_EQ(drawn.Pixel(69, 0), 0x0000FF00u);
    EXPECT_EQ(drawn.Pixel(0, 44), 0x000000FFu);
    EXPECT_EQ(testing::CountIn(drawn, {70 - m + 1, 45 - m + 1, 70, 45}, kKey), (m - 1) * (m - 1));
  }
}

}  // namespace
}  // namespace kv
