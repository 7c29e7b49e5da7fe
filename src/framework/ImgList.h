#pragma once
// Image lists and the glyph drawing the owner-drawn buttons share.
//
//   TImageList         the platform's image list (masked), owned by a form like any component;
//                      its images are given at 96 DPI and made again at the form's scale
//   TGlyphStrip        a button's glyph strip as given, and a copy at the button's scale
//   DrawGlyphFrame     one frame of a strip of glyphs, its bottom-left colour transparent
//   DrawEmbossedMask   the disabled look: a mask drawn in highlight, then in shadow
#include <windows.h>

#include <vector>

#include "framework/Classes.h"
#include "framework/Graphics.h"
#include "skin/data/PixelBitmap.h"

namespace kv {

// Sizes and the pictures added are 96-DPI pixels. The form that owns the list scales it
// with its windows (ScaleForDpi): every image is made again from the picture it was added
// from, resampled with its mask colour kept exact, so a list scaled there and back is the
// list it was. Images put into Handle() by other means do not survive a change of scale.
class TImageList : public TComponent {
 public:
  explicit TImageList(int width = 16, int height = 16);
  std::string_view ClassName() const override { return "TImageList"; }

  // The size of the images in the handle: pixels at Dpi().
  int Width() const;
  int Height() const;
  int Dpi() const { return FDpi; }
  // Empties the list and gives its images a new size (96-DPI units). The handle stays the
  // same, so controls showing the list keep it.
  void SetSize(int width, int height);
  // Makes every image again at `dpi`; the handle stays the same. Controls showing the list
  // take its new size when they are scaled themselves.
  void ScaleForDpi(int dpi);
  int Count() const;
  // Adds the images of `image` (one, or several side by side when it is a multiple of the
  // list's width wide); pixels of `maskColor` become transparent, clNone keeps them all.
  // Answers the index of the first image added, -1 when nothing could be added.
  int Add(const TBitmap& image, TColor maskColor);
  void Delete(int index);
  void Clear();
  // Draws image `index` with its top-left at (x, y); disabled images are drawn embossed
  // in the button highlight and shadow colours.
  void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
  HIMAGELIST Handle() const { return FHandle.Get(); }

 private:
  struct TImageSource {
    TPixelBitmap Pixels;  // one image, 96-DPI pixels
    TColor Mask;
  };
  bool AddToHandle(const TImageSource& image);
  int FWidth, FHeight;  // 96-DPI units
  int FDpi = kDefaultDpi;
  std::vector<TImageSource> FSources;
  TImageListHandle FHandle;
};

// A button's glyph strip: the picture as given (96-DPI pixels, what Glyph() edits) and a
// copy at a scale, made again when the scale or the picture changes. Each frame is
// resampled on its own with the bottom-left colour kept exact, so it stays transparent.
class TGlyphStrip {
 public:
  TBitmap& Source() {
    FScaledDpi = 0;  // the caller may draw into it
    return FSource;
  }
  const TBitmap& Source() const { return FSource; }
  // `count` frames side by side at `dpi`; the picture itself at 96 DPI.
  TBitmap& At(int dpi, int count);

 private:
  TBitmap FSource;
  TBitmap FScaled;
  int FScaledDpi = 0, FScaledCount = 0;
};

// Draws frame `frame` of the `count` frames side by side in `glyph` at (x, y); the colour
// of the glyph's bottom-left pixel is transparent. `disabled` draws the frame embossed.
void DrawGlyphFrame(HDC dc, int x, int y, TBitmap& glyph, int count, int frame, bool disabled);

// Paints where the monochrome `mask` is black (0): in the button highlight colour one
// pixel down and right, then in the button shadow colour, the platform's disabled look.
void DrawEmbossedMask(HDC dc, int x, int y, int width, int height, HDC mask);

}  // namespace kv
