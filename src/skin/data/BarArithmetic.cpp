#include "skin/data/BarArithmetic.h"

#include <algorithm>
#include <climits>

namespace kv {

namespace {

int ClampToInt(std::int64_t value) { return int(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX)); }

}  // namespace

int InsideLength(int length, int startMargin, int endMargin) {
  const std::int64_t inside = std::int64_t(length) - std::max(startMargin, 0) - std::max(endMargin, 0);
  return ClampToInt(std::max<std::int64_t>(inside, 0));
}

std::int64_t MulDiv64(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  if (denominator == 0) return 0;
  // The bounds keep the product inside 63 bits.
  const std::int64_t product = value * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::uint64_t a = product < 0 ? std::uint64_t(-product) : std::uint64_t(product);
  const std::uint64_t d = denominator < 0 ? std::uint64_t(-denominator) : std::uint64_t(denominator);
  const std::uint64_t q = (a + d / 2) / d;
  return negative ? -std::int64_t(q) : std::int64_t(q);
}

bool PlaceThumb(std::int64_t minimum, std::int64_t maximum, std::int64_t page, std::int64_t position, int trackLength,
                int minThumb, int noPageThumb, bool bothEnds, TThumbSpan& span) {
  const std::int64_t steps = maximum - minimum + (bothEnds ? 1 : 0);
  if (steps <= 0) return false;
  const int l = trackLength;
  int t = page > 0 ? std::max(ClampToInt(MulDiv64(page, l, steps)), minThumb) : noPageThumb;
  t = std::min(t, l);
  std::int64_t o = 0;
  if (page == steps) {
    t -= 1;  // the whole range in view
  } else {
    o = MulDiv64(position - minimum, std::int64_t(l) - t, steps - page);
  }
  span.Length = t;
  span.Offset = ClampToInt(std::max<std::int64_t>(std::min<std::int64_t>(o, std::int64_t(l) - t), 0));
  return true;
}

int DragPosition(int minimum, int maximum, std::int64_t page, std::int64_t offset, int trackLength, int thumbLength) {
  const std::int64_t range = std::int64_t(maximum) - minimum;
  std::int64_t o = std::max<std::int64_t>(offset, 0);
  std::int64_t position;
  if (page > 0) {
    o = std::min<std::int64_t>(o, trackLength);
    position = MulDiv64(o, range, trackLength) + minimum;
    // The last page ends at the maximum.
    if (position >= maximum - page) position = maximum - page + 1;
  } else {
    const std::int64_t room = std::int64_t(trackLength) - thumbLength;
    o = std::min(o, room);
    position = MulDiv64(o, range, room) + minimum;
  }
  return int(std::clamp<std::int64_t>(position, minimum, maximum));
}

}  // namespace kv
