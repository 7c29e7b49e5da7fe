#pragma once
// Display scale. Skin pictures and every length in a skin definition are made for 96
// DPI; a window at another DPI gets them resized here, once per skin and DPI.
//
//   ScaleLength       one length: to the nearest pixel, halves away from zero
//   ScaleRect, ScaleMargins  the same rule on each side
//   ResamplePicture   a picture to any size, the key colour kept exact
//   ScaleStrip        a frame strip frame by frame, so no frame bleeds into the next
#include <cstdint>

#include "skin/data/PixelBitmap.h"

namespace kv {

inline constexpr int kBaseDpi = 96;

// `value` pixels made at `fromDpi` as pixels at `dpi`. Every scaled length goes through
// here, so a picture's size and the margins cut from it round alike.
int ScaleLength(int value, int dpi, int fromDpi = kBaseDpi);
Rect ScaleRect(const Rect& r, int dpi, int fromDpi = kBaseDpi);
Margins ScaleMargins(const Margins& m, int dpi, int fromDpi = kBaseDpi);

// `source` resized to width x height. A whole factor (the same on both axes) repeats each
// pixel; any other size is filtered bilinearly. Keyed pixels (`keyPixel`, 0x00RRGGBB) stay
// exact: a target pixel is keyed exactly when the source pixel nearest to it is, and the
// filter averages only unkeyed source pixels, so the key never bleeds into a border and
// no blend of unkeyed pixels comes out as the key. An empty source or size gives an
// empty picture.
TPixelBitmap ResamplePicture(const TPixelBitmap& source, int width, int height,
                             std::uint32_t keyPixel = PixelOf(kKeyColor));

// A strip of `frames` equal frames (side by side, or stacked with `vertical`) with each
// frame resampled on its own to its size scaled from `fromDpi` to `dpi`. Pixels past the
// last whole frame are left out, as drawing never reads them.
TPixelBitmap ScaleStrip(const TPixelBitmap& strip, int frames, bool vertical, int dpi, int fromDpi = kBaseDpi,
                        std::uint32_t keyPixel = PixelOf(kKeyColor));

}  // namespace kv
