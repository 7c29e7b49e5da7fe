// Skin image drawing, checked pixel by pixel. Source pictures carry their own
// coordinates in every pixel (red = x, green = y), so each drawn pixel says where it
// was taken from.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "skin/data/SkinImage.h"

namespace kv {
namespace {

constexpr std::uint32_t kCanvas = 0x00123456;
constexpr std::uint32_t kMagenta = 0x00FF00FF;

std::uint32_t Coord(int x, int y) { return std::uint32_t(x) << 16 | std::uint32_t(y) << 8 | 0x07; }
int SourceX(std::uint32_t p) { return int(p >> 16); }
int SourceY(std::uint32_t p) { return int((p >> 8) & 0xFF); }

TPixelBitmap CoordStrip(int width, int height) {
  TPixelBitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Coord(x, y));
  return b;
}

// Every pixel of `area` of `image` must come from inside `source`, and the area's first
// pixel from the source's first.
void ExpectPieceFrom(const TPixelBitmap& image, const Rect& area, const Rect& source) {
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) {
      const std::uint32_t p = image.Pixel(x, y);
      ASSERT_GE(SourceX(p), source.Left) << x << "," << y;
      ASSERT_LT(SourceX(p), source.Right) << x << "," << y;
      ASSERT_GE(SourceY(p), source.Top) << x << "," << y;
      ASSERT_LT(SourceY(p), source.Bottom) << x << "," << y;
    }
  if (area.Width() > 0 && area.Height() > 0) {
    EXPECT_EQ(SourceX(image.Pixel(area.Left, area.Top)), source.Left);
    EXPECT_EQ(SourceY(image.Pixel(area.Left, area.Top)), source.Top);
  }
}

TEST(SkinFrames, FramesOfAStrip) {
  const TPixelBitmap strip(60, 10);
  EXPECT_EQ(FrameRect(strip, false, 3, 2), (Rect{20, 0, 40, 10}));
  EXPECT_EQ(FrameRect(strip, false, 3, 1), (Rect{0, 0, 20, 10}));
  EXPECT_EQ(FrameRect(strip, true, 2, 2), (Rect{0, 5, 60, 10}));
  EXPECT_EQ(FrameRect(strip, false, 0, 1), strip.Bounds());  // no frame count: one frame
  EXPECT_EQ(FrameRect(strip, false, -4, 1), strip.Bounds());
  EXPECT_EQ(FrameRect(TPixelBitmap(61, 3), false, 3, 3), (Rect{40, 0, 60, 3}));  // width / n, rounded down
}

TEST(SkinFrames, FrameTwoOfThreeIsDrawnFromColumns20To39) {
  const TPixelBitmap strip = CoordStrip(60, 8);
  const TPixelBitmap out = RenderFrameStretched(20, 8, strip, 3, 2);
  ExpectPieceFrom(out, out.Bounds(), {20, 0, 40, 8});
  EXPECT_EQ(SourceX(out.Pixel(19, 0)), 39);
}

TEST(SkinFrames, AFrameBeyondTheCountDrawsNothing) {
  const TPixelBitmap strip = CoordStrip(30, 8);
  const TPixelBitmap out = RenderNineSlice(25, 12, strip, {2, 2, 2, 2}, TDrawFlags::dfNone, 3, 5);
  for (std::uint32_t p : out.Pixels()) ASSERT_EQ(p, 0u);
}

class NineSlice : public ::testing::Test {
 protected:
  // One 30 x 20 frame (the second of two) with margins 5, 4, 6, 3.
  const TPixelBitmap FStrip = CoordStrip(60, 20);
  const Margins FMargins{5, 4, 6, 3};
  static constexpr int x0 = 30, fw = 30, fh = 20;
};

