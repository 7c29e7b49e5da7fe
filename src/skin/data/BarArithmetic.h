#pragma once
// Lengths along scroll bars and inside skin margins. Skin files and scroll ranges come from
// outside: every sum here is taken in 64 bits and clamped, so extreme values give an empty
// or pinned result instead of a wrapped one.
#include <cstdint>

namespace kv {

// What is left of length once both margins are taken off (a negative margin counts as
// none); never below 0.
int InsideLength(int length, int startMargin, int endMargin);

// value * numerator / denominator rounded half away from zero, as the platform's MulDiv,
// but in 64 bits; 0 for a zero denominator. |value * numerator| must stay below 2^63
// (a range times a pixel length does).
std::int64_t MulDiv64(std::int64_t value, std::int64_t numerator, std::int64_t denominator);

// A thumb's length and its offset from the track's start.
struct TThumbSpan {
  int Length = 0;
  int Offset = 0;
};

// The range [minimum, maximum] with page and position on a track of trackLength pixels.
// `bothEnds`: the range holds maximum - minimum + 1 steps (a scroll-bar control) rather
// than maximum - minimum (a window's own bars). `minThumb` is the least length of a thumb
// with a page, `noPageThumb` the length without one. False for an empty range.
bool PlaceThumb(std::int64_t minimum, std::int64_t maximum, std::int64_t page, std::int64_t position, int trackLength,
                int minThumb, int noPageThumb, bool bothEnds, TThumbSpan& span);

// The position a dragged thumb at `offset` stands for (a window's own bars), within
// [minimum, maximum]; `offset` is clamped to the track first.
int DragPosition(int minimum, int maximum, std::int64_t page, std::int64_t offset, int trackLength, int thumbLength);

}  // namespace kv
