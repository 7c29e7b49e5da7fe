#pragma once
// The portable picture every skin drawing routine works on: 32 bits per pixel, top row
// first, each pixel 0x00RRGGBB (a 32-bit DIB's memory order, so the Win32 side can hand
// the rows to the device unchanged). Colours in skin definitions are Windows colour
// values 0x00BBGGRR; PixelOf / ColorOf convert between the two.
//
//   Rect, Margins     plain geometry (right and bottom exclusive)
//   TPixelBitmap      the pixels, with a size limit that keeps hostile sizes harmless
//   StretchDraw       nearest-neighbour resize of one piece onto another bitmap
//   CopyPixels        plain copy, clipped on both sides
//   DrawKeyed         copy that leaves out one colour
#include <cstdint>
#include <span>
#include <vector>

namespace kv {

struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  friend constexpr bool operator==(const Rect&, const Rect&) = default;
};

struct Margins {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

using TColorValue = std::uint32_t;                    // 0x00BBGGRR, as stored in skin definitions
inline constexpr TColorValue kKeyColor = 0x00FF00FF;  // magenta: transparent in skin pictures

constexpr std::uint32_t PixelOf(TColorValue c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }
constexpr TColorValue ColorOf(std::uint32_t pixel) { return PixelOf(pixel); }  // the swap is its own inverse

class TPixelBitmap {
 public:
  // Larger bitmaps are never made: a request beyond these gives an empty bitmap, the way
  // a device refuses a bitmap it cannot hold.
  static constexpr int kMaxSide = 32767;
  static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;
  static bool SizeAllowed(std::int64_t width, std::int64_t height);

  TPixelBitmap() = default;
  TPixelBitmap(int width, int height, std::uint32_t fill = 0);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  Rect Bounds() const { return {0, 0, FWidth, FHeight}; }

  std::uint32_t Pixel(int x, int y) const { return FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)]; }
  void SetPixel(int x, int y, std::uint32_t p) { FPixels[std::size_t(y) * std::size_t(FWidth) + std::size_t(x)] = p; }
  std::uint32_t* Row(int y) { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
  const std::uint32_t* Row(int y) const { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
  std::span<const std::uint32_t> Pixels() const { return FPixels; }
  std::span<std::uint32_t> Pixels() { return FPixels; }

  void Fill(std::uint32_t p);
  void FillRect(const Rect& r, std::uint32_t p);

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<std::uint32_t> FPixels;
};

// Resizes `source` of `src` onto `target` of `dst`, nearest neighbour: target pixel i of
// a row takes source pixel floor(i * sourceWidth / targetWidth), rows alike (the
// colour-on-colour stretch). Target pixels outside `dst` are clipped; source pixels
// outside `src` leave the target pixel as it was. A source of negative extent (Right <
// Left, or Bottom < Top) covers Right .. Left - 1 and is drawn mirrored, as StretchBlt
// draws it. A target of no or negative extent, a source of no extent, and sides that do
// not fit an int draw nothing.
void StretchDraw(TPixelBitmap& dst, const Rect& target, const TPixelBitmap& src, const Rect& source);

// Copies `source` of `src` to `dst` with its top-left at (x, y), clipped on both sides.
void CopyPixels(TPixelBitmap& dst, int x, int y, const TPixelBitmap& src, const Rect& source);

// Copies the top-left `width` x `height` pixels of `src` to (x, y) of `dst`, leaving out
// every pixel of `keyPixel` (0x00RRGGBB).
void DrawKeyed(TPixelBitmap& dst, int x, int y, const TPixelBitmap& src, int width, int height, std::uint32_t keyPixel);

}  // namespace kv