TEST_F(NineSlice, PiecesLandWhereTheyBelong) {
  const int w = 50, h = 40;
  const TPixelBitmap out = RenderNineSlice(w, h, FStrip, FMargins, TDrawFlags::dfNone, 2, 2);
  const int L = 5, T = 4, R = 6, B = 3;
  ExpectPieceFrom(out, {0, 0, L, T}, {x0, 0, x0 + L, T});
  ExpectPieceFrom(out, {0, h - B, L, h}, {x0, fh - B, x0 + L, fh});
  ExpectPieceFrom(out, {w - R, 0, w, T}, {x0 + fw - R, 0, x0 + fw, T});
  ExpectPieceFrom(out, {w - R, h - B, w, h}, {x0 + fw - R, fh - B, x0 + fw, fh});
  ExpectPieceFrom(out, {0, T, L, h - B}, {x0, T, x0 + L, fh - B});
  ExpectPieceFrom(out, {L, 0, w - R, T}, {x0 + L, 0, x0 + fw - R, T});
  ExpectPieceFrom(out, {w - R, T, w, h - B}, {x0 + fw - R, T, x0 + fw, fh - B});
  ExpectPieceFrom(out, {L, h - B, w - R, h}, {x0 + L, fh - B, x0 + fw - R, fh});
  ExpectPieceFrom(out, {L, T, w - R, h - B}, {x0 + L, T, x0 + fw - R, fh - B});
  // Corners are copied one to one.
  EXPECT_EQ(out.Pixel(w - 1, h - 1), Coord(x0 + fw - 1, fh - 1));
  EXPECT_EQ(out.Pixel(L - 1, T - 1), Coord(x0 + L - 1, T - 1));
}

TEST_F(NineSlice, NarrowTargetDropsTheSideMargins) {
  const TPixelBitmap out = RenderNineSlice(10, 40, FStrip, FMargins, TDrawFlags::dfNone, 2, 2);  // 10 < 5 + 6
  ExpectPieceFrom(out, {0, 0, 10, 4}, {x0, 0, x0 + fw, 4});        // top edge spans the whole width
  ExpectPieceFrom(out, {0, 4, 10, 37}, {x0, 4, x0 + fw, fh - 3});  // centre too
  EXPECT_EQ(SourceX(out.Pixel(9, 20)), x0 + 27);                   // 9 * 30 / 10
  const TPixelBitmap flat = RenderNineSlice(50, 6, FStrip, FMargins, TDrawFlags::dfNone, 2, 2);  // 6 < 4 + 3
  ExpectPieceFrom(flat, {0, 0, 5, 6}, {x0, 0, x0 + 5, fh});
}

TEST_F(NineSlice, TiledCentreRepeatsAt0_30_60_90) {
  // Centre piece 30 wide (frame 41 = 5 + 30 + 6), centre area 100 wide.
  const TPixelBitmap strip = CoordStrip(41, 20);
  const int w = 5 + 100 + 6, h = 20;
  const TPixelBitmap out = RenderNineSlice(w, h, strip, FMargins, TDrawFlags::dfTile, 1, 1);
  for (int copy : {0, 30, 60, 90})
    for (int i = 0; i < 30 && copy + i < 100; ++i) ASSERT_EQ(out.Pixel(5 + copy + i, 8), Coord(5 + i, 8)) << copy + i;
  // The fourth copy ran 20 pixels past the centre; the right edge drawn after it won.
  ExpectPieceFrom(out, {w - 6, 4, w, h - 3}, {35, 4, 41, 17});
  // Tiles are not stretched: the centre rows repeat the piece's rows one to one.
  EXPECT_EQ(out.Pixel(5, 4), Coord(5, 4));
  EXPECT_EQ(out.Pixel(5, 16), Coord(5, 16));
}

TEST_F(NineSlice, BorderLeavesTheCentreAlone) {
  TPixelBitmap canvas(80, 60, kCanvas);
  const Rect target{10, 7, 60, 47};
  DrawNineSliceBorder(canvas, target, FStrip, false, 2, 2, FMargins);
  for (int y = 11; y < 44; ++y)
    for (int x = 15; x < 54; ++x) ASSERT_EQ(canvas.Pixel(x, y), kCanvas) << x << "," << y;
  EXPECT_EQ(canvas.Pixel(10, 7), Coord(x0, 0));
  EXPECT_EQ(canvas.Pixel(59, 46), Coord(x0 + fw - 1, fh - 1));
  EXPECT_EQ(canvas.Pixel(9, 7), kCanvas);  // nothing outside the target
  EXPECT_EQ(canvas.Pixel(60, 46), kCanvas);
}

