#include "skin/data/SkinImage.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace kv {

namespace {

struct TPiece {
  Rect FSource;
  Rect FTarget;
};

// A margin as the slices use it: within 0 .. the frame's side, so no piece reads outside
// its frame.
int MarginInForce(int margin, int frameSide) { return std::clamp(margin, 0, std::max(frameSide, 0)); }

// The frame and the margins in force for a target of width x height (at most a bitmap's
// side). Skins can say any int, so this is where margins are tamed: each is held within
// the frame, and a pair wider than the target is dropped. With the frame near the strip
// (FrameRect) no sum of the pieces below then comes anywhere near int's limits.
struct TSliceGeometry {
  Rect FFrame;
  int FLeft, FTop, FRight, FBottom;

  TSliceGeometry(const TPixelBitmap& strip, bool vertical, int frameCount, int frameIndex, const Margins& m, int width,
                 int height)
      : FFrame(FrameRect(strip, vertical, frameCount, frameIndex)),
        FLeft(MarginInForce(m.Left, FFrame.Width())),
        FTop(MarginInForce(m.Top, FFrame.Height())),
        FRight(MarginInForce(m.Right, FFrame.Width())),
        FBottom(MarginInForce(m.Bottom, FFrame.Height())) {
    if (std::int64_t(width) < std::int64_t(FLeft) + FRight) FLeft = FRight = 0;
    if (std::int64_t(height) < std::int64_t(FTop) + FBottom) FTop = FBottom = 0;
  }

  // The nine pieces in drawing order; the centre is index 5. Targets never invert; with
  // margins wider than the frame the middle pieces' sources do, and draw mirrored.
  std::vector<TPiece> Pieces(int w, int h) const {
    const int x0 = FFrame.Left, y0 = FFrame.Top, x1 = FFrame.Right, y1 = FFrame.Bottom;
    const int L = FLeft, T = FTop, R = FRight, B = FBottom;
    std::vector<TPiece> pieces;
    auto add = [&](bool when, Rect source, Rect target) { pieces.push_back(when ? TPiece{source, target} : TPiece{}); };
    add(L > 0 && T > 0, {x0, y0, x0 + L, y0 + T}, {0, 0, L, T});
    add(L > 0 && B > 0, {x0, y1 - B, x0 + L, y1}, {0, h - B, L, h});
    add(R > 0 && T > 0, {x1 - R, y0, x1, y0 + T}, {w - R, 0, w, T});
    add(L > 0, {x0, y0 + T, x0 + L, y1 - B}, {0, T, L, h - B});
    add(T > 0, {x0 + L, y0, x1 - R, y0 + T}, {L, 0, w - R, T});
    add(true, {x0 + L, y0 + T, x1 - R, y1 - B}, {L, T, w - R, h - B});
    add(R > 0 && B > 0, {x1 - R, y1 - B, x1, y1}, {w - R, h - B, w, h});
    add(R > 0, {x1 - R, y0 + T, x1, y1 - B}, {w - R, T, w, h - B});
    add(B > 0, {x0 + L, y1 - B, x1 - R, y1}, {L, h - B, w - R, h});
    return pieces;
  }
};

constexpr std::size_t kCentre = 5;

Rect Offset(Rect r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

bool Inverted(const Rect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

// The size of `target`; false when it is inverted or larger than any bitmap can be. Such
// a target draws nothing, and its sides never reach the slice arithmetic.
bool TargetSize(const Rect& target, int& width, int& height) {
  const std::int64_t w = std::int64_t(target.Right) - target.Left;
  const std::int64_t h = std::int64_t(target.Bottom) - target.Top;
  if (w < 0 || h < 0 || w > TPixelBitmap::kMaxSide || h > TPixelBitmap::kMaxSide) return false;
  width = int(w);
  height = int(h);
  return true;
}

// A tiled piece repeats what its stretched drawing would show: an inverted source mirrored.
void TilePiece(TPixelBitmap& canvas, const TPiece& piece, const TPixelBitmap& strip) {
  const Rect& s = piece.FSource;
  if (!Inverted(s)) {
    TileBitmap(canvas, piece.FTarget, strip, s);
    return;
  }
  TPixelBitmap mirrored(std::abs(s.Width()), std::abs(s.Height()));
  if (mirrored.Empty()) return;
  StretchDraw(mirrored, mirrored.Bounds(), strip, s);
  TileBitmap(canvas, piece.FTarget, mirrored, mirrored.Bounds());
}

// Puts a finished work bitmap onto the canvas, keyed or plain.
void Place(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& work, bool transparent) {
  if (transparent) {
    DrawKeyed(canvas, target.Left, target.Top, work, work.Width(), work.Height(), PixelOf(kKeyColor));
  } else {
    CopyPixels(canvas, target.Left, target.Top, work, work.Bounds());
  }
}

}  // namespace

Rect FrameRect(const TPixelBitmap& strip, bool vertical, int frameCount, int frameIndex) {
  const int count = std::max(frameCount, 1);
  if (vertical) {
    const int fh = strip.Height() / count;
    const std::int64_t top = std::int64_t(frameIndex - std::int64_t(1)) * fh;
    const int y = int(std::clamp<std::int64_t>(top, -TPixelBitmap::kMaxSide * 2, TPixelBitmap::kMaxSide * 2));
    return {0, y, strip.Width(), y + fh};
  }
  const int fw = strip.Width() / count;
  const std::int64_t left = std::int64_t(frameIndex - std::int64_t(1)) * fw;
  const int x = int(std::clamp<std::int64_t>(left, -TPixelBitmap::kMaxSide * 2, TPixelBitmap::kMaxSide * 2));
  return {x, 0, x + fw, strip.Height()};
}

TPixelBitmap RenderNineSlice(int width, int height, const TPixelBitmap& strip, const Margins& margins, TDrawFlags flags,
                             int frameCount, int frameIndex) {
  TPixelBitmap result(width, height);
  if (result.Empty()) return result;
  const TSliceGeometry g(strip, HasFlag(flags, TDrawFlags::dfVertical), frameCount, frameIndex, margins, width, height);
  const std::vector<TPiece> pieces = g.Pieces(width, height);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i == kCentre && HasFlag(flags, TDrawFlags::dfTile)) {
      TilePiece(result, pieces[i], strip);
    } else {
      StretchDraw(result, pieces[i].FTarget, strip, pieces[i].FSource);
    }
  }
  return result;
}

