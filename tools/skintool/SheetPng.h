#pragma once
// PNG files of a contact sheet, where libpng is at hand (the native build); elsewhere
// `sheet` writes BMP only.
#include <optional>
#include <string>

#include "skin/data/PixelBitmap.h"

namespace kv {

// The PNG file of `bitmap` (8-bit RGB), or nothing when this build cannot write PNG or
// the encoder fails.
std::optional<std::string> EncodePng(const TPixelBitmap& bitmap);

}  // namespace kv