// Margins wider than the frame invert the source of the middle pieces: they are drawn
// mirrored, the way StretchBlt draws a source of negative extent, so no pixel is left
// undrawn. Frame columns 30..59, margins 20 + 16: the middle column source runs from 50
// back to 44, i.e. columns 49 down to 44.
TEST_F(NineSlice, InvertedSourcePiecesAreDrawnMirrored) {
  const Margins m{20, 12, 16, 10};  // and rows 12 + 10 of 20: the middle rows run 11, 10
  const int w = 50, h = 30;
  const TPixelBitmap out = RenderNineSlice(w, h, FStrip, m, TDrawFlags::dfNone, 2, 2);
  for (std::uint32_t p : out.Pixels()) ASSERT_EQ(p & 0xFF, 0x07u) << "a pixel left undrawn";
  for (int y : {0, 5, 15, 25, 29}) {
    EXPECT_EQ(SourceX(out.Pixel(20, y)), 49) << y;  // first middle column: the last source one
    EXPECT_EQ(SourceX(out.Pixel(33, y)), 44) << y;
    for (int x = 21; x < 34; ++x) ASSERT_LE(SourceX(out.Pixel(x, y)), SourceX(out.Pixel(x - 1, y))) << x;
    ExpectPieceFrom(out, {0, y, 20, y + 1}, {x0, SourceY(out.Pixel(0, y)), x0 + 20, fh});  // caps unmirrored
  }
  for (int x : {0, 25, 40}) {
    EXPECT_EQ(SourceY(out.Pixel(x, 12)), 11) << x;
    EXPECT_EQ(SourceY(out.Pixel(x, 19)), 10) << x;
  }
  EXPECT_EQ(out.Pixel(0, 0), Coord(x0, 0));  // corners as they are
  EXPECT_EQ(out.Pixel(w - 1, h - 1), Coord(x0 + fw - 1, fh - 1));

  // Tiled, the mirrored centre repeats; the border alone mirrors its edges the same way.
  const TPixelBitmap tiled = RenderNineSlice(w, h, FStrip, m, TDrawFlags::dfTile, 2, 2);
  for (int x = 20; x < 34; ++x) EXPECT_EQ(SourceX(tiled.Pixel(x, 15)), 49 - (x - 20) % 6) << x;
  TPixelBitmap canvas(60, 40, kCanvas);
  DrawNineSliceBorder(canvas, {5, 5, 5 + w, 5 + h}, FStrip, false, 2, 2, m);
  for (int y = 5; y < 5 + h; ++y)
    for (int x = 5; x < 5 + w; ++x) {
      const bool centre = x >= 5 + 20 && x < 5 + w - 16 && y >= 5 + 12 && y < 5 + h - 10;
      ASSERT_EQ(canvas.Pixel(x, y), centre ? kCanvas : out.Pixel(x - 5, y - 5)) << x << "," << y;
    }
}

TEST(SkinDraw, TransparentFlagLeavesMagentaOut) {
  TPixelBitmap strip = CoordStrip(20, 10);
  strip.FillRect({0, 0, 20, 2}, kMagenta);
  TPixelBitmap keyed(40, 30, kCanvas);
  DrawSkinImage(keyed, {5, 5, 25, 15}, strip, TDrawFlags::dfTransparent, 1, 1, {});
  EXPECT_EQ(keyed.Pixel(5, 5), kCanvas);
  EXPECT_EQ(keyed.Pixel(24, 6), kCanvas);
  EXPECT_EQ(keyed.Pixel(5, 7), Coord(0, 2));
  TPixelBitmap plain(40, 30, kCanvas);
  DrawSkinImage(plain, {5, 5, 25, 15}, strip, TDrawFlags::dfNone, 1, 1, {});
  EXPECT_EQ(plain.Pixel(5, 5), kMagenta);
  EXPECT_EQ(plain.Pixel(4, 5), kCanvas);
}

