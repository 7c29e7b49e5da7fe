#pragma once
// PNG files of the pictures skintool writes (contact sheets, previews), on every build.
#include <optional>
#include <string>

#include "skin/data/PixelBitmap.h"

namespace kv {

// The PNG file of `bitmap` (8-bit RGB), or nothing when the encoder fails.
std::optional<std::string> EncodePng(const TPixelBitmap& bitmap);

}  // namespace kv