void DrawSkinImage(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                   int frameCount, int frameIndex, const Margins& margins) {
  int w, h;
  if (!TargetSize(target, w, h)) return;
  const TPixelBitmap work = RenderNineSlice(w, h, strip, margins, flags, frameCount, frameIndex);
  Place(canvas, target, work, HasFlag(flags, TDrawFlags::dfTransparent));
}

TPixelBitmap RenderThreeSlice(int width, int height, const TPixelBitmap& strip, const Margins& margins, bool vertical,
                              int frameCount, int frameIndex) {
  TPixelBitmap work(width, height);
  if (work.Empty()) return work;
  const Rect f = FrameRect(strip, vertical, frameCount, frameIndex);
  const int L = MarginInForce(margins.Left, f.Width());
  const int R = MarginInForce(margins.Right, f.Width());
  const std::int64_t middle = std::int64_t(f.Width()) - L - R;
  if (middle <= 0) {
    // No middle to repeat: the frame as a whole, caps included, across the target.
    StretchDraw(work, work.Bounds(), strip, f);
    return work;
  }
  const int m = int(middle);
  StretchDraw(work, {0, 0, L, height}, strip, {f.Left, f.Top, f.Left + L, f.Bottom});
  for (std::int64_t x = L; x < std::int64_t(width) - R; x += m)
    StretchDraw(work, {int(x), 0, int(x + m), height}, strip, {f.Left + L, f.Top, f.Left + L + m, f.Bottom});
  StretchDraw(work, {width - R, 0, width, height}, strip, {f.Right - R, f.Top, f.Right, f.Bottom});
  return work;
}

void DrawThreeSliceTiled(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                         int frameCount, int frameIndex, const Margins& margins) {
  int w, h;
  if (!TargetSize(target, w, h)) return;
  const TPixelBitmap work =
      RenderThreeSlice(w, h, strip, margins, HasFlag(flags, TDrawFlags::dfVertical), frameCount, frameIndex);
  Place(canvas, target, work, HasFlag(flags, TDrawFlags::dfTransparent));
}

void DrawNineSliceBorder(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, bool vertical,
                         int frameCount, int frameIndex, const Margins& margins) {
  int w, h;
  if (!TargetSize(target, w, h) || w == 0 || h == 0) return;
  const TSliceGeometry g(strip, vertical, frameCount, frameIndex, margins, w, h);
  const std::vector<TPiece> pieces = g.Pieces(w, h);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i == kCentre) continue;
    StretchDraw(canvas, Offset(pieces[i].FTarget, target.Left, target.Top), strip, pieces[i].FSource);
  }
}

TPixelBitmap RenderFrameStretched(int width, int height, const TPixelBitmap& strip, int frameCount, int frameIndex) {
  TPixelBitmap work(width, height);
  StretchDraw(work, work.Bounds(), strip, FrameRect(strip, false, frameCount, frameIndex));
  return work;
}

void DrawFrameStretched(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                        int frameCount, int frameIndex) {
  int w, h;
  if (!TargetSize(target, w, h)) return;
  const TPixelBitmap work = RenderFrameStretched(w, h, strip, frameCount, frameIndex);
  Place(canvas, target, work, HasFlag(flags, TDrawFlags::dfTransparent));
}

void TransparentBlit(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& bitmap, TColorValue key) {
  if (Inverted(target)) return;
  // Unstretched: a side beyond int is as good as the largest one.
  constexpr std::int64_t most = std::numeric_limits<int>::max();
  const int w = int(std::min(std::int64_t(target.Right) - target.Left, most));
  const int h = int(std::min(std::int64_t(target.Bottom) - target.Top, most));
  DrawKeyed(canvas, target.Left, target.Top, bitmap, w, h, PixelOf(key));
}

