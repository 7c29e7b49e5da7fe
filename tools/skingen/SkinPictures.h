#pragma once
// Every picture of the generator's skins, drawn from scratch.
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

// The skins the generator makes: the program's own, and a dark one.
enum class TSkinName { snKoravent, snMidnight };

// All pictures of a skin, sorted by name (the order `skintool pack` stores them in).
std::vector<TSkinPicture> MakeSkinPictures(TSkinName skin = TSkinName::snKoravent);
// The midnight skin's pictures, unsorted.
void AddMidnightPictures(std::vector<TSkinPicture>& out);

}  // namespace kv::skingen