TEST(SkinDraw, InvertedTargetsDrawNothing) {
  const TPixelBitmap strip = CoordStrip(20, 10);
  TPixelBitmap canvas(40, 30, kCanvas);
  DrawSkinImage(canvas, {20, 5, 10, 15}, strip, TDrawFlags::dfNone, 1, 1, {});
  DrawThreeSliceTiled(canvas, {5, 20, 25, 10}, strip, TDrawFlags::dfNone, 1, 1, {});
  DrawFrameStretched(canvas, {20, 5, 10, 15}, strip, TDrawFlags::dfNone, 1, 1);
  TransparentBlit(canvas, {20, 5, 10, 15}, strip);
  for (std::uint32_t p : canvas.Pixels()) ASSERT_EQ(p, kCanvas);
}

TEST(SkinDraw, TransparentBlitCopiesUnstretched) {
  TPixelBitmap opaque = CoordStrip(6, 4);
  TPixelBitmap canvas(10, 10, kCanvas);
  TransparentBlit(canvas, {2, 3, 12, 13}, opaque);  // target larger than the picture
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(canvas.Pixel(2 + x, 3 + y), Coord(x, y));
  EXPECT_EQ(canvas.Pixel(8, 3), kCanvas);
  EXPECT_EQ(canvas.Pixel(2, 7), kCanvas);

  TPixelBitmap clear(6, 4, kMagenta);
  TPixelBitmap untouched(10, 10, kCanvas);
  TransparentBlit(untouched, {0, 0, 6, 4}, clear);
  for (std::uint32_t p : untouched.Pixels()) ASSERT_EQ(p, kCanvas);

  TPixelBitmap edge(10, 10, kCanvas);  // hanging off the top-left corner
  TransparentBlit(edge, {-3, -2, 3, 2}, opaque);
  EXPECT_EQ(edge.Pixel(0, 0), Coord(3, 2));
  EXPECT_EQ(edge.Pixel(3, 0), kCanvas);
}

TEST(SkinDraw, TileBitmapDrawsWholeCopiesFromTheTopLeft) {
  const TPixelBitmap piece = CoordStrip(10, 10);
  TPixelBitmap canvas(30, 20, kCanvas);
  TileBitmap(canvas, {2, 1, 9, 8}, piece, {3, 4, 6, 6});  // 3 x 2 piece over 7 x 7
  for (int x : {2, 5, 8})
    for (int y : {1, 3, 5, 7}) {
      EXPECT_EQ(canvas.Pixel(x, y), Coord(3, 4));
      EXPECT_EQ(canvas.Pixel(x + 2, y + 1), Coord(5, 5));
    }
  EXPECT_EQ(canvas.Pixel(10, 8), Coord(5, 5));  // the last copies run past the target
  EXPECT_EQ(canvas.Pixel(11, 1), kCanvas);
  EXPECT_EQ(canvas.Pixel(2, 9), kCanvas);
  EXPECT_EQ(canvas.Pixel(1, 1), kCanvas);

  TPixelBitmap same(30, 20, kCanvas);
  TileBitmap(same, {0, 0, 30, 20}, piece, {3, 4, 3, 9});  // no width
  TileBitmap(same, {0, 0, 30, 20}, piece, {3, 4, 1, 9});  // negative width
  for (std::uint32_t p : same.Pixels()) ASSERT_EQ(p, kCanvas);
}

