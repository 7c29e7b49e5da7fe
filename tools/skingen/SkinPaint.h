#pragma once
// The small painting kit the skin generator draws with: colours, vertical gradients,
// anti-aliased rounded boxes (edge pixels blended into a known background, or keyed
// to magenta where they are mostly outside) and 1-px glyph stamps.
//
// Everything is plain integer and IEEE arithmetic (no libm beyond sqrt), so the same
// source gives the same pictures on every build: the committed skin container is
// checked against a fresh run.
#include <functional>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "skin/data/PixelBitmap.h"

namespace kv::skingen {

struct TRgb {
  int R = 0, G = 0, B = 0;
  constexpr std::uint32_t Pixel() const {
    return (std::uint32_t(R) << 16) | (std::uint32_t(G) << 8) | std::uint32_t(B);
  }
  friend constexpr bool operator==(const TRgb&, const TRgb&) = default;
};

inline constexpr TRgb kKey{255, 0, 255};
inline constexpr TRgb kWhite{255, 255, 255};
inline constexpr TRgb kBlack{0, 0, 0};

TRgb Mix(TRgb a, TRgb b, double t);  // t = 0 gives a, 1 gives b
TRgb FromPixel(std::uint32_t pixel);

// A vertical gradient by stops (position 0..1, colour); between stops the colour is
// mixed linearly, outside them it is the nearest stop's.
class TGradient {
 public:
  TGradient(TRgb single) : FStops{{0.0, single}} {}
  TGradient(std::initializer_list<std::pair<double, TRgb>> stops) : FStops(stops) {}
  TRgb At(double t) const;
  // Row y of a span of `height` rows.
  TRgb Row(int y, int height) const { return At(height > 1 ? double(y) / double(height - 1) : 0.0); }

 private:
  std::vector<std::pair<double, TRgb>> FStops;
};

// Corner radii of a box, clockwise from the top-left; 0 is a square corner.
struct TCorners {
  double TopLeft = 0, TopRight = 0, BottomRight = 0, BottomLeft = 0;
  static TCorners All(double r) { return {r, r, r, r}; }
  static TCorners Top(double r) { return {r, r, 0, 0}; }
  static TCorners Bottom(double r) { return {0, 0, r, r}; }
  static TCorners Left(double r) { return {r, 0, 0, r}; }
  static TCorners Right(double r) { return {0, r, r, 0}; }
};

// Share (0..1) of pixel (x, y) inside the box `r` with rounded corners, 4 x 4 samples.
double BoxCoverage(const Rect& r, const TCorners& corners, int x, int y);

// A box: a 1-px outline, an optional 1-px inner ring (a glow, mixed over the fill by
// GlowAlpha), and a vertical fill gradient spanning the box.
struct TBox {
  TRgb Border;
  TGradient Fill;
  TRgb Glow = kWhite;
  double GlowAlpha = 0.0;
  TCorners Corners;
  bool GlowTopOnly = false;  // the inner ring only along the top and left
};

// How pixels the box only partly covers are finished.
struct TBackdrop {
  std::function<TRgb(int y)> Colour;  // what lies behind the picture when it is drawn, by bitmap row
  bool Keyed = false;                 // mostly-outside pixels become magenta
};
TBackdrop Plain(TRgb colour, bool keyed = false);

void DrawBox(TPixelBitmap& bitmap, const Rect& r, const TBox& box, const TBackdrop& backdrop);

// Fills `r` with the gradient (rows counted within r).
void FillGradient(TPixelBitmap& bitmap, const Rect& r, const TGradient& gradient);

// Stamps a glyph given as text rows: '#' is the colour, '+' the colour at half strength
// over what is there (over `under` where the pixel is still magenta), '-' a quarter,
// anything else leaves the pixel.
inline constexpr TRgb kFace{238, 233, 213};
void Stamp(TPixelBitmap& bitmap, int x, int y, std::initializer_list<std::string_view> rows, TRgb colour,
           TRgb under = kFace);

// Copies frame `frame` (from 0) of a horizontal strip of `count` frames to frame `to`.
void CopyFrame(TPixelBitmap& strip, int count, int frame, int to);

}  // namespace kv::skingen
