#include "skin/gdi/SkinGdi.h"

#include "base/win/Dc.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace kv {

namespace {

// A 32-bit DIB section holding a copy of `bitmap`'s top-left width x height pixels.
TBitmapHandle MakeDib(const TPixelBitmap& bitmap, int width, int height) {
  BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.Get() || !bits) return TBitmapHandle();
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = out + std::size_t(y) * std::size_t(width);
    if (y < bitmap.Height()) {
      const int n = std::min(width, bitmap.Width());
      std::memcpy(row, bitmap.Row(y), std::size_t(n) * sizeof(std::uint32_t));
      std::fill(row + n, row + width, 0u);
    } else {
      std::fill(row, row + width, 0u);
    }
  }
  GdiFlush();
  return dib;
}

// Monochrome mask: 1 (white) where the pixel has the key colour, 0 (black) elsewhere.
// Rows of a monochrome bitmap are padded to 16 bits.
TBitmapHandle MakeKeyMask(const TPixelBitmap& bitmap, int width, int height, std::uint32_t keyPixel) {
  const std::size_t stride = ((std::size_t(width) + 15) / 16) * 2;
  std::vector<std::uint8_t> bits(stride * std::size_t(height), 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool key = x >= bitmap.Width() || y >= bitmap.Height() || (bitmap.Pixel(x, y) & 0xFFFFFFu) == keyPixel;
      if (key) bits[std::size_t(y) * stride + std::size_t(x) / 8] |= std::uint8_t(0x80u >> (x % 8));
    }
  return TBitmapHandle(CreateBitmap(width, height, 1, 1, bits.data()));
}

bool Inverted(const Rect& r) { return r.Right < r.Left || r.Bottom < r.Top; }

void Place(HDC dc, const Rect& target, const TPixelBitmap& work, TDrawFlags flags) {
  if (work.Empty()) return;
  if (HasFlag(flags, TDrawFlags::dfTransparent)) {
    TransparentBlit(dc, target, work, kKeyColor);
  } else {
    CopyToDc(dc, target.Left, target.Top, work);
  }
}

}  // namespace

COLORREF ResolveColor(TColorValue color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(int(color & 0xFFu));
  return COLORREF(color & 0xFFFFFFu);
}

void CopyToDc(HDC dc, int x, int y, const TPixelBitmap& bitmap) {
  if (bitmap.Empty()) return;
  BITMAPINFO info = TopDownInfo(bitmap.Width(), bitmap.Height());
  SetDIBitsToDevice(dc, x, y, DWORD(bitmap.Width()), DWORD(bitmap.Height()), 0, 0, 0, UINT(bitmap.Height()),
                    bitmap.Pixels().data(), &info, DIB_RGB_COLORS);
}

bool IsMirroredDc(HDC dc) {
  const DWORD layout = dc ? GetLayout(dc) : GDI_ERROR;
  return layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0;
}

void CopyToWindowDc(HDC dc, int x, int y, const TPixelBitmap& bitmap) {
  if (!IsMirroredDc(dc)) {
    CopyToDc(dc, x, y, bitmap);
    return;
  }
  if (bitmap.Empty()) return;
  TBitmapHandle source = MakeDib(bitmap, bitmap.Width(), bitmap.Height());
  TMemoryDc sourceDc(CreateCompatibleDC(dc));
  if (!source.Get() || !sourceDc) return;
  SetLayout(sourceDc.Get(), 0);
  TSelectGuard select(sourceDc.Get(), source.Get());
  BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), sourceDc.Get(), 0, 0, SRCCOPY);
}

void MirrorDcColumns(HDC dc, const Rect& area) {
  if (area.Width() <= 1 || area.Height() <= 0) return;
  TPixelBitmap pixels = ReadDcPixels(dc, area);
  if (pixels.Width() != area.Width()) return;
  MirrorHorizontal(pixels);
  CopyToDc(dc, area.Left, area.Top, pixels);
}

void TransparentBlit(HDC dc, const Rect& target, const TPixelBitmap& bitmap, TColorValue key) {
  if (Inverted(target)) return;
  const int w = std::min(target.Width(), bitmap.Width());
  const int h = std::min(target.Height(), bitmap.Height());
  if (w <= 0 || h <= 0) return;
  const std::uint32_t keyPixel = PixelOf(key & 0xFFFFFFu);
  TBitmapHandle source = MakeDib(bitmap, w, h);
  TBitmapHandle mask = MakeKeyMask(bitmap, w, h, keyPixel);
  if (!source.Get() || !mask.Get()) return;
  TMemoryDc sourceDc(CreateCompatibleDC(dc));
  TSelectGuard selectSource(sourceDc.Get(), source.Get());
  // Where the mask is white the destination stays, elsewhere the source is copied.
  if (MaskBlt(dc, target.Left, target.Top, w, h, sourceDc.Get(), 0, 0, mask.Get(), 0, 0, 0xCCAA0029)) return;
  // Without masked transfers: invert in, cut out the key areas, invert back.
  TMemoryDc maskDc(CreateCompatibleDC(dc));
  TSelectGuard selectMask(maskDc.Get(), mask.Get());
  TTextStateGuard colours(dc);
  SetBkColor(dc, RGB(255, 255, 255));
  SetTextColor(dc, RGB(0, 0, 0));
  BitBlt(dc, target.Left, target.Top, w, h, sourceDc.Get(), 0, 0, SRCINVERT);
  BitBlt(dc, target.Left, target.Top, w, h, maskDc.Get(), 0, 0, SRCAND);
  BitBlt(dc, target.Left, target.Top, w, h, sourceDc.Get(), 0, 0, SRCINVERT);
}