TEST(SkinDraw, ThreeSliceRepeatsTheMiddle) {
  const TPixelBitmap strip = CoordStrip(24, 6);  // two 12-wide frames
  const Margins m{3, 1, 4, 1};                   // middle 5 wide; top and bottom ignored
  const TPixelBitmap out = RenderThreeSlice(20, 12, strip, m, false, 2, 2);
  ExpectPieceFrom(out, {0, 0, 3, 12}, {12, 0, 15, 6});
  for (int x = 3; x < 16; ++x) ASSERT_EQ(SourceX(out.Pixel(x, 0)), 15 + (x - 3) % 5) << x;
  ExpectPieceFrom(out, {16, 0, 20, 12}, {20, 0, 24, 6});
  EXPECT_EQ(SourceY(out.Pixel(0, 11)), 5);  // stretched to the height

  const TPixelBitmap noMiddle = RenderThreeSlice(20, 6, strip, {6, 0, 6, 0}, false, 2, 1);
  ExpectPieceFrom(noMiddle, noMiddle.Bounds(), {0, 0, 12, 6});
  EXPECT_EQ(SourceX(noMiddle.Pixel(19, 0)), 11);
  const TPixelBitmap overlapping = RenderThreeSlice(20, 6, strip, {8, 0, 8, 0}, false, 2, 1);
  ExpectPieceFrom(overlapping, overlapping.Bounds(), {0, 0, 12, 6});
}

TEST(SkinDraw, StretchIsNearestNeighbour) {
  const TPixelBitmap src = CoordStrip(4, 2);
  TPixelBitmap wide(8, 2);
  StretchDraw(wide, wide.Bounds(), src, src.Bounds());
  for (int x = 0; x < 8; ++x) EXPECT_EQ(SourceX(wide.Pixel(x, 0)), x / 2);
  TPixelBitmap narrow(2, 1);
  StretchDraw(narrow, narrow.Bounds(), src, src.Bounds());
  EXPECT_EQ(SourceX(narrow.Pixel(0, 0)), 0);
  EXPECT_EQ(SourceX(narrow.Pixel(1, 0)), 2);
  TPixelBitmap partly(4, 2, kCanvas);  // the source reaches past its picture: those pixels stay
  StretchDraw(partly, partly.Bounds(), src, {2, 0, 6, 2});
  EXPECT_EQ(partly.Pixel(1, 0), Coord(3, 0));
  EXPECT_EQ(partly.Pixel(2, 0), kCanvas);
}

TEST(SkinRegion, OpaquePictureGivesOneRectanglePerRow) {
  const TPixelBitmap picture = CoordStrip(7, 5);
  const auto batches = BitmapToRegionRects(picture, 10, 20, 0, 0, 0);
  ASSERT_EQ(batches.size(), 1u);
  ASSERT_EQ(batches[0].FRects.size(), 5u);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(batches[0].FRects[std::size_t(y)], (Rect{10, 20 + y, 17, 21 + y}));
  EXPECT_EQ(batches[0].FBounds, (Rect{10, 20, 17, 25}));
}

TEST(SkinRegion, KeyColouredRunsAreLeftOut) {
  TPixelBitmap picture(8, 2, 0x00000000);
  picture.SetPixel(0, 0, kMagenta);
  picture.SetPixel(3, 0, kMagenta);
  picture.SetPixel(4, 0, 0x00FE00FF);  // red 254: outside the range without tolerance
  picture.SetPixel(7, 1, 0x00FF00FA);  // blue 250 below the key's 255: never in range
  const auto exact = BitmapToRegionRects(picture, 0, 0, 0, 0, 0);
  EXPECT_EQ(exact[0].FRects, (std::vector<Rect>{{1, 0, 3, 1}, {4, 0, 8, 1}, {0, 1, 8, 2}}));
  // A green tolerance of 3 takes in green 0..3 around the key, nothing else.
  picture.SetPixel(5, 1, 0x00FF03FF);
  const auto tolerant = BitmapToRegionRects(picture, 0, 0, 0, 3, 0);
  EXPECT_EQ(tolerant[0].FRects, (std::vector<Rect>{{1, 0, 3, 1}, {4, 0, 8, 1}, {0, 1, 5, 2}, {6, 1, 8, 2}}));
}

