#include "skin/data/PixelBitmap.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kv {

bool TPixelBitmap::SizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

TPixelBitmap::TPixelBitmap(int width, int height, std::uint32_t fill) {
  if (!SizeAllowed(width, height) || width == 0 || height == 0) return;
  FWidth = width;
  FHeight = height;
  FPixels.assign(std::size_t(width) * std::size_t(height), fill);
}

void TPixelBitmap::Fill(std::uint32_t p) { std::fill(FPixels.begin(), FPixels.end(), p); }

void TPixelBitmap::FillRect(const Rect& r, std::uint32_t p) {
  const int left = std::max(r.Left, 0);
  const int right = std::min(r.Right, FWidth);
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, FHeight); ++y)
    for (int x = left; x < right; ++x) Row(y)[x] = p;
}

void StretchDraw(TPixelBitmap& dst, const Rect& target, const TPixelBitmap& src, const Rect& source) {
  const std::int64_t tw = std::int64_t(target.Right) - target.Left;
  const std::int64_t th = std::int64_t(target.Bottom) - target.Top;
  // A source of negative extent covers Right .. Left - 1 and is read from its far end.
  const bool mirrorX = source.Right < source.Left;
  const bool mirrorY = source.Bottom < source.Top;
  const std::int64_t sLeft = std::min(source.Left, source.Right);
  const std::int64_t sTop = std::min(source.Top, source.Bottom);
  const std::int64_t sw = std::max(source.Left, source.Right) - sLeft;
  const std::int64_t sh = std::max(source.Top, source.Bottom) - sTop;
  if (tw <= 0 || th <= 0 || sw <= 0 || sh <= 0 || dst.Empty() || src.Empty()) return;
  // Sides beyond int come only from nonsense rectangles; refusing them keeps the products
  // below within 64 bits.
  constexpr std::int64_t most = std::numeric_limits<int>::max();
  if (tw > most || th > most || sw > most || sh > most) return;
  const int x0 = std::max(target.Left, 0);
  const int x1 = int(std::min<std::int64_t>(target.Right, dst.Width()));
  const int y0 = std::max(target.Top, 0);
  const int y1 = int(std::min<std::int64_t>(target.Bottom, dst.Height()));
  if (x0 >= x1 || y0 >= y1) return;

  // Source column of every visible target column; -1 where it falls outside `src`.
  std::vector<int> column(std::size_t(x1 - x0));
  bool wholeRow = true;
  for (int x = x0; x < x1; ++x) {
    const std::int64_t step = (std::int64_t(x) - target.Left) * sw / tw;
    const std::int64_t sx = mirrorX ? sLeft + sw - 1 - step : sLeft + step;
    const bool inside = sx >= 0 && sx < src.Width();
    column[std::size_t(x - x0)] = inside ? int(sx) : -1;
    wholeRow = wholeRow && inside;
  }
  const bool straight = wholeRow && sw == tw && !mirrorX;  // a plain copy of each row

  std::int64_t lastSy = -1;
  int lastY = -1;
  for (int y = y0; y < y1; ++y) {
    const std::int64_t step = (std::int64_t(y) - target.Top) * sh / th;
    const std::int64_t sy = mirrorY ? sTop + sh - 1 - step : sTop + step;
    if (sy < 0 || sy >= src.Height()) continue;
    std::uint32_t* out = dst.Row(y) + x0;
    if (sy == lastSy && wholeRow) {
      std::memcpy(out, dst.Row(lastY) + x0, std::size_t(x1 - x0) * sizeof(std::uint32_t));
    } else if (straight) {
      std::memcpy(out, src.Row(int(sy)) + column[0], std::size_t(x1 - x0) * sizeof(std::uint32_t));
    } else {
      const std::uint32_t* in = src.Row(int(sy));
      for (std::size_t i = 0; i < column.size(); ++i)
        if (column[i] >= 0) out[i] = in[column[i]];
    }
    lastSy = sy;
    lastY = y;
  }
}

void CopyPixels(TPixelBitmap& dst, int x, int y, const TPixelBitmap& src, const Rect& source) {
  // Clip the source to its bitmap, moving the target with it, then clip to the target.
  std::int64_t left = source.Left, top = source.Top, right = source.Right, bottom = source.Bottom;
  std::int64_t tx = x, ty = y;
  if (left < 0) tx -= left, left = 0;
  if (top < 0) ty -= top, top = 0;
  right = std::min<std::int64_t>(right, src.Width());
  bottom = std::min<std::int64_t>(bottom, src.Height());
  if (tx < 0) left -= tx, tx = 0;
  if (ty < 0) top -= ty, ty = 0;
  right = std::min(right, left + dst.Width() - tx);
  bottom = std::min(bottom, top + dst.Height() - ty);
  if (right <= left || bottom <= top) return;
  for (std::int64_t row = 0; row < bottom - top; ++row)
    std::memcpy(dst.Row(int(ty + row)) + tx, src.Row(int(top + row)) + left,
                std::size_t(right - left) * sizeof(std::uint32_t));
}

void DrawKeyed(TPixelBitmap& dst, int x, int y, const TPixelBitmap& src, int width, int height,
               std::uint32_t keyPixel) {
  const std::int64_t w = std::min<std::int64_t>({width, src.Width(), std::int64_t(dst.Width()) - x});
  const std::int64_t h = std::min<std::int64_t>({height, src.Height(), std::int64_t(dst.Height()) - y});
  const std::int64_t fromX = std::max<std::int64_t>(0, -std::int64_t(x));
  const std::int64_t fromY = std::max<std::int64_t>(0, -std::int64_t(y));
  for (std::int64_t row = fromY; row < h; ++row) {
    const std::uint32_t* in = src.Row(int(row));
    std::uint32_t* out = dst.Row(int(y + row));
    for (std::int64_t col = fromX; col < w; ++col)
      if ((in[col] & 0xFFFFFFu) != keyPixel) out[x + col] = in[col];
  }
}

}  // namespace kv
