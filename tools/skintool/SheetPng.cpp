#include "SheetPng.h"

#ifdef KV_SKINTOOL_PNG
#include <png.h>

#include <vector>
#endif

namespace kv {

std::optional<std::string> EncodePng(const TPixelBitmap& bitmap) {
#ifdef KV_SKINTOOL_PNG
  if (bitmap.Empty()) return std::nullopt;
  std::vector<std::uint8_t> rgb;
  rgb.reserve(std::size_t(bitmap.Width()) * std::size_t(bitmap.Height()) * 3);
  for (std::uint32_t p : bitmap.Pixels()) {
    rgb.push_back(std::uint8_t(p >> 16));
    rgb.push_back(std::uint8_t(p >> 8));
    rgb.push_back(std::uint8_t(p));
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = png_uint_32(bitmap.Width());
  image.height = png_uint_32(bitmap.Height());
  image.format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) return std::nullopt;
  std::string file(size, '\0');
  if (!png_image_write_to_memory(&image, file.data(), &size, 0, rgb.data(), 0, nullptr)) return std::nullopt;
  file.resize(size);
  return file;
#else
  (void)bitmap;
  return std::nullopt;
#endif
}

}  // namespace kv
