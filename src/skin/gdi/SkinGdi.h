#pragma once
// Win32 side of skin image drawing: the last step of every routine in SkinImage.h, the
// copy of finished pixels onto a device context (plain, or with magenta left out), and
// the region handle built from BitmapToRegionRects. Only Win32 code includes this.
//
//   CopyToDc             plain copy of pixels to a device context
//   CopyToWindowDc       the same onto a window's DC, which the system may mirror
//   MirrorDcColumns      turns part of a DC round, for text that a mirrored copy turns back
//   TransparentBlit      keyed copy (one masked block transfer)
//   DrawSkinImage ...    the SkinImage routines onto a device context
//   DrawElement          one state frame of a skin element (SkinFrames.h) onto a device context
//   BitmapToRegion       region of all pixels outside the key range
//   RegionFromRects      region of rectangle batches (the window frame's region)
//   ReadDcPixels         what a device context shows, as pixels
//   ResolveColor         system-colour values to RGB
//   TMessageBoxMessenger the skin reader's message as a message box
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/win/Handles.h"
#include "skin/data/SkinContainer.h"
#include "skin/data/SkinFrames.h"
#include "skin/data/SkinImage.h"

namespace kv {

// A skin colour as RGB: 0xFF000000 + index stands for that system colour.
COLORREF ResolveColor(TColorValue color);

// Copies `bitmap` whole to (x, y) of `dc`.
void CopyToDc(HDC dc, int x, int y, const TPixelBitmap& bitmap);

// A window laid out right to left (WS_EX_LAYOUTRTL) has a mirrored DC: each block
// transfer into it lands mirrored, pixels and all, so what was composed left to right
// shows as its mirror image. A direct copy (CopyToDc) lands at the mirrored place but
// unturned; this copies through a block transfer into a mirrored DC, as CopyToDc
// otherwise.
void CopyToWindowDc(HDC dc, int x, int y, const TPixelBitmap& bitmap);
bool IsMirroredDc(HDC dc);

// Turns `area` of an unmirrored `dc` round, left for right. Text drawn between two such
// turns comes out turned, so that the mirroring copy onto a mirrored window turns it
// back readable; the ground under it comes out as it was.
void MirrorDcColumns(HDC dc, const Rect& area);

// Draws the top-left pixels of `bitmap` (as many as `target` is large) at `target`,
// leaving the destination where the bitmap has the key colour. Inverted targets draw
// nothing.
void TransparentBlit(HDC dc, const Rect& target, const TPixelBitmap& bitmap, TColorValue key = kKeyColor);

void DrawSkinImage(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                   int frameIndex, const Margins& margins);
void DrawThreeSliceTiled(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                         int frameIndex, const Margins& margins);
void DrawNineSliceBorder(HDC dc, const Rect& target, const TPixelBitmap& strip, bool vertical, int frameCount,
                         int frameIndex, const Margins& margins);
void DrawFrameStretched(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                        int frameIndex);

// Frame `frame` of `image` at `target` of `dc`, resized by nine slices; nothing when
// CanDraw says so.
void DrawElement(HDC dc, const Rect& target, const TElementImage& image, int frame);

// Rectangles merged into the region 2000 at a time; an all-key picture gives an empty
// region, and the result is empty (no handle) only when the system refuses a region.
TRegionHandle BitmapToRegion(const TPixelBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                             int greenTolerance, int redTolerance, TColorValue key = kKeyColor);
// The union of all rectangles of all batches (BitmapToRegionRects, FrameRegionRects);
// no batches give an empty region.
TRegionHandle RegionFromRects(const std::vector<TRegionBatch>& batches);

// The pixels `area` of `dc` shows (read through a block transfer into a DIB).
TPixelBitmap ReadDcPixels(HDC dc, const Rect& area);

// The pixels of a bitmap handle (any format), top row first.
TPixelBitmap PixelsFromBitmap(HBITMAP bitmap);

class TMessageBoxMessenger : public TSkinMessenger {
 public:
  explicit TMessageBoxMessenger(std::wstring title) : FTitle(std::move(title)) {}
  void ShowSkinMessage(std::string_view text) override;

 private:
  std::wstring FTitle;
};

}  // namespace kv
