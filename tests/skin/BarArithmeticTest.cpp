// Lengths inside skin margins and thumbs on scroll ranges, down to the int limits: a
// hostile skin or an extreme range must clamp, never wrap.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "skin/data/BarArithmetic.h"

namespace kv {
namespace {

constexpr std::int64_t kHalf = std::int64_t(1) << 31;

TEST(BarArithmeticTest, InsideLengthNeverWrapsOrGoesNegative) {
  const struct {
    int Length, Start, End, Inside;
  } cases[] = {
      {100, 5, 5, 90},   {100, -5, 3, 97},  {10, 8, 8, 0},
      {100, INT_MAX, INT_MAX, 0},  // would wrap to a huge width
      {INT_MAX, INT_MIN, INT_MIN, INT_MAX},
  };
  for (const auto& c : cases)
    EXPECT_EQ(InsideLength(c.Length, c.Start, c.End), c.Inside) << c.Length << " " << c.Start << " " << c.End;
}

TEST(BarArithmeticTest, MulDivRoundsAsThePlatformPastThirtyTwoBits) {
  const struct {
    std::int64_t Value, Numerator, Denominator;
    std::int64_t Result;
  } cases[] = {
      {5, 3, 2, 8}, {-5, 3, 2, -8}, {5, 3, -2, -8}, {7, 1, 0, 0},
      // Past 32 bits on the way and in the result.
      {2 * kHalf - 1, 151, 151, 2 * kHalf - 1}, {-2 * kHalf, 3, 2, -3 * kHalf},
  };
  for (const auto& c : cases) EXPECT_EQ(MulDiv64(c.Value, c.Numerator, c.Denominator), c.Result) << c.Value;
}

// Track of 168 pixels (a 200-pixel bar less two 16-pixel arrows), least thumb 8, 17
// without a page.
TEST(BarArithmeticTest, ThumbPlacedOnOrdinaryAndExtremeRanges) {
  const struct {
    std::int64_t Min, Max, Page, Position;
    bool BothEnds;
    int Length, Offset;
  } cases[] = {
      {0, 99, 10, 45, false, 17, 76},
      {10, 50, 0, 50, false, 17, 151},
      {0, 100, 101, 30, true, 167, 0},  // all in view: one shorter, at the start
      // The whole int range with half of it a page: half the track, at either end.
      {INT_MIN, INT_MAX, kHalf, 0, false, 84, 84},
      {INT_MIN, INT_MAX, kHalf, INT_MIN, false, 84, 0},
      {INT_MIN, INT_MAX, 0, INT_MAX, true, 17, 151},
      {INT_MIN, INT_MAX, 2 * kHalf - 1, INT_MAX, false, 167, 0},
  };
  for (const auto& c : cases) {
    TThumbSpan span;
    ASSERT_TRUE(PlaceThumb(c.Min, c.Max, c.Page, c.Position, 168, 8, 17, c.BothEnds, span)) << c.Min << ".." << c.Max;
    EXPECT_EQ(span.Length, c.Length) << c.Min << ".." << c.Max << " page " << c.Page;
    EXPECT_EQ(span.Offset, c.Offset) << c.Min << ".." << c.Max << " at " << c.Position;
  }
  TThumbSpan span;
  EXPECT_FALSE(PlaceThumb(5, 5, 1, 5, 168, 8, 17, false, span)) << "an empty range has no thumb";
  EXPECT_TRUE(PlaceThumb(5, 5, 1, 5, 168, 8, 17, true, span)) << "one step counted at both ends";
}

TEST(BarArithmeticTest, DraggedThumbStaysInsideTheRange) {
  const struct {
    int Min, Max;
    std::int64_t Page, Offset;
    int Position;
  } cases[] = {
      {0, 99, 10, 86, 51},      {0, 99, 10, 500, 90}, {0, 99, 10, -40, 0},
      {10, 50, 0, 500, 50},     {10, 50, 0, 76, 30},
      {INT_MIN, INT_MAX, kHalf, 168, 0},  // the last page starts half way
      {INT_MIN, INT_MAX, kHalf, 0, INT_MIN},
      {INT_MIN, INT_MAX, 0, 1000, INT_MAX},
      {0, 99, 10, INT64_MAX / 2, 90},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DragPosition(c.Min, c.Max, c.Page, c.Offset, 168, 17), c.Position) << c.Min << ".." << c.Max << " @"
                                                                                 << c.Offset;
}

}  // namespace
}  // namespace kv
