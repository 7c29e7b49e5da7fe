#pragma once
// A JPEG picture decoded with libjpeg into a bitmap. A damaged stream decodes to
// nothing (an empty picture), never to an error that ends the program.
#include <cstdint>
#include <span>

#include "framework/Graphics.h"

namespace kv {

class TJpegImage : public TGraphic {
 public:
  // False (and an empty picture) when the bytes are not a complete, clean JPEG.
  bool LoadFromBytes(std::span<const std::uint8_t> bytes);
  int Width() const override { return FBitmap.Width(); }
  int Height() const override { return FBitmap.Height(); }
  void Draw(TCanvas& canvas, const RECT& rect) const override { FBitmap.Draw(canvas, rect); }
  const TBitmap& Bitmap() const { return FBitmap; }

 private:
  TBitmap FBitmap;
};

}  // namespace kv
