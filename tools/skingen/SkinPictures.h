#pragma once
// Every picture of the Koravent skin, drawn from scratch.
#include <string>
#include <vector>

#include "skin/data/PixelBitmap.h"

namespace kv::skingen {

struct TSkinPicture {
  std::string Name;  // the container entry, lower case, ".bmp"
  TPixelBitmap Bitmap;
  int Frames = 1;         // state frames, for the contact sheet
  bool Vertical = false;  // frames stacked instead of side by side
};

// All pictures, sorted by name (the order `skintool pack` stores them in).
std::vector<TSkinPicture> MakeSkinPictures();

}  // namespace kv::skingen
