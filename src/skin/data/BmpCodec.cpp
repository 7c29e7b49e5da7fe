#include "skin/data/BmpCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kv {

namespace {

constexpr std::size_t kFileHeaderSize = 14;

std::uint32_t U32(std::string_view b, std::size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
         std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t U16(std::string_view b, std::size_t at) {
  return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

// One colour channel given by a bit mask, scaled to 0..255.
struct TChannel {
  int FShift = 0;
  std::uint32_t FMax = 0;  // the mask moved down to bit 0
  static TChannel From(std::uint32_t mask) {
    TChannel c;
    if (mask == 0) return c;
    while ((mask & 1u) == 0) mask >>= 1, ++c.FShift;
    c.FMax = mask;
    return c;
  }
  std::uint32_t Get(std::uint32_t v) const {
    if (FMax == 0) return 0;
    return std::uint32_t((std::uint64_t((v >> FShift) & FMax) * 255 + FMax / 2) / FMax);
  }
};

enum : std::uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

// Run-length data (RLE8, or RLE4 with `four`) onto a bottom-up `bitmap`. Writers run
// past the row end (some encode the row padding as pixels), so whatever passes it is
// dropped and the position stays on the row. Pixels no code writes stay as the bitmap
// was made: black. Decoding ends at the end-of-bitmap code or once a code moves past the
// top row; data that stops before either, or inside a code, is a file cut short: false.
bool DecodeRle(std::string_view data, bool four, const std::array<std::uint32_t, 256>& palette,
               std::size_t paletteCount, TPixelBitmap& bitmap) {
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  const auto byte = [&](std::size_t at) { return unsigned(std::uint8_t(data[at])); };
  int x = 0;
  int y = 0;  // counted from the bottom row
  // The i-th index of a run: in RLE4 each byte holds two, the high nibble first.
  const auto put = [&](unsigned packed, unsigned i) {
    const unsigned index = !four ? packed : (i % 2 == 0 ? packed >> 4 : packed & 0x0F);
    bitmap.Row(height - 1 - y)[x++] = index < paletteCount ? palette[index] : 0;
  };
  std::size_t at = 0;
  while (y < height) {
    if (data.size() - at < 2) return false;
    const unsigned count = byte(at);
    const unsigned code = byte(at + 1);
    at += 2;
    if (count > 0) {  // a run of one index (two alternating ones in RLE4)
      for (unsigned i = 0; i < count && x < width; ++i) put(code, i);
      continue;
    }
    switch (code) {
      case 0:  // end of line
        x = 0;
        ++y;
        break;
      case 1:  // end of bitmap
        return true;
      case 2:  // delta: right and up; x stops at the row end, where everything is dropped
        if (data.size() - at < 2) return false;
        x = int(std::min<unsigned>(unsigned(x) + byte(at), unsigned(width)));
        y += int(byte(at + 1));
        at += 2;
        break;
      default: {  // `code` indexes as they are, padded to an even number of bytes
        const std::size_t bytes = four ? (code + 1) / 2 : code;
        const std::size_t padded = bytes + (bytes & 1);
        if (data.size() - at < padded) return false;
        for (unsigned i = 0; i < code && x < width; ++i) put(byte(at + (four ? i / 2 : i)), i);
        at += padded;
        break;
      }
    }
  }
  return true;
}

}  // namespace

std::optional<TPixelBitmap> ReadBmp(std::string_view file) {
  if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t dataOffset = U32(file, 10);
  const std::uint32_t headerSize = U32(file, kFileHeaderSize);
  const std::size_t h = kFileHeaderSize;
  if (headerSize < 12 || headerSize > file.size() - h) return std::nullopt;

  std::int64_t width, height;
  int bpp;
  std::uint32_t compression = kBiRgb;
  std::uint32_t colorsUsed = 0;
  std::size_t paletteEntrySize = 4;
  std::array<std::uint32_t, 3> masks{};
  bool hasMasks = false;
  if (headerSize == 12) {  // OS/2 core header: 16-bit sizes, 3-byte palette entries
    width = U16(file, h + 4);
    height = U16(file, h + 6);
    bpp = U16(file, h + 10);
    paletteEntrySize = 3;
  } else {
    if (headerSize < 40) return std::nullopt;
    width = std::int32_t(U32(file, h + 4));
    height = std::int32_t(U32(file, h + 8));
    bpp = U16(file, h + 14);
    compression = U32(file, h + 16);
    colorsUsed = U32(file, h + 32);
    if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
      // The masks follow a plain info header, or are part of a longer one.
      const std::size_t at = h + 40;
      if (at + 12 > file.size()) return std::nullopt;
      masks = {U32(file, at), U32(file, at + 4), U32(file, at + 8)};
      hasMasks = true;
    }
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0 || !TPixelBitmap::SizeAllowed(width, height)) return std::nullopt;
  // Run-length data only at its own depth, and only bottom-up: the format has no
  // top-down run-length pictures.
  const bool rle = (compression == kBiRle8 && bpp == 8) || (compression == kBiRle4 && bpp == 4);
  if (rle && topDown) return std::nullopt;
  if (compression != kBiRgb && !rle && !(hasMasks && (bpp == 16 || bpp == 32))) return std::nullopt;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;

  // Palette: after the header (and after the masks of a plain info header).
  std::array<std::uint32_t, 256> palette{};
  std::size_t paletteCount = 0;
  if (bpp <= 8) {
    const std::size_t maxColors = std::size_t(1) << bpp;
    paletteCount = colorsUsed == 0 ? maxColors : std::size_t(colorsUsed);
    if (paletteCount > maxColors) return std::nullopt;
    const std::size_t at = h + headerSize;
    if (at + paletteCount * paletteEntrySize > file.size()) return std::nullopt;
    for (std::size_t i = 0; i < paletteCount; ++i) {
      const std::size_t e = at + i * paletteEntrySize;
      palette[i] = std::uint32_t(std::uint8_t(file[e + 2])) << 16 | std::uint32_t(std::uint8_t(file[e + 1])) << 8 |
                   std::uint8_t(file[e]);
    }
  }

  if (dataOffset < h + headerSize || dataOffset > file.size()) return std::nullopt;
  if (rle) {
    // The image size field is not trusted: the data runs to the end of the file.
    TPixelBitmap bitmap{int(width), int(height)};
    if (!DecodeRle(file.substr(dataOffset), compression == kBiRle4, palette, paletteCount, bitmap)) return std::nullopt;
    return bitmap;
  }
  const std::size_t stride = ((std::size_t(width) * std::size_t(bpp) + 31) / 32) * 4;
  if (stride * std::size_t(height) > file.size() - dataOffset) return std::nullopt;

  TChannel red, green, blue;
  if (bpp == 16) {
    if (!hasMasks) masks = {0x7C00, 0x03E0, 0x001F};
  } else if (bpp == 32 && !hasMasks) {
    masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  red = TChannel::From(masks[0]);
  green = TChannel::From(masks[1]);
  blue = TChannel::From(masks[2]);

  TPixelBitmap bitmap{int(width), int(height)};
  for (int row = 0; row < int(height); ++row) {
    const auto* in = reinterpret_cast<const std::uint8_t*>(file.data() + dataOffset + stride * std::size_t(row));
    std::uint32_t* out = bitmap.Row(topDown ? row : int(height) - 1 - row);
    for (int x = 0; x < int(width); ++x) {
      std::uint32_t p = 0;
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          const std::size_t bit = std::size_t(x) * std::size_t(bpp);
          const unsigned index = (in[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
          p = index < paletteCount ? palette[index] : 0;
          break;
        }
        case 16: {
          const std::uint32_t v = std::uint32_t(in[2 * x] | in[2 * x + 1] << 8);
          p = red.Get(v) << 16 | green.Get(v) << 8 | blue.Get(v);
          break;
        }
        case 24: p = std::uint32_t(in[3 * x + 2]) << 16 | std::uint32_t(in[3 * x + 1]) << 8 | in[3 * x]; break;
        case 32: {
          const std::uint32_t v = std::uint32_t(in[4 * x]) | std::uint32_t(in[4 * x + 1]) << 8 |
                                  std::uint32_t(in[4 * x + 2]) << 16 | std::uint32_t(in[4 * x + 3]) << 24;
          p = red.Get(v) << 16 | green.Get(v) << 8 | blue.Get(v);
          break;
        }
      }
      out[x] = p;
    }
  }
  return bitmap;
}

std::string WriteBmp24(const TPixelBitmap& bitmap) {
  const std::size_t stride = ((std::size_t(bitmap.Width()) * 3 + 3) / 4) * 4;
  const std::size_t dataSize = stride * std::size_t(bitmap.Height());
  std::string out;
  out.reserve(54 + dataSize);
  auto u16 = [&](std::uint32_t v) { out.push_back(char(v & 0xFF)), out.push_back(char((v >> 8) & 0xFF)); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  out += "BM";
  u32(std::uint32_t(54 + dataSize));
  u32(0);
  u32(54);
  u32(40);
  u32(std::uint32_t(bitmap.Width()));
  u32(std::uint32_t(bitmap.Height()));
  u16(1);
  u16(24);
  u32(kBiRgb);
  u32(std::uint32_t(dataSize));
  u32(2835);  // 72 dpi
  u32(2835);
  u32(0);
  u32(0);
  for (int row = bitmap.Height() - 1; row >= 0; --row) {
    const std::uint32_t* in = bitmap.Row(row);
    for (int x = 0; x < bitmap.Width(); ++x) {
      out.push_back(char(in[x] & 0xFF));
      out.push_back(char((in[x] >> 8) & 0xFF));
      out.push_back(char((in[x] >> 16) & 0xFF));
    }
    out.append(stride - std::size_t(bitmap.Width()) * 3, '\0');
  }
  return out;
}

std::int64_t BmpHeaderPixels(std::string_view file) {
  // The fields ReadBmp takes the size from: an OS/2 core header's 16-bit sizes, or an
  // info header's 32-bit ones (a negative height is a top-down picture).
  constexpr std::size_t h = 14;
  if (file.size() < h + 12 || file[0] != 'B' || file[1] != 'M') return 0;
  const std::uint32_t headerSize = U32(file, h);
  if (headerSize < 12 || headerSize > file.size() - h) return 0;
  std::int64_t width, height;
  if (headerSize == 12) {
    width = std::uint8_t(file[h + 4]) | std::uint8_t(file[h + 5]) << 8;
    height = std::uint8_t(file[h + 6]) | std::uint8_t(file[h + 7]) << 8;
  } else {
    if (headerSize < 40) return 0;
    width = std::int32_t(U32(file, h + 4));
    height = std::int32_t(U32(file, h + 8));
    if (height < 0) height = -height;
  }
  if (width <= 0 || height <= 0 || !TPixelBitmap::SizeAllowed(width, height)) return 0;
  return width * height;
}

}  // namespace kv