TEST(SkinRegion, BatchesOf2000WithTheirOwnBounds) {
  TPixelBitmap picture(3, 2500, 0);
  for (int y = 0; y < 2500; ++y) picture.SetPixel(1, y, kMagenta);  // two runs per row
  const auto batches = BitmapToRegionRects(picture, 0, 0, 0, 0, 0);
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0].FRects.size(), 2000u);
  EXPECT_EQ(batches[1].FRects.size(), 2000u);
  EXPECT_EQ(batches[2].FRects.size(), 1000u);
  EXPECT_EQ(batches[1].FBounds, (Rect{0, 1000, 3, 2000}));
  const auto none = BitmapToRegionRects(TPixelBitmap(4, 4, kMagenta), 0, 0, 0, 0, 0);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_TRUE(none[0].FRects.empty());
}

TEST(SkinTransforms, MirrorFlipAndRotate) {
  const TPixelBitmap original = CoordStrip(3, 2);
  TPixelBitmap b = original;
  MirrorHorizontal(b);
  EXPECT_EQ(b.Pixel(0, 1), Coord(2, 1));
  EXPECT_EQ(b.Pixel(2, 0), Coord(0, 0));
  b = original;
  FlipVertical(b);
  EXPECT_EQ(b.Pixel(1, 0), Coord(1, 1));
  b = original;
  RotateLeft(b);  // the top-right corner comes to the top-left
  ASSERT_EQ(b.Width(), 2);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Pixel(0, 0), Coord(2, 0));
  EXPECT_EQ(b.Pixel(1, 2), Coord(0, 1));
  RotateRight(b);
  EXPECT_TRUE(std::equal(b.Pixels().begin(), b.Pixels().end(), original.Pixels().begin()));
  b = original;
  RotateRight(b);  // the bottom-left corner comes to the top-left
  EXPECT_EQ(b.Pixel(0, 0), Coord(0, 1));
  EXPECT_EQ(b.Pixel(1, 2), Coord(2, 0));
}

TEST(SkinDraw, HugeTargetsAreRefusedNotAllocated) {
  const TPixelBitmap strip = CoordStrip(10, 10);
  EXPECT_TRUE(RenderNineSlice(1 << 20, 1 << 20, strip, {}, TDrawFlags::dfNone, 1, 1).Empty());
  TPixelBitmap canvas(10, 10, kCanvas);
  DrawSkinImage(canvas, {0, 0, 1 << 30, 1 << 30}, strip, TDrawFlags::dfNone, 1, 1, {});
  EXPECT_EQ(canvas.Pixel(0, 0), kCanvas);
}