void TileBitmap(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& bitmap, const Rect& source) {
  const std::int64_t sw = source.Width();
  const std::int64_t sh = source.Height();
  if (sw <= 0 || sh <= 0) return;
  TPixelBitmap piece{int(sw), int(sh)};
  if (piece.Empty()) return;
  CopyPixels(piece, 0, 0, bitmap, source);
  // Copies wholly left of or above the canvas are skipped; they would not show.
  std::int64_t x = target.Left;
  if (x + sw <= 0) x += ((-x) / sw) * sw;
  for (; x < target.Right && x < canvas.Width(); x += sw) {
    std::int64_t y = target.Top;
    if (y + sh <= 0) y += ((-y) / sh) * sh;
    for (; y < target.Bottom && y < canvas.Height(); y += sh) CopyPixels(canvas, int(x), int(y), piece, piece.Bounds());
  }
}

namespace {

// One pass over the rows, with the test for "transparent" fixed at compile time.
template <class Transparent>
std::vector<TRegionBatch> CollectRuns(const TPixelBitmap& bitmap, int xOffset, int yOffset, Transparent transparent) {
  std::vector<TRegionBatch> batches;
  TRegionBatch current;
  current.FRects.reserve(kRegionBatch);
  const int width = bitmap.Width();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint32_t* row = bitmap.Row(y);
    int x = 0;
    while (x < width) {
      while (x < width && transparent(row[x])) ++x;
      const int start = x;
      while (x < width && !transparent(row[x])) ++x;
      if (x > start) {
        const Rect r{start + xOffset, y + yOffset, x + xOffset, y + yOffset + 1};
        current.FRects.push_back(r);
        current.FBounds.Left = std::min(current.FBounds.Left, r.Left);
        current.FBounds.Top = std::min(current.FBounds.Top, r.Top);
        current.FBounds.Right = std::max(current.FBounds.Right, r.Right);
        current.FBounds.Bottom = std::max(current.FBounds.Bottom, r.Bottom);
        if (current.FRects.size() == kRegionBatch) {
          batches.push_back(std::move(current));
          current = TRegionBatch{};
          current.FRects.reserve(kRegionBatch);
        }
      }
      ++x;  // the pixel that ended the run is transparent
    }
  }
  if (!current.FRects.empty() || batches.empty()) batches.push_back(std::move(current));
  return batches;
}

}  // namespace

std::vector<TRegionBatch> BitmapToRegionRects(const TPixelBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                                              int greenTolerance, int redTolerance, TColorValue key) {
  const int lowR = int(key & 0xFF), lowG = int((key >> 8) & 0xFF), lowB = int((key >> 16) & 0xFF);
  // Widths of the ranges; a negative one means nothing is transparent.
  const int spanR = std::min(lowR + redTolerance, 255) - lowR;
  const int spanG = std::min(lowG + greenTolerance, 255) - lowG;
  const int spanB = std::min(lowB + blueTolerance, 255) - lowB;
  if (spanR < 0 || spanG < 0 || spanB < 0)
    return CollectRuns(bitmap, xOffset, yOffset, [](std::uint32_t) { return false; });
  if (spanR == 0 && spanG == 0 && spanB == 0) {
    const std::uint32_t keyPixel = PixelOf(key & 0xFFFFFFu);
    return CollectRuns(bitmap, xOffset, yOffset, [keyPixel](std::uint32_t p) { return (p & 0xFFFFFFu) == keyPixel; });
  }
  return CollectRuns(bitmap, xOffset, yOffset, [=](std::uint32_t p) {
    return unsigned(int((p >> 16) & 0xFF) - lowR) <= unsigned(spanR) &&
           unsigned(int((p >> 8) & 0xFF) - lowG) <= unsigned(spanG) &&
           unsigned(int(p & 0xFF) - lowB) <= unsigned(spanB);
  });
}

void MirrorHorizontal(TPixelBitmap& bitmap) {
  for (int y = 0; y < bitmap.Height(); ++y) std::reverse(bitmap.Row(y), bitmap.Row(y) + bitmap.Width());
}

void FlipVertical(TPixelBitmap& bitmap) {
  for (int top = 0, bottom = bitmap.Height() - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(bitmap.Row(top), bitmap.Row(top) + bitmap.Width(), bitmap.Row(bottom));
}

void RotateLeft(TPixelBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  TPixelBitmap turned(h, w);
  for (int y = 0; y < w; ++y)
    for (int x = 0; x < h; ++x) turned.SetPixel(x, y, bitmap.Pixel(w - 1 - y, x));
  bitmap = std::move(turned);
}

void RotateRight(TPixelBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  TPixelBitmap turned(h, w);
  for (int y = 0; y < w; ++y)
    for (int x = 0; x < h; ++x) turned.SetPixel(x, y, bitmap.Pixel(y, h - 1 - x));
  bitmap = std::move(turned);
}

}  // namespace kv
