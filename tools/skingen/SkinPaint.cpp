#include "SkinPaint.h"

#include <algorithm>
#include <cmath>

namespace kv::skingen {

TRgb Mix(TRgb a, TRgb b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto one = [t](int x, int y) { return int(std::lround(double(x) + double(y - x) * t)); };
  return {one(a.R, b.R), one(a.G, b.G), one(a.B, b.B)};
}

TRgb FromPixel(std::uint32_t pixel) { return {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)}; }

TRgb TGradient::At(double t) const {
  if (t <= FStops.front().first) return FStops.front().second;
  for (std::size_t i = 1; i < FStops.size(); ++i) {
    const auto& [p1, c1] = FStops[i];
    if (t <= p1) {
      const auto& [p0, c0] = FStops[i - 1];
      return Mix(c0, c1, p1 > p0 ? (t - p0) / (p1 - p0) : 1.0);
    }
  }
  return FStops.back().second;
}

TBackdrop Plain(TRgb colour, bool keyed) {
  return {[colour](int) { return colour; }, keyed};
}

namespace {

// Is the point inside the box with its rounded corners? Coordinates are continuous:
// pixel (x, y) covers [x, x + 1) x [y, y + 1).
bool Inside(const Rect& r, const TCorners& c, double px, double py) {
  if (px < r.Left || py < r.Top || px >= r.Right || py >= r.Bottom) return false;
  auto outsideCorner = [&](double radius, double cx, double cy, bool left, bool top) {
    if (radius <= 0) return false;
    if ((left ? px >= cx : px <= cx) || (top ? py >= cy : py <= cy)) return false;
    const double dx = px - cx, dy = py - cy;
    return dx * dx + dy * dy > radius * radius;
  };
  return !outsideCorner(c.TopLeft, r.Left + c.TopLeft, r.Top + c.TopLeft, true, true) &&
         !outsideCorner(c.TopRight, r.Right - c.TopRight, r.Top + c.TopRight, false, true) &&
         !outsideCorner(c.BottomRight, r.Right - c.BottomRight, r.Bottom - c.BottomRight, false, false) &&
         !outsideCorner(c.BottomLeft, r.Left + c.BottomLeft, r.Bottom - c.BottomLeft, true, false);
}

TCorners Shrunk(const TCorners& c, double by) {
  auto s = [by](double r) { return r > 0 ? std::max(0.0, r - by) : 0.0; };
  return {s(c.TopLeft), s(c.TopRight), s(c.BottomRight), s(c.BottomLeft)};
}

}  // namespace

double BoxCoverage(const Rect& r, const TCorners& corners, int x, int y) {
  if (r.Width() <= 0 || r.Height() <= 0) return 0.0;
  int hits = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx)
      if (Inside(r, corners, x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0)) ++hits;
  return hits / 16.0;
}

void DrawBox(TPixelBitmap& bitmap, const Rect& r, const TBox& box, const TBackdrop& backdrop) {
  const Rect inner1{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  const Rect inner2 = box.GlowTopOnly ? Rect{r.Left + 2, r.Top + 2, r.Right - 1, r.Bottom - 1}
                                      : Rect{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
  const TCorners c1 = Shrunk(box.Corners, 1), c2 = Shrunk(box.Corners, 2);
  const bool glow = box.GlowAlpha > 0;
  for (int y = std::max(0, r.Top); y < std::min(bitmap.Height(), r.Bottom); ++y) {
    const TRgb fill = box.Fill.Row(y - r.Top, r.Height());
    const TRgb glowColour = Mix(fill, box.Glow, box.GlowAlpha);
    const TRgb back = backdrop.Colour ? backdrop.Colour(y) : fill;
    for (int x = std::max(0, r.Left); x < std::min(bitmap.Width(), r.Right); ++x) {
      const double outer = BoxCoverage(r, box.Corners, x, y);
      if (backdrop.Keyed && outer < 0.5) {
        bitmap.SetPixel(x, y, kKey.Pixel());
        continue;
      }
      const double in1 = BoxCoverage(inner1, c1, x, y);
      const double in2 = glow ? BoxCoverage(inner2, c2, x, y) : in1;
      const double shares[4] = {outer - in1, in1 - in2, in2, 1.0 - outer};
      const TRgb colours[4] = {box.Border, glowColour, fill, back};
      double rgb[3] = {0, 0, 0};
      for (int i = 0; i < 4; ++i) {
        rgb[0] += shares[i] * colours[i].R;
        rgb[1] += shares[i] * colours[i].G;
        rgb[2] += shares[i] * colours[i].B;
      }
      bitmap.SetPixel(x, y, TRgb{int(std::lround(rgb[0])), int(std::lround(rgb[1])), int(std::lround(rgb[2]))}.Pixel());
    }
  }
}

void FillGradient(TPixelBitmap& bitmap, const Rect& r, const TGradient& gradient) {
  for (int y = std::max(0, r.Top); y < std::min(bitmap.Height(), r.Bottom); ++y) {
    const std::uint32_t p = gradient.Row(y - r.Top, r.Height()).Pixel();
    for (int x = std::max(0, r.Left); x < std::min(bitmap.Width(), r.Right); ++x) bitmap.SetPixel(x, y, p);
  }
}

void Stamp(TPixelBitmap& bitmap, int x, int y, std::initializer_list<std::string_view> rows, TRgb colour, TRgb under) {
  int dy = 0;
  for (std::string_view row : rows) {
    for (int dx = 0; dx < int(row.size()); ++dx) {
      const int px = x + dx, py = y + dy;
      if (px < 0 || py < 0 || px >= bitmap.Width() || py >= bitmap.Height()) continue;
      const char c = row[std::size_t(dx)];
      if (c == '#')
        bitmap.SetPixel(px, py, colour.Pixel());
      else if (c == '+' || c == '-') {
        const std::uint32_t old = bitmap.Pixel(px, py);
        const TRgb base = old == kKey.Pixel() ? under : FromPixel(old);
        bitmap.SetPixel(px, py, Mix(base, colour, c == '+' ? 0.5 : 0.25).Pixel());
      }
    }
    ++dy;
  }
}

void CopyFrame(TPixelBitmap& strip, int count, int frame, int to) {
  const int w = strip.Width() / count;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < w; ++x) strip.SetPixel(to * w + x, y, strip.Pixel(frame * w + x, y));
}

}  // namespace kv::skingen
