#include "framework/ImgList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "skin/data/PixelScale.h"

namespace kv {

namespace {

// The brush where a monochrome source is 0, the destination kept where it is 1.
constexpr DWORD kPaintWhereMaskIsBlack = 0x00B8074A;  // PSDPxax

// Never a pixel of ours (0x00RRGGBB): the key of a picture without a mask colour.
constexpr std::uint32_t kNoKey = 0xFF000000u;

std::uint32_t KeyOf(TColor mask) { return mask == clNone ? kNoKey : PixelOf(ColorToRgb(mask)); }

// A DIB section no DC holds (the image list selects what it is given into a DC of its
// own) with `pixels`' rows.
TBitmapHandle DibOf(const TPixelBitmap& pixels) {
  const BITMAPINFO info = TopDownInfo(pixels.Width(), pixels.Height());
  void* bits = nullptr;
  TBitmapHandle dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib) return dib;
  GdiFlush();
  std::memcpy(bits, pixels.Pixels().data(), pixels.Pixels().size_bytes());
  return dib;
}

TPixelBitmap PixelsOf(const TBitmap& bitmap) {
  TPixelBitmap pixels(bitmap.Width(), bitmap.Height());
  GdiFlush();
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) pixels.SetPixel(x, y, bitmap.ScanLine(y)[x] & 0xFFFFFFu);
  return pixels;
}

}  // namespace

// ---- TImageList

TImageList::TImageList(int width, int height) : FWidth(width), FHeight(height) {
  FHandle.Reset(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4));
}

int TImageList::Width() const { return ScaleToDpi(FWidth, FDpi); }
int TImageList::Height() const { return ScaleToDpi(FHeight, FDpi); }

void TImageList::SetSize(int width, int height) {
  FWidth = width;
  FHeight = height;
  FSources.clear();
  if (FHandle) ImageList_SetIconSize(FHandle.Get(), Width(), Height());
}

void TImageList::ScaleForDpi(int dpi) {
  if (dpi <= 0 || dpi == FDpi) return;
  FDpi = dpi;
  if (!FHandle) return;
  ImageList_SetIconSize(FHandle.Get(), Width(), Height());  // empties it
  for (const TImageSource& image : FSources) AddToHandle(image);
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle.Get()) : 0; }

bool TImageList::AddToHandle(const TImageSource& image) {
  const TPixelBitmap scaled =
      FDpi == kDefaultDpi ? TPixelBitmap{} : ResamplePicture(image.Pixels, Width(), Height(), KeyOf(image.Mask));
  TBitmapHandle dib = DibOf(FDpi == kDefaultDpi ? image.Pixels : scaled);
  if (!dib) return false;
  // A masked add blackens the transparent pixels of the bitmap it is given: it gets a copy.
  return (image.Mask == clNone ? ImageList_Add(FHandle.Get(), dib.Get(), nullptr)
                               : ImageList_AddMasked(FHandle.Get(), dib.Get(), ColorToRgb(image.Mask))) >= 0;
}

int TImageList::Add(const TBitmap& image, TColor maskColor) {
  if (!FHandle || image.Empty() || FWidth <= 0 || FHeight <= 0) return -1;
  // One image per list width (at least one), cut at the list's size, the rest of an image
  // the picture does not cover filled with the mask colour.
  const std::uint32_t fill = maskColor == clNone ? 0 : PixelOf(ColorToRgb(maskColor));
  const int count = std::max(image.Width() / FWidth, 1);
  const int first = Count();
  GdiFlush();
  for (int i = 0; i < count; ++i) {
    TImageSource source{TPixelBitmap(FWidth, FHeight, fill), maskColor};
    const int left = i * FWidth, width = std::min(FWidth, image.Width() - left);
    for (int y = 0; y < std::min(FHeight, image.Height()); ++y)
      for (int x = 0; x < width; ++x) source.Pixels.SetPixel(x, y, image.ScanLine(y)[left + x] & 0xFFFFFFu);
    if (!AddToHandle(source)) return i == 0 ? -1 : first;
    FSources.push_back(std::move(source));
  }
  return first;
}

