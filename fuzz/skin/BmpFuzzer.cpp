// Fuzzes the BMP reader, and draws whatever it accepts through the skin routines.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto picture = kv::ReadBmp(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!picture || std::int64_t(picture->Width()) * picture->Height() > 1 << 20) return 0;
  const int frames = size > 0 ? data[0] % 4 : 1;
  const kv::Margins margins{data[size / 2] % 9, 2, 3, 1};
  (void)kv::RenderNineSlice(37, 23, *picture, margins, kv::TDrawFlags::dfTile, frames, 1 + frames / 2);
  (void)kv::RenderThreeSlice(29, 7, *picture, margins, false, frames, 1);
  (void)kv::BitmapToRegionRects(*picture, 3, 4, 1, 2, 3);
  kv::TPixelBitmap turned = *picture;
  kv::RotateLeft(turned);
  kv::MirrorHorizontal(turned);
  return 0;
}
