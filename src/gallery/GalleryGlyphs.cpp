// The gallery's small pictures, painted pixel by pixel: no picture files to keep, and the
// same pixels on every machine.
#include <cstdint>
#include <cstdlib>

#include "gallery/Gallery.h"

namespace kv {
namespace {

constexpr int kSize = 16;
// Colours as scan lines hold them (0x00RRGGBB).
constexpr std::uint32_t kClear = 0xFF00FF, kInk = 0x202020, kPaper = 0xFFFFFF, kBlue = 0x2050C0, kSky = 0x80A8E8,
                        kGrey = 0xC0C0C0, kDark = 0x606060, kRed = 0xC02020, kGreen = 0x20A040, kYellow = 0xF0C020,
                        kBrown = 0xA06830, kOrange = 0xE08020;

// Draws into one 16x16 cell of a bitmap.
class TCell {
 public:
  TCell(TBitmap& bitmap, int cell) : FBitmap(bitmap), FLeft(cell * kSize) { Fill(0, 0, kSize, kSize, kClear); }
  void Dot(int x, int y, std::uint32_t c) {
    if (x >= 0 && x < kSize && y >= 0 && y < kSize) FBitmap.ScanLine(y)[FLeft + x] = c;
  }
  // Right and bottom are exclusive.
  void Fill(int l, int t, int r, int b, std::uint32_t c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) Dot(x, y, c);
  }
  void Frame(int l, int t, int r, int b, std::uint32_t c) {
    for (int x = l; x < r; ++x) Dot(x, t, c), Dot(x, b - 1, c);
    for (int y = t; y < b; ++y) Dot(l, y, c), Dot(r - 1, y, c);
  }
  void Box(int l, int t, int r, int b, std::uint32_t fill, std::uint32_t edge) {
    Fill(l, t, r, b, fill);
    Frame(l, t, r, b, edge);
  }
  void Line(int x0, int y0, int x1, int y1, std::uint32_t c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    for (int err = dx + dy;;) {
      Dot(x0, y0, c);
      if (x0 == x1 && y0 == y1) return;
      const int e2 = 2 * err;
      if (e2 >= dy) err += dy, x0 += sx;
      if (e2 <= dx) err += dx, y0 += sy;
    }
  }
  // Pixels whose centre lies within `outer` of (cx, cy) and not within `inner`.
  void Disc(double cx, double cy, double outer, double inner, std::uint32_t c) {
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        const double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
        if (d <= outer * outer && d > inner * inner) Dot(x, y, c);
      }
  }
  void Page(int l, int t, int r, int b) {
    Box(l, t, r, b, kPaper, kInk);
    for (int y = t + 3; y < b - 2; y += 2) Line(l + 2, y, r - 3, y, kSky);
  }

 private:
  TBitmap& FBitmap;
  int FLeft;
};

void Paint(TCell& c, TGlyph glyph) {
  switch (glyph) {
    case glMdi:
      c.Box(1, 1, 12, 11, kGrey, kInk);
      c.Fill(2, 2, 11, 4, kSky);
      c.Box(4, 5, 15, 15, kPaper, kInk);
      c.Fill(5, 6, 14, 8, kBlue);
      break;
    case glDialog:
      c.Box(1, 2, 15, 14, kGrey, kInk);
      c.Fill(2, 3, 14, 5, kBlue);
      c.Box(3, 7, 9, 9, kPaper, kDark);
      c.Box(9, 10, 14, 13, kGrey, kInk);
      break;
    case glUndo:
      for (int w = 0; w < 2; ++w) {
        c.Line(4, 5 + w, 11, 5 + w, kBlue);
        c.Line(12 - w, 7, 12 - w, 11, kBlue);
        c.Line(11, 12 + w - 1, 6, 12 + w - 1, kBlue);
      }
      c.Line(4, 2, 1, 5, kBlue), c.Line(1, 6, 4, 9, kBlue), c.Line(4, 3, 4, 8, kBlue);
      break;
    case glCut:
      c.Line(5, 9, 11, 1, kDark), c.Line(10, 9, 4, 1, kDark);
      c.Disc(4, 12, 2.6, 1.2, kRed), c.Disc(11, 12, 2.6, 1.2, kRed);
      break;
    case glCopy:
      c.Page(1, 1, 10, 12);
      c.Page(6, 5, 15, 16);
      break;
    case glPaste:
      c.Box(2, 2, 12, 15, kBrown, kInk);
      c.Box(5, 1, 9, 4, kGrey, kInk);
      c.Page(7, 6, 15, 16);
      break;
    case glInfo:
      c.Disc(7.5, 7.5, 7.2, -1, kBlue);
      c.Fill(7, 3, 9, 5, kPaper);
      c.Fill(7, 6, 9, 12, kPaper);
      c.Fill(6, 11, 10, 12, kPaper);
      break;
    case glCheck:
      for (int w = 0; w < 2; ++w) c.Line(2, 8 + w, 6, 12 + w, kGreen), c.Line(6, 12 + w, 13, 4 + w, kGreen);
      break;
    case glStar:
      for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
          const int d = std::abs(2 * x - 15) + std::abs(2 * y - 15);
          if (d <= 13) c.Dot(x, y, d >= 11 ? kOrange : kYellow);
        }
      break;
    case glFolder:
      c.Box(1, 3, 7, 6, kYellow, kBrown);
      c.Box(1, 5, 15, 14, kYellow, kBrown);
      break;
    case glCount: break;
  }
}

}  // namespace

void PaintGlyphStrip(TBitmap& strip) {
  strip.SetSize(kSize * glCount, kSize);
  for (int i = 0; i < glCount; ++i) {
    TCell cell(strip, i);
    Paint(cell, static_cast<TGlyph>(i));
  }
}

void PaintGlyph(TBitmap& bitmap, TGlyph glyph) {
  bitmap.SetSize(kSize, kSize);
  TCell cell(bitmap, 0);
  Paint(cell, glyph);
}

}  // namespace kv
