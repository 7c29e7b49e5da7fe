#pragma once
// Drawing skin pictures: cutting state frames out of a strip, nine-slice and three-slice
// resizing, keyed (magenta) copies, tiling, the rectangles of a window region, and the
// mirror / flip / rotate transforms. Everything here works on TPixelBitmap; SkinGdi.h
// does the last step onto a device context.
//
// A strip holds n equal frames side by side (or stacked, with dfVertical). Frame k
// (from 1) of a horizontal strip starts at x = (k - 1) * (width / n). A frame count
// below 1 counts as 1; a frame index beyond the count reads outside the picture and
// draws nothing.
//
// Nine-slice pieces, in the order they are drawn (later pieces cover earlier ones):
//
//     +----+-----------+----+      1 top-left     5 top edge
//     | 1  |     5     | 3  |      2 bottom-left  6 centre (stretched or tiled)
//     +----+-----------+----+      3 top-right    7 bottom-right
//     | 4  |     6     | 8  |      4 left edge    8 right edge
//     +----+-----------+----+                     9 bottom edge
//     | 2  |     9     | 7  |
//     +----+-----------+----+
//
// A margin counts within 0 .. the frame's width (height). A target narrower than left +
// right drops both side margins (likewise top + bottom): the frame is then stretched
// across without them. Margins that fit the target but together not the frame leave the
// middle pieces a source of negative extent: like StretchBlt, those pieces are drawn
// mirrored (a tiled centre too).
//
// A target that is inverted or larger than a bitmap can be draws nothing.
#include <cstdint>
#include <vector>

#include "skin/data/PixelBitmap.h"

namespace kv {

enum class TDrawFlags : unsigned { dfNone = 0, dfVertical = 1, dfTile = 2, dfTransparent = 4 };
constexpr TDrawFlags operator|(TDrawFlags a, TDrawFlags b) { return TDrawFlags(unsigned(a) | unsigned(b)); }
constexpr bool HasFlag(TDrawFlags set, TDrawFlags flag) { return (unsigned(set) & unsigned(flag)) != 0; }

// Where frame `frameIndex` of `frameCount` lies in `strip`.
Rect FrameRect(const TPixelBitmap& strip, bool vertical, int frameCount, int frameIndex);

// The frame resized to width x height by nine slices (dfVertical, dfTile count).
TPixelBitmap RenderNineSlice(int width, int height, const TPixelBitmap& strip, const Margins& margins, TDrawFlags flags,
                             int frameCount, int frameIndex);

// RenderNineSlice at `target` of `canvas`, keyed with dfTransparent, plain otherwise.
// An inverted target draws nothing.
void DrawSkinImage(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                   int frameCount, int frameIndex, const Margins& margins);

// Horizontal three slices: left cap, the middle part repeated (each copy stretched to
// the height), right cap. Only the left and right margins count, within 0 .. the frame's
// width. A frame whose middle is 0 or less wide is stretched across the target as a whole.
TPixelBitmap RenderThreeSlice(int width, int height, const TPixelBitmap& strip, const Margins& margins, bool vertical,
                              int frameCount, int frameIndex);
void DrawThreeSliceTiled(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                         int frameCount, int frameIndex, const Margins& margins);

// The eight border pieces only, straight onto `canvas` at `target`; the centre keeps
// what it had.
void DrawNineSliceBorder(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, bool vertical,
                         int frameCount, int frameIndex, const Margins& margins);

// One frame of a horizontal strip stretched to width x height.
TPixelBitmap RenderFrameStretched(int width, int height, const TPixelBitmap& strip, int frameCount, int frameIndex);
void DrawFrameStretched(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags,
                        int frameCount, int frameIndex);

// Draws the top-left pixels of `bitmap` (as many as `target` is large, unstretched) at
// `target`, leaving out the key colour. An inverted target draws nothing.
void TransparentBlit(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& bitmap, TColorValue key = kKeyColor);

// Repeats `source` of `bitmap` over `target`: columns from the left, rows from the top,
// the last ones whole even past the target's edge (only the canvas edge cuts them).
void TileBitmap(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& bitmap, const Rect& source);

// The rectangles of a region holding every pixel outside the transparent range, one
// run of a row each, in batches of at most kRegionBatch with the bounds of each batch.
inline constexpr std::size_t kRegionBatch = 2000;
struct TRegionBatch {
  std::vector<Rect> FRects;
  Rect FBounds{0x7FFFFFFF, 0x7FFFFFFF, 0, 0};
};
// The transparent range of each component runs from the key's component to that plus
// its tolerance (at most 255). A picture with nothing opaque gives one empty batch.
std::vector<TRegionBatch> BitmapToRegionRects(const TPixelBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                                              int greenTolerance, int redTolerance, TColorValue key = kKeyColor);

void MirrorHorizontal(TPixelBitmap& bitmap);
void FlipVertical(TPixelBitmap& bitmap);
void RotateLeft(TPixelBitmap& bitmap);   // a quarter turn anticlockwise
void RotateRight(TPixelBitmap& bitmap);  // a quarter turn clockwise

}  // namespace kv
