#pragma once
// Image lists and the glyph drawing the owner-drawn buttons share.
//
//   TImageList         the platform's image list (masked), owned by a form like any component
//   DrawGlyphFrame     one frame of a strip of glyphs, its bottom-left colour transparent
//   DrawEmbossedMask   the disabled look: a mask drawn in highlight, then in shadow
#include <windows.h>

#include "framework/Classes.h"
#include "framework/Graphics.h"

namespace kv {

class TImageList : public TComponent {
 public:
  explicit TImageList(int width = 16, int height = 16);
  std::string_view ClassName() const override { return "TImageList"; }

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // Empties the list and gives its images a new size. The handle stays the same, so
  // controls showing the list keep it.
  void SetSize(int width, int height);
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
  int FWidth, FHeight;
  TImageListHandle FHandle;
};

// Draws frame `frame` of the `count` frames side by side in `glyph` at (x, y); the colour
// of the glyph's bottom-left pixel is transparent. `disabled` draws the frame embossed.
void DrawGlyphFrame(HDC dc, int x, int y, TBitmap& glyph, int count, int frame, bool disabled);

// Paints where the monochrome `mask` is black (0): in the button highlight colour one
// pixel down and right, then in the button shadow colour, the platform's disabled look.
void DrawEmbossedMask(HDC dc, int x, int y, int width, int height, HDC mask);

}  // namespace kv
