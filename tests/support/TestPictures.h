#pragma once
// Tiny pictures for the imaging tests: strips of plain-coloured frames, and counting.
#include <cstdint>
#include <initializer_list>

#include "skin/data/PixelBitmap.h"

namespace kv::testing {

// A strip of one frame per colour, each frame `width` x `height`, side by side or stacked.
inline TPixelBitmap ColourStrip(std::initializer_list<std::uint32_t> colours, int width, int height,
                                bool vertical = false) {
  const int n = int(colours.size());
  TPixelBitmap strip(vertical ? width : width * n, vertical ? height * n : height);
  int i = 0;
  for (std::uint32_t c : colours) {
    strip.FillRect(
        vertical ? Rect{0, i * height, width, (i + 1) * height} : Rect{i * width, 0, (i + 1) * width, height}, c);
    ++i;
  }
  return strip;
}

// How many pixels of `area` of `bitmap` are `pixel`.
inline int CountIn(const TPixelBitmap& bitmap, const Rect& area, std::uint32_t pixel) {
  int count = 0;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x) count += bitmap.Pixel(x, y) == pixel;
  return count;
}

}  // namespace kv::testing