void TImageList::Delete(int index) {
  if (!FHandle || index < 0 || index >= Count()) return;
  ImageList_Remove(FHandle.Get(), index);
  if (index < static_cast<int>(FSources.size())) FSources.erase(FSources.begin() + index);
}

void TImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle.Get(), -1);
  FSources.clear();
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (!FHandle || index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (enabled) {
    ImageList_Draw(FHandle.Get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  TMemoryDc mask(CreateCompatibleDC(dc));
  const int width = Width(), height = Height();
  TBitmapHandle bits(CreateBitmap(width, height, 1, 1, nullptr));
  TSelectGuard select(mask.Get(), bits.Get());
  if (!select.Ok()) return;
  PatBlt(mask.Get(), 0, 0, width, height, WHITENESS);
  ImageList_Draw(FHandle.Get(), index, mask.Get(), 0, 0, ILD_MASK);
  DrawEmbossedMask(dc, x, y, width, height, mask.Get());
}

// ---- glyphs

TBitmap& TGlyphStrip::At(int dpi, int count) {
  count = std::max(count, 1);
  if (dpi == kDefaultDpi || dpi <= 0 || FSource.Empty()) return FSource;
  if (FScaledDpi == dpi && FScaledCount == count) return FScaled;
  const TPixelBitmap strip = PixelsOf(FSource);
  const TPixelBitmap scaled = ScaleStrip(strip, count, false, dpi, kDefaultDpi, strip.Pixel(0, strip.Height() - 1));
  FScaled.SetSize(scaled.Width(), scaled.Height());
  GdiFlush();
  for (int y = 0; y < scaled.Height(); ++y)
    std::memcpy(FScaled.ScanLine(y), scaled.Row(y), sizeof(std::uint32_t) * scaled.Width());
  FScaledDpi = dpi;
  FScaledCount = count;
  return FScaled;
}

void DrawEmbossedMask(HDC dc, int x, int y, int width, int height, HDC mask) {
  TTextStateGuard text(dc);
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkColor(dc, RGB(255, 255, 255));
  {
    TSelectGuard brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, x + 1, y + 1, width, height, mask, 0, 0, kPaintWhereMaskIsBlack);
  }
  TSelectGuard brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
  BitBlt(dc, x, y, width, height, mask, 0, 0, kPaintWhereMaskIsBlack);
}

void DrawGlyphFrame(HDC dc, int x, int y, TBitmap& glyph, int count, int frame, bool disabled) {
  if (glyph.Empty()) return;
  count = std::max(count, 1);
  const int width = glyph.Width() / count, height = glyph.Height();
  if (width <= 0) return;
  if (frame < 0 || frame >= count) frame = 0;
  GdiFlush();
  HDC source = glyph.Canvas().Handle();
  const COLORREF transparent = ColorOf(glyph.ScanLine(height - 1)[0] & 0xFFFFFFu);
  if (!disabled) {
    GdiTransparentBlt(dc, x, y, width, height, source, frame * width, 0, width, height, transparent);
    return;
  }
  TMemoryDc mask(CreateCompatibleDC(dc));
  TBitmapHandle bits(CreateBitmap(width, height, 1, 1, nullptr));
  TSelectGuard select(mask.Get(), bits.Get());
  if (!select.Ok()) return;
  // Colour to monochrome: pixels of the source's background colour become 1.
  const COLORREF oldBack = SetBkColor(source, transparent);
  BitBlt(mask.Get(), 0, 0, width, height, source, frame * width, 0, SRCCOPY);
  SetBkColor(source, oldBack);
  DrawEmbossedMask(dc, x, y, width, height, mask.Get());
}

}  // namespace kv
