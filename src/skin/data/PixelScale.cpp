#include "skin/data/PixelScale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace kv {
namespace {

// Where a target row (column) samples its source: the two neighbours around the target
// pixel's centre, the weight of the second, and the source pixel nearest to it.
struct TTap {
  int First = 0;
  int Second = 0;
  double Weight = 0;
  int Nearest = 0;
};

std::vector<TTap> Taps(int sourceSize, int targetSize) {
  std::vector<TTap> taps(static_cast<std::size_t>(targetSize));
  for (int i = 0; i < targetSize; ++i) {
    const double centre = (i + 0.5) * sourceSize / targetSize - 0.5;
    const double at = std::clamp(centre, 0.0, double(sourceSize - 1));
    TTap& t = taps[std::size_t(i)];
    t.First = std::min(int(at), sourceSize - 1);
    t.Second = std::min(t.First + 1, sourceSize - 1);
    t.Weight = at - t.First;
    // The source pixel whose area holds the target pixel's centre.
    t.Nearest = int(std::min<std::int64_t>((std::int64_t(2) * i + 1) * sourceSize / (std::int64_t(2) * targetSize),
                                           sourceSize - 1));
  }
  return taps;
}

TPixelBitmap Repeated(const TPixelBitmap& source, int factor) {
  TPixelBitmap out(source.Width() * factor, source.Height() * factor);
  if (out.Empty()) return out;
  for (int y = 0; y < out.Height(); ++y) {
    const std::uint32_t* from = source.Row(y / factor);
    std::uint32_t* to = out.Row(y);
    for (int x = 0; x < out.Width(); ++x) to[x] = from[x / factor];
  }
  return out;
}

}  // namespace

int ScaleLength(int value, int dpi, int fromDpi) {
  if (fromDpi <= 0) return value;
  const std::int64_t n = std::int64_t(value) * dpi;
  const std::int64_t magnitude = (2 * std::llabs(n) + fromDpi) / (2 * std::int64_t(fromDpi));
  return int(n < 0 ? -magnitude : magnitude);
}

Rect ScaleRect(const Rect& r, int dpi, int fromDpi) {
  return {ScaleLength(r.Left, dpi, fromDpi), ScaleLength(r.Top, dpi, fromDpi), ScaleLength(r.Right, dpi, fromDpi),
          ScaleLength(r.Bottom, dpi, fromDpi)};
}

Margins ScaleMargins(const Margins& m, int dpi, int fromDpi) {
  return {ScaleLength(m.Left, dpi, fromDpi), ScaleLength(m.Top, dpi, fromDpi), ScaleLength(m.Right, dpi, fromDpi),
          ScaleLength(m.Bottom, dpi, fromDpi)};
}

TPixelBitmap ResamplePicture(const TPixelBitmap& source, int width, int height, std::uint32_t keyPixel) {
  if (source.Empty() || width <= 0 || height <= 0) return {};
  const int sw = source.Width(), sh = source.Height();
  if (width % sw == 0 && height % sh == 0 && width / sw == height / sh) return Repeated(source, width / sw);

  TPixelBitmap out(width, height);
  if (out.Empty()) return out;
  const std::vector<TTap> across = Taps(sw, width), down = Taps(sh, height);
  for (int y = 0; y < height; ++y) {
    const TTap& ty = down[std::size_t(y)];
    std::uint32_t* to = out.Row(y);
    for (int x = 0; x < width; ++x) {
      const TTap& tx = across[std::size_t(x)];
      const std::uint32_t nearest = source.Pixel(tx.Nearest, ty.Nearest);
      if (nearest == keyPixel) {
        to[x] = keyPixel;
        continue;
      }
      const int xs[2] = {tx.First, tx.Second}, ys[2] = {ty.First, ty.Second};
      const double wx[2] = {1 - tx.Weight, tx.Weight}, wy[2] = {1 - ty.Weight, ty.Weight};
      double sum[3] = {0, 0, 0}, weights = 0;
      for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 2; ++i) {
          const double w = wx[i] * wy[j];
          const std::uint32_t p = source.Pixel(xs[i], ys[j]);
          if (w <= 0 || p == keyPixel) continue;
          sum[0] += w * double((p >> 16) & 0xFF);
          sum[1] += w * double((p >> 8) & 0xFF);
          sum[2] += w * double(p & 0xFF);
          weights += w;
        }
      // The nearest pixel is unkeyed and weighs at least a quarter, so `weights` > 0.
      const auto channel = [&](int c) { return std::uint32_t(std::lround(sum[c] / weights)) & 0xFF; };
      const std::uint32_t blended = (channel(0) << 16) | (channel(1) << 8) | channel(2);
      // Two colours next to the key can average to it; the nearest one keeps it opaque.
      to[x] = blended == keyPixel ? nearest : blended;
    }
  }
  return out;
}

TPixelBitmap ScaleStrip(const TPixelBitmap& strip, int frames, bool vertical, int dpi, int fromDpi,
                        std::uint32_t keyPixel) {
  frames = std::max(frames, 1);
  const int frameWidth = vertical ? strip.Width() : strip.Width() / frames;
  const int frameHeight = vertical ? strip.Height() / frames : strip.Height();
  const int width = ScaleLength(frameWidth, dpi, fromDpi), height = ScaleLength(frameHeight, dpi, fromDpi);
  if (frameWidth <= 0 || frameHeight <= 0 || width <= 0 || height <= 0) return {};
  TPixelBitmap out(vertical ? width : width * frames, vertical ? height * frames : height);
  if (out.Empty()) return out;
  TPixelBitmap frame(frameWidth, frameHeight);
  for (int k = 0; k < frames; ++k) {
    const int sx = vertical ? 0 : k * frameWidth, sy = vertical ? k * frameHeight : 0;
    CopyPixels(frame, 0, 0, strip, {sx, sy, sx + frameWidth, sy + frameHeight});
    const TPixelBitmap scaled = ResamplePicture(frame, width, height, keyPixel);
    CopyPixels(out, vertical ? 0 : k * width, vertical ? k * height : 0, scaled, scaled.Bounds());
  }
  return out;
}

}  // namespace kv
