#include "framework/ImgList.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace kv {

namespace {

// 0x00BBGGRR (what GDI takes) to 0x00RRGGBB (what our bitmaps hold), and back.
std::uint32_t PixelOf(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }
COLORREF RgbOf(std::uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// The brush where a monochrome source is 0, the destination kept where it is 1.
constexpr DWORD kPaintWhereMaskIsBlack = 0x00B8074A;  // PSDPxax

}  // namespace

// ---- TImageList

TImageList::TImageList(int width, int height) : FWidth(width), FHeight(height) {
  FHandle.Reset(ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 4, 4));
}

void TImageList::SetSize(int width, int height) {
  FWidth = width;
  FHeight = height;
  if (FHandle) ImageList_SetIconSize(FHandle.Get(), width, height);
}

int TImageList::Count() const { return FHandle ? ImageList_GetImageCount(FHandle.Get()) : 0; }

int TImageList::Add(const TBitmap& image, TColor maskColor) {
  if (!FHandle || image.Empty()) return -1;
  // The image list selects the bitmap it is given into a DC of its own, and a masked add
  // blackens the transparent pixels: it gets a copy that no DC holds, at least one image
  // wide, the rest filled with the mask colour.
  const int width = std::max(image.Width(), FWidth), height = FHeight;
  const std::uint32_t fill = maskColor == clNone ? 0 : PixelOf(ColorToRgb(maskColor));
  const BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  TBitmapHandle copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy) return -1;
  GdiFlush();
  auto* pixels = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + static_cast<std::size_t>(y) * width;
    std::fill(row, row + width, fill);
    if (y < image.Height()) std::memcpy(row, image.ScanLine(y), sizeof(std::uint32_t) * image.Width());
  }
  return maskColor == clNone ? ImageList_Add(FHandle.Get(), copy.Get(), nullptr)
                             : ImageList_AddMasked(FHandle.Get(), copy.Get(), ColorToRgb(maskColor));
}

void TImageList::Delete(int index) {
  if (FHandle && index >= 0 && index < Count()) ImageList_Remove(FHandle.Get(), index);
}

void TImageList::Clear() {
  if (FHandle) ImageList_Remove(FHandle.Get(), -1);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (!FHandle || index < 0 || index >= Count()) return;
  HDC dc = canvas.Handle();
  if (enabled) {
    ImageList_Draw(FHandle.Get(), index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  TMemoryDc mask(CreateCompatibleDC(dc));
  TBitmapHandle bits(CreateBitmap(FWidth, FHeight, 1, 1, nullptr));
  TSelectGuard select(mask.Get(), bits.Get());
  if (!select.Ok()) return;
  PatBlt(mask.Get(), 0, 0, FWidth, FHeight, WHITENESS);
  ImageList_Draw(FHandle.Get(), index, mask.Get(), 0, 0, ILD_MASK);
  DrawEmbossedMask(dc, x, y, FWidth, FHeight, mask.Get());
}

// ---- glyphs

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
  const COLORREF transparent = RgbOf(glyph.ScanLine(height - 1)[0]);
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
