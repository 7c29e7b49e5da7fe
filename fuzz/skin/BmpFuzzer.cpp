// Fuzzes the BMP reader, and draws whatever it accepts through the skin routines with
// margins, frame counts, frame indexes and targets of the whole int range.
//
// An input starting with "BM" is a whole file (the seeds are). Any other input is
// run-length data: its first three bytes pick RLE8 or RLE4 and the size, and the rest
// follows a fixed header and palette, so the run-length decoder is reached without first
// having to find a valid header.
//
// The drawing numbers are read from the last bytes of the input. The reader ignores what
// follows the pixels, so the fuzzer can append them to any picture; a shorter input reads
// zeros for the missing ones.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinImage.h"

namespace {

constexpr std::size_t kNumbersSize = 48;

// Reads the drawing numbers, front to back, from the input's tail.
class TNumbers {
 public:
  TNumbers(const std::uint8_t* data, std::size_t size) {
    const std::size_t n = size < kNumbersSize ? size : kNumbersSize;
    std::memcpy(FBytes, data + size - n, n);
  }
  std::uint8_t Byte() { return FAt < kNumbersSize ? FBytes[FAt++] : 0; }
  std::int32_t Int() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(Byte()) << (8 * i);
    return std::int32_t(v);
  }
  // Mostly small values near the picture's size, sometimes any int.
  int Margin() {
    const std::uint8_t how = Byte();
    const std::int32_t value = Int();
    return how & 0x80 ? value : int(std::int8_t(value));
  }

 private:
  std::uint8_t FBytes[kNumbersSize] = {};
  std::size_t FAt = 0;
};

std::string RunLengthFile(const std::uint8_t* data, std::size_t size) {
  const bool four = data[0] & 1;
  const int width = 1 + data[1] % 64;
  const int height = 1 + data[2] % 64;
  const int colours = four ? 16 : 256;
  std::string file = "BM";
  const auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) file.push_back(char((v >> (8 * i)) & 0xFF));
  };
  const std::uint32_t offset = 54 + 4 * std::uint32_t(colours);
  put32(offset + std::uint32_t(size - 3));
  put32(0);
  put32(offset);
  put32(40);
  put32(std::uint32_t(width));
  put32(std::uint32_t(height));
  put32(four ? 0x00040001u : 0x00080001u);  // one plane, 4 or 8 bits
  put32(four ? 2 : 1);
  put32(std::uint32_t(size - 3));
  put32(0), put32(0);
  put32(std::uint32_t(colours - 3));  // a short palette: some indexes have no colour
  put32(0);
  for (int i = 0; i < colours; ++i) put32(std::uint32_t(i) * 0x010101u);
  file.append(reinterpret_cast<const char*>(data + 3), size - 3);
  return file;
}

// Run-length files of the largest sizes cost their whole bitmap even when nearly empty;
// they are left out to keep the runs quick.
bool LargeRunLength(std::string_view file) {
  if (file.size() < 34) return false;
  const auto u32 = [&](std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(std::uint8_t(file[at + std::size_t(i)])) << (8 * i);
    return v;
  };
  if (u32(14) < 40 || (u32(30) != 1 && u32(30) != 2)) return false;
  const std::int64_t w = std::int32_t(u32(18)), h = std::int32_t(u32(22));
  return w * h > (std::int64_t(1) << 22) || w * h < -(std::int64_t(1) << 22);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const bool whole = data[0] == 'B' && data[1] == 'M';
  const std::string file = whole ? std::string(reinterpret_cast<const char*>(data), size) : RunLengthFile(data, size);
  if (LargeRunLength(file)) return 0;
  const auto picture = kv::ReadBmp(file);
  if (!picture || std::int64_t(picture->Width()) * picture->Height() > 1 << 20) return 0;

  TNumbers n(data, size);
  const kv::Margins margins{n.Margin(), n.Margin(), n.Margin(), n.Margin()};
  const std::uint8_t flagBits = n.Byte();
  const int frameCount = flagBits & 0x10 ? n.Int() : int(std::int8_t(n.Byte()));
  const int frameIndex = flagBits & 0x20 ? n.Int() : int(std::int8_t(n.Byte()));
  const int width = n.Byte() % 97;
  const int height = n.Byte() % 61;
  const kv::TDrawFlags flags{flagBits & 7u};
  const bool vertical = (flagBits & 1) != 0;

  (void)kv::RenderNineSlice(width, height, *picture, margins, flags, frameCount, frameIndex);
  (void)kv::RenderThreeSlice(width, height, *picture, margins, vertical, frameCount, frameIndex);
  (void)kv::RenderFrameStretched(width, height, *picture, frameCount, frameIndex);

  // Onto a canvas at a target that is sometimes any rectangle at all; the border must
  // stay inside the target.
  kv::Rect target{n.Byte() % 40 - 10, n.Byte() % 40 - 10, 0, 0};
  target.Right = target.Left + width;
  target.Bottom = target.Top + height;
  if (flagBits & 0x40) target = {n.Int(), n.Int(), n.Int(), n.Int()};
  constexpr std::uint32_t kCanvas = 0x01020304;  // no picture pixel has a top byte
  kv::TPixelBitmap canvas(64, 48, kCanvas);
  kv::DrawNineSliceBorder(canvas, target, *picture, vertical, frameCount, frameIndex, margins);
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.Pixel(x, y) != kCanvas &&
          (x < target.Left || x >= target.Right || y < target.Top || y >= target.Bottom))
        __builtin_trap();
  // These render the whole target first: a valid but large one only costs time, while
  // sides beyond a bitmap's are what they must refuse safely.
  const std::int64_t targetW = std::int64_t(target.Right) - target.Left;
  const std::int64_t targetH = std::int64_t(target.Bottom) - target.Top;
  if (targetW >= 0 && targetH >= 0 && targetW <= kv::TPixelBitmap::kMaxSide && targetH <= kv::TPixelBitmap::kMaxSide &&
      targetW * targetH > 1 << 16)
    target = {0, 0, width, height};
  kv::DrawSkinImage(canvas, target, *picture, flags, frameCount, frameIndex, margins);
  kv::DrawThreeSliceTiled(canvas, target, *picture, flags, frameCount, frameIndex, margins);
  kv::DrawFrameStretched(canvas, target, *picture, flags, frameCount, frameIndex);
  kv::TransparentBlit(canvas, target, *picture);

  (void)kv::BitmapToRegionRects(*picture, 3, 4, 1, 2, 3);
  kv::TPixelBitmap turned = *picture;
  kv::RotateLeft(turned);
  kv::MirrorHorizontal(turned);
  return 0;
}
