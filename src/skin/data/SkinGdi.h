#pragma once
// Win32 side of skin image drawing: the last step of every routine in SkinImage.h, the
// copy of finished pixels onto a device context (plain, or with magenta left out), and
// the region handle built from BitmapToRegionRects. Only Win32 code includes this.
//
//   TSkinRegion          move-only owner of a region handle
//   CopyToDc             plain copy of pixels to a device context
//   TransparentBlit      keyed copy (one masked block transfer)
//   DrawSkinImage ...    the SkinImage routines onto a device context
//   BitmapToRegion       region of all pixels outside the key range
//   ReadDcPixels         what a device context shows, as pixels
//   ResolveColor         system-colour values to RGB
//   TMessageBoxMessenger the skin reader's message as a message box
#include <windows.h>

#include <string>
#include <utility>

#include "skin/data/SkinContainer.h"
#include "skin/data/SkinImage.h"

namespace kv {

class TSkinRegion {
public:
  TSkinRegion() = default;
  explicit TSkinRegion(HRGN region) : FRegion(region) {}
  TSkinRegion(const TSkinRegion&) = delete;
  TSkinRegion& operator=(const TSkinRegion&) = delete;
  TSkinRegion(TSkinRegion&& other) noexcept : FRegion(std::exchange(other.FRegion, nullptr)) {}
  TSkinRegion& operator=(TSkinRegion&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.FRegion, nullptr));
    return *this;
  }
  ~TSkinRegion() { Reset(); }

  HRGN Get() const { return FRegion; }
  HRGN Release() { return std::exchange(FRegion, nullptr); }  // e.g. for SetWindowRgn, which takes it over
  explicit operator bool() const { return FRegion != nullptr; }
  void Reset(HRGN region = nullptr) {
    if (FRegion) DeleteObject(FRegion);
    FRegion = region;
  }

private:
  HRGN FRegion = nullptr;
};

// A skin colour as RGB: 0xFF000000 + index stands for that system colour.
COLORREF ResolveColor(TColorValue color);

// Copies `bitmap` whole to (x, y) of `dc`.
void CopyToDc(HDC dc, int x, int y, const TPixelBitmap& bitmap);

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

// Rectangles merged into the region 2000 at a time; an all-key picture gives an empty
// region, and the result is empty (no handle) only when the system refuses a region.
TSkinRegion BitmapToRegion(const TPixelBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                           int greenTolerance, int redTolerance, TColorValue key = kKeyColor);

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