void DrawSkinImage(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                   int frameIndex, const Margins& margins) {
  if (Inverted(target)) return;
  Place(dc, target, RenderNineSlice(target.Width(), target.Height(), strip, margins, flags, frameCount, frameIndex),
        flags);
}

void DrawThreeSliceTiled(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                         int frameIndex, const Margins& margins) {
  if (Inverted(target)) return;
  Place(dc, target,
        RenderThreeSlice(target.Width(), target.Height(), strip, margins, HasFlag(flags, TDrawFlags::dfVertical),
                         frameCount, frameIndex),
        flags);
}

void DrawNineSliceBorder(HDC dc, const Rect& target, const TPixelBitmap& strip, bool vertical, int frameCount,
                         int frameIndex, const Margins& margins) {
  if (target.Width() <= 0 || target.Height() <= 0) return;
  // The centre must keep what the device shows, so start from its pixels.
  TPixelBitmap work = ReadDcPixels(dc, target);
  if (work.Empty()) return;
  DrawNineSliceBorder(work, work.Bounds(), strip, vertical, frameCount, frameIndex, margins);
  CopyToDc(dc, target.Left, target.Top, work);
}

void DrawFrameStretched(HDC dc, const Rect& target, const TPixelBitmap& strip, TDrawFlags flags, int frameCount,
                        int frameIndex) {
  if (Inverted(target)) return;
  Place(dc, target, RenderFrameStretched(target.Width(), target.Height(), strip, frameCount, frameIndex), flags);
}

void DrawElement(HDC dc, const Rect& target, const TElementImage& image, int frame) {
  if (!CanDraw(target, image, frame)) return;
  DrawSkinImage(dc, target, *image.FStrip, image.Flags(), image.FFrameCount, frame, image.FMargins);
}

TRegionHandle BitmapToRegion(const TPixelBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                             int greenTolerance, int redTolerance, TColorValue key) {
  return RegionFromRects(
      BitmapToRegionRects(bitmap, xOffset, yOffset, blueTolerance, greenTolerance, redTolerance, key));
}

TRegionHandle RegionFromRects(const std::vector<TRegionBatch>& batches) {
  if (batches.empty()) return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
  TRegionHandle result;
  std::vector<std::uint8_t> buffer;
  for (const TRegionBatch& batch : batches) {
    buffer.assign(sizeof(RGNDATAHEADER) + batch.FRects.size() * sizeof(RECT), 0);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = DWORD(batch.FRects.size());
    data->rdh.nRgnSize = DWORD(batch.FRects.size() * sizeof(RECT));
    data->rdh.rcBound = {batch.FBounds.Left, batch.FBounds.Top, batch.FBounds.Right, batch.FBounds.Bottom};
    auto* rects = reinterpret_cast<RECT*>(data->Buffer);
    for (std::size_t i = 0; i < batch.FRects.size(); ++i) {
      const Rect& r = batch.FRects[i];
      rects[i] = {r.Left, r.Top, r.Right, r.Bottom};
    }
    TRegionHandle part(ExtCreateRegion(nullptr, DWORD(buffer.size()), data));
    if (!part) return TRegionHandle();
    if (!result) {
      result = std::move(part);
    } else {
      CombineRgn(result.Get(), result.Get(), part.Get(), RGN_OR);
    }
  }
  return result;
}

TPixelBitmap ReadDcPixels(HDC dc, const Rect& area) {
  const int w = area.Width(), h = area.Height();
  TPixelBitmap pixels(w, h);
  if (pixels.Empty()) return pixels;
  BITMAPINFO info = TopDownInfo(w, h);
  void* bits = nullptr;
  TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib.Get() || !bits) return TPixelBitmap();
  {
    TMemoryDc memory(CreateCompatibleDC(dc));
    TSelectGuard select(memory.Get(), dib.Get());
    BitBlt(memory.Get(), 0, 0, w, h, dc, area.Left, area.Top, SRCCOPY);
    GdiFlush();
  }
  const auto* in = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.SetPixel(x, y, in[std::size_t(y) * std::size_t(w) + std::size_t(x)] & 0xFFFFFFu);
  return pixels;
}

TPixelBitmap PixelsFromBitmap(HBITMAP bitmap) {
  BITMAP header{};
  if (!bitmap || !GetObjectW(bitmap, sizeof header, &header)) return TPixelBitmap();
  TPixelBitmap pixels(header.bmWidth, header.bmHeight);
  if (pixels.Empty()) return pixels;
  BITMAPINFO info = TopDownInfo(pixels.Width(), pixels.Height());
  const int rows = GetDIBits(TWindowDc::Screen().Get(), bitmap, 0, UINT(pixels.Height()), pixels.Pixels().data(), &info,
                             DIB_RGB_COLORS);
  if (rows != pixels.Height()) return TPixelBitmap();
  for (std::uint32_t& p : pixels.Pixels()) p &= 0xFFFFFFu;
  return pixels;
}

void TMessageBoxMessenger::ShowSkinMessage(std::string_view text) {
  // The reader's messages are plain ASCII.
  std::wstring wide(text.begin(), text.end());
  MessageBoxW(GetActiveWindow(), wide.c_str(), FTitle.c_str(), MB_OK);
}

}  // namespace kv