// Margins, frame counts, frame indexes and targets from a hostile skin: any int value
// draws what the nearest sane one draws (margins held within the frame, a pair too wide
// for the target dropped), with no overflow on the way.
TEST(SkinDraw, HostileNumbersDrawLikeTheirSaneCounterparts) {
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  const TPixelBitmap strip = CoordStrip(40, 12);  // two 20 x 12 frames
  const auto same = [](const TPixelBitmap& a, const TPixelBitmap& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Pixels().begin(), a.Pixels().end(), b.Pixels().begin());
  };
  struct Case {
    Margins Hostile, Sane;
  };
  for (const Case& c : {Case{{lo, lo, lo, lo}, {0, 0, 0, 0}},
                        Case{{hi, hi, hi, hi}, {20, 12, 20, 12}},  // then too wide and tall for 25 x 18
                        Case{{hi, 3, lo, 2}, {20, 3, 0, 2}}, Case{{5, lo, 6, hi}, {5, 0, 6, 12}},
                        Case{{lo, hi - 1, 4, 1}, {0, 12, 4, 1}}, Case{{7, 2, lo, 3}, {7, 2, 0, 3}}}) {
    SCOPED_TRACE(testing::Message() << c.Hostile.Left << " " << c.Hostile.Top << " " << c.Hostile.Right << " "
                                    << c.Hostile.Bottom);
    for (TDrawFlags flags : {TDrawFlags::dfNone, TDrawFlags::dfTile})
      EXPECT_TRUE(same(RenderNineSlice(25, 18, strip, c.Hostile, flags, 2, 2),
                       RenderNineSlice(25, 18, strip, c.Sane, flags, 2, 2)));
    EXPECT_TRUE(same(RenderThreeSlice(25, 18, strip, c.Hostile, false, 2, 1),
                     RenderThreeSlice(25, 18, strip, c.Sane, false, 2, 1)));
    TPixelBitmap hostile(40, 30, kCanvas), sane(40, 30, kCanvas);
    DrawNineSliceBorder(hostile, {3, 4, 31, 26}, strip, false, 2, 2, c.Hostile);
    DrawNineSliceBorder(sane, {3, 4, 31, 26}, strip, false, 2, 2, c.Sane);
    EXPECT_TRUE(same(hostile, sane));
  }
  // Held within the frame, margins as wide as the frame leave the three slices no middle.
  EXPECT_TRUE(
      same(RenderThreeSlice(25, 18, strip, {hi, 0, 0, 0}, false, 2, 1), RenderFrameStretched(25, 18, strip, 2, 1)));

  // Frame numbers: a count below 1 is one frame, an index far outside draws nothing.
  for (int count : {lo, -1, 0}) {
    EXPECT_TRUE(same(RenderFrameStretched(9, 7, strip, count, 1), RenderFrameStretched(9, 7, strip, 1, 1)));
    EXPECT_TRUE(same(RenderNineSlice(9, 7, strip, {2, 2, 2, 2}, TDrawFlags::dfTile, count, 1),
                     RenderNineSlice(9, 7, strip, {2, 2, 2, 2}, TDrawFlags::dfTile, 1, 1)));
  }
  for (int index : {lo, lo + 1, -70000, 70000, hi}) {
    for (int count : {1, 3, hi}) {
      for (const TPixelBitmap& b : {RenderFrameStretched(9, 7, strip, count, index),
                                    RenderNineSlice(9, 7, strip, {2, 2, 2, 2}, TDrawFlags::dfTile, count, index),
                                    RenderThreeSlice(9, 7, strip, {2, 0, 2, 0}, false, count, index)})
        for (std::uint32_t p : b.Pixels()) ASSERT_EQ(p, 0u) << index << " of " << count;
      TPixelBitmap canvas(20, 20, kCanvas);
      DrawNineSliceBorder(canvas, {0, 0, 20, 20}, strip, true, count, index, {3, 3, 3, 3});
      for (std::uint32_t p : canvas.Pixels()) ASSERT_EQ(p, kCanvas) << index << " of " << count;
    }
  }

  // Targets whose sides do not fit an int draw nothing.
  TPixelBitmap canvas(20, 20, kCanvas);
  for (const Rect& r : {Rect{lo, 0, hi, 10}, Rect{0, lo, 10, hi}, Rect{lo, lo, hi, hi}}) {
    DrawSkinImage(canvas, r, strip, TDrawFlags::dfNone, 1, 1, {2, 2, 2, 2});
    DrawThreeSliceTiled(canvas, r, strip, TDrawFlags::dfNone, 1, 1, {2, 2, 2, 2});
    DrawFrameStretched(canvas, r, strip, TDrawFlags::dfNone, 1, 1);
    DrawNineSliceBorder(canvas, r, strip, false, 1, 1, {2, 2, 2, 2});
  }
  for (std::uint32_t p : canvas.Pixels()) ASSERT_EQ(p, kCanvas);
  // A blit is not stretched: a huge target is as good as one the size of the picture.
  TransparentBlit(canvas, {lo, lo, hi, hi}, strip);
  for (std::uint32_t p : canvas.Pixels()) ASSERT_EQ(p, kCanvas);
  TransparentBlit(canvas, {2, 3, hi, hi}, strip);
  EXPECT_EQ(canvas.Pixel(2, 3), Coord(0, 0));
  EXPECT_EQ(canvas.Pixel(19, 14), Coord(17, 11));
}

}  // namespace
}  // namespace kv
