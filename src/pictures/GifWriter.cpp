#include "pictures/GifWriter.h"

#include <stdexcept>

namespace kv {

namespace {

class TCodeWriter {
 public:
  void Put(std::uint32_t code, int width) {
    FBits |= std::uint64_t(code) << FCount;
    FCount += width;
    while (FCount >= 8) {
      FOut.push_back(std::uint8_t(FBits));
      FBits >>= 8;
      FCount -= 8;
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (FCount > 0) FOut.push_back(std::uint8_t(FBits));
    return std::move(FOut);
  }

 private:
  std::vector<std::uint8_t> FOut;
  std::uint64_t FBits = 0;
  int FCount = 0;
};

std::size_t TableEntries(std::size_t colors) {
  std::size_t entries = 2;
  while (entries < colors) entries *= 2;
  return entries;
}

int TableBits(std::size_t entries) {
  int bits = 0;
  while ((std::size_t(2) << bits) < entries) ++bits;
  return bits;  // the three-bit size field: 2 << bits entries
}

}  // namespace

int GifCodeSizeFor(std::size_t colors) {
  int size = 2;
  while ((std::size_t(1) << size) < colors) ++size;
  return size;
}

std::vector<std::uint8_t> GifLzwEncode(std::span<const std::uint8_t> indexes, int minCodeSize) {
  if (minCodeSize < 2 || minCodeSize > 8) throw std::invalid_argument("LZW code size");
  const std::uint32_t clearCode = 1u << minCodeSize;
  const std::uint32_t endCode = clearCode + 1;
  for (std::uint8_t index : indexes)
    if (index >= clearCode) throw std::invalid_argument("index outside the code size");

  // child[prefix * 256 + index]: the code of prefix+index, 0 when not in the table.
  std::vector<std::uint16_t> child(4096 * 256, 0);
  std::vector<std::uint32_t> used;
  used.reserve(4096);
  TCodeWriter writer;
  std::uint32_t nextCode = clearCode + 2;
  int width = minCodeSize + 1;
  const auto reset = [&] {
    for (std::uint32_t slot : used) child[slot] = 0;
    used.clear();
    nextCode = clearCode + 2;
    width = minCodeSize + 1;
  };
  // The decoder defines a code for every code it reads after the first; keep in step.
  const auto advance = [&] {
    ++nextCode;
    if (nextCode - 1 == (1u << width) && width < 12) ++width;
  };

  writer.Put(clearCode, width);
  if (!indexes.empty()) {
    std::uint32_t prefix = indexes[0];
    for (std::size_t i = 1; i < indexes.size(); ++i) {
      const std::uint32_t slot = prefix * 256 + indexes[i];
      if (child[slot] != 0) {
        prefix = child[slot];
        continue;
      }
      writer.Put(prefix, width);
      if (nextCode < 4096) {
        child[slot] = std::uint16_t(nextCode);
        used.push_back(slot);
        advance();
      } else {
        writer.Put(clearCode, width);
        reset();
      }
      prefix = indexes[i];
    }
    writer.Put(prefix, width);
    if (nextCode < 4096) advance();
  }
  writer.Put(endCode, width);
  return writer.Finish();
}

TGifWriter::TGifWriter(int width, int height, const GifPalette& globalColors, std::uint8_t backgroundIndex) {
  const std::string_view signature = "GIF89a";
  FBytes.assign(signature.begin(), signature.end());
  Word(width);
  Word(height);
  std::uint8_t packed = 0x70;  // eight bits of colour resolution
  if (!globalColors.empty()) {
    FGlobalSize = TableEntries(globalColors.size());
    packed |= std::uint8_t(0x80 | TableBits(FGlobalSize));
  }
  FBytes.push_back(packed);
  FBytes.push_back(backgroundIndex);
  FBytes.push_back(0);
  if (!globalColors.empty()) ColorTable(globalColors);
}

void TGifWriter::Word(int value) {
  FBytes.push_back(std::uint8_t(value & 0xFF));
  FBytes.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void TGifWriter::ColorTable(const GifPalette& colors) {
  const std::size_t entries = TableEntries(colors.size());
  for (std::size_t i = 0; i < entries; ++i) {
    const GifRgb c = i < colors.size() ? colors[i] : GifRgb{};
    FBytes.insert(FBytes.end(), {c.R, c.G, c.B});
  }
}

void TGifWriter::SubBlocks(std::span<const std::uint8_t> data) {
  while (!data.empty()) {
    const std::size_t n = std::min<std::size_t>(data.size(), 255);
    FBytes.push_back(std::uint8_t(n));
    FBytes.insert(FBytes.end(), data.begin(), data.begin() + std::ptrdiff_t(n));
    data = data.subspan(n);
  }
  FBytes.push_back(0);
}

void TGifWriter::AddLoop(std::uint16_t count) {
  const std::string_view id = "NETSCAPE2.0";
  FBytes.insert(FBytes.end(), {0x21, 0xFF, 11});
  FBytes.insert(FBytes.end(), id.begin(), id.end());
  FBytes.insert(FBytes.end(), {3, 1, std::uint8_t(count & 0xFF), std::uint8_t(count >> 8), 0});
}

void TGifWriter::AddComment(std::string_view text) {
  FBytes.insert(FBytes.end(), {0x21, 0xFE});
  SubBlocks(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

void TGifWriter::AddRaw(std::span<const std::uint8_t> bytes) {
  FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
}

void TGifWriter::AddFrame(const GifWriterFrame& frame) {
  if (frame.WriteControl) {
    const bool transparent = frame.TransparentIndex >= 0;
    FBytes.insert(FBytes.end(), {0x21, 0xF9, 4, std::uint8_t(((frame.Disposal & 7) << 2) | (transparent ? 1 : 0)),
                                 std::uint8_t(frame.Delay & 0xFF), std::uint8_t(frame.Delay >> 8),
                                 std::uint8_t(transparent ? frame.TransparentIndex : 0), 0});
  }
  FBytes.push_back(0x2C);
  Word(frame.Left);
  Word(frame.Top);
  Word(frame.Width);
  Word(frame.Height);
  std::uint8_t packed = frame.Interlaced ? 0x40 : 0;
  if (!frame.LocalColors.empty()) packed |= std::uint8_t(0x80 | TableBits(TableEntries(frame.LocalColors.size())));
  FBytes.push_back(packed);
  if (!frame.LocalColors.empty()) ColorTable(frame.LocalColors);

  const std::size_t colors =
      !frame.LocalColors.empty() ? TableEntries(frame.LocalColors.size()) : std::max<std::size_t>(FGlobalSize, 2);
  const int codeSize = frame.MinCodeSize >= 0 ? frame.MinCodeSize : GifCodeSizeFor(colors);
  FBytes.push_back(std::uint8_t(codeSize));
  if (frame.RawData) {
    SubBlocks(*frame.RawData);
    return;
  }
  std::vector<std::uint8_t> ordered;
  std::span<const std::uint8_t> pixels = frame.Pixels;
  if (frame.Interlaced && frame.Width > 0 &&
      frame.Pixels.size() == std::size_t(frame.Width) * std::size_t(frame.Height)) {
    static constexpr int Start[4] = {0, 4, 2, 1};
    static constexpr int Step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = Start[pass]; y < frame.Height; y += Step[pass])
        ordered.insert(ordered.end(), frame.Pixels.begin() + std::ptrdiff_t(y) * frame.Width,
                       frame.Pixels.begin() + std::ptrdiff_t(y + 1) * frame.Width);
    pixels = ordered;
  }
  SubBlocks(GifLzwEncode(pixels, codeSize));
}

std::vector<std::uint8_t> TGifWriter::Finish() const {
  std::vector<std::uint8_t> bytes = FBytes;
  bytes.push_back(0x3B);
  return bytes;
}

}  // namespace kv
