#include "SheetPng.h"

#include "PngFile.h"

namespace kv {

std::optional<std::string> EncodePng(const TPixelBitmap& bitmap) { return WritePng(bitmap); }

}  // namespace kv
