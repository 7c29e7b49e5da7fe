#include <algorithm>
#include <cstring>

#include "pictures/GifLzw.h"
#include "pictures/GifPicture.h"

namespace kv {

namespace {

// Bounds-checked reading of the stream; every read says whether the bytes were there.
class TGifCursor {
 public:
  explicit TGifCursor(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

  bool AtEnd() const { return FPos >= FBytes.size(); }
  bool Byte(std::uint8_t& value) {
    if (FPos >= FBytes.size()) return false;
    value = FBytes[FPos++];
    return true;
  }
  bool Word(std::uint16_t& value) {
    if (FBytes.size() - FPos < 2) return false;
    value = std::uint16_t(FBytes[FPos] | (FBytes[FPos + 1] << 8));
    FPos += 2;
    return true;
  }
  bool Take(std::size_t count, std::span<const std::uint8_t>& out) {
    if (FBytes.size() - FPos < count) return false;
    out = FBytes.subspan(FPos, count);
    FPos += count;
    return true;
  }
  // One data sub-block; an empty span is the block terminator.
  bool SubBlock(std::span<const std::uint8_t>& out) {
    std::uint8_t size;
    return Byte(size) && Take(size, out);
  }
  bool SkipSubBlocks() {
    std::span<const std::uint8_t> block;
    do {
      if (!SubBlock(block)) return false;
    } while (!block.empty());
    return true;
  }

 private:
  std::span<const std::uint8_t> FBytes;
  std::size_t FPos = 0;
};

// What the extensions before an image said about it.
struct PendingExtensions {
  bool HasControl = false;
  std::uint8_t Disposal = gdNone;
  std::uint16_t Delay = 0;
  int TransparentIndex = -1;
  std::optional<std::uint16_t> LoopCount;
};

bool ReadColorTable(TGifCursor& cursor, std::uint8_t packed, GifPalette& table) {
  const std::size_t entries = std::size_t(2) << (packed & 7);
  std::span<const std::uint8_t> raw;
  if (!cursor.Take(entries * 3, raw)) return false;
  table.resize(entries);
  for (std::size_t i = 0; i < entries; ++i) table[i] = GifRgb{raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]};
  return true;
}

TGifError ReadExtension(TGifCursor& cursor, PendingExtensions& pending) {
  std::uint8_t label;
  if (!cursor.Byte(label)) return geTruncated;
  std::span<const std::uint8_t> block;
  if (label == 0xF9) {
    if (!cursor.SubBlock(block)) return geTruncated;
    if (block.size() >= 4) {  // a shorter one is ignored rather than half believed
      pending.HasControl = true;
      pending.Disposal = std::uint8_t((block[0] >> 2) & 7);
      pending.Delay = std::uint16_t(block[1] | (block[2] << 8));
      pending.TransparentIndex = (block[0] & 1) ? block[3] : -1;
    }
    if (!block.empty() && !cursor.SkipSubBlocks()) return geTruncated;
    return geNone;
  }
  if (label == 0xFF) {
    if (!cursor.SubBlock(block)) return geTruncated;
    if (block.empty()) return geNone;
    const std::string_view id(reinterpret_cast<const char*>(block.data()), block.size());
    const bool looping = id == "NETSCAPE2.0" || id == "ANIMEXTS1.0";
    for (;;) {
      if (!cursor.SubBlock(block)) return geTruncated;
      if (block.empty()) return geNone;
      if (looping && block.size() >= 3 && block[0] == 1 && !pending.LoopCount)
        pending.LoopCount = std::uint16_t(block[1] | (block[2] << 8));
    }
  }
  return cursor.SkipSubBlocks() ? geNone : geTruncated;
}

// Row of the frame that the n-th decoded row belongs to.
class TRowOrder {
 public:
  TRowOrder(int height, bool interlaced) : FHeight(height), FInterlaced(interlaced) {}
  int Next() {
    if (!FInterlaced) return FRow++;
    static constexpr int Start[4] = {0, 4, 2, 1};
    static constexpr int Step[4] = {8, 8, 4, 2};
    while (FPass < 4) {
      const int row = Start[FPass] + FRow * Step[FPass];
      if (row < FHeight) {
        ++FRow;
        return row;
      }
      ++FPass;
      FRow = 0;
    }
    return FHeight;
  }

 private:
  int FHeight;
  bool FInterlaced;
  int FPass = 0;
  int FRow = 0;
};

struct LoadState {
  GifPicture Picture;
  std::int64_t PixelBudget = GifMaxTotalPixels;
  std::vector<std::uint8_t> Data;     // joined sub-block payload of the current image
  std::vector<std::uint8_t> Scratch;  // decoded image before reordering and clipping
};

TGifError ReadImage(TGifCursor& cursor, LoadState& state, PendingExtensions& pending) {
  std::uint16_t left, top, width, height;
  std::uint8_t packed;
  if (!cursor.Word(left) || !cursor.Word(top) || !cursor.Word(width) || !cursor.Word(height) || !cursor.Byte(packed))
    return geTruncated;
  const std::int64_t area = std::int64_t(width) * height;
  if (width == 0 || height == 0 || area > GifMaxFramePixels) return geBadDimensions;
  state.PixelBudget -= area;
  if (state.PixelBudget < 0) return geTooLarge;

  GifFrame frame;
  frame.Interlaced = (packed & 0x40) != 0;
  if ((packed & 0x80) && !ReadColorTable(cursor, packed, frame.LocalColors)) return geTruncated;
  std::uint8_t minCodeSize;
  if (!cursor.Byte(minCodeSize)) return geTruncated;
  if (minCodeSize < 2 || minCodeSize > 8) return geBadCodeSize;

  state.Data.clear();
  std::span<const std::uint8_t> block;
  for (;;) {
    if (!cursor.SubBlock(block)) return geTruncated;
    if (block.empty()) break;
    state.Data.insert(state.Data.end(), block.begin(), block.end());
  }
  const std::size_t dataSize = state.Data.size();
  state.Data.resize(dataSize + GifLzwInputSlack, 0);

  // The part of the frame that lies on the logical screen.
  const int screenW = state.Picture.Width, screenH = state.Picture.Height;
  const int x0 = std::min<int>(left, screenW), y0 = std::min<int>(top, screenH);
  const int x1 = std::min<int>(left + width, screenW), y1 = std::min<int>(top + height, screenH);
  frame.Left = x0;
  frame.Top = y0;
  frame.Width = x1 - x0;
  frame.Height = y1 - y0;
  const std::size_t count = std::size_t(area);
  const bool direct = !frame.Interlaced && frame.Width == width && frame.Height == height;

  // Only as much room as the data can fill: the k-th code after a clear stands for at
  // most k indexes, so a few bytes claiming a huge frame cost a few bytes of memory.
  const std::uint64_t codes = std::uint64_t(dataSize) * 8 / std::uint64_t(minCodeSize + 1);
  const std::uint64_t most = codes >= (std::uint64_t(1) << 24) ? count : codes * (codes + 1) / 2;
  const std::size_t decodeCount = std::size_t(std::min<std::uint64_t>(count, most));
  std::vector<std::uint8_t>& target = direct ? frame.Pixels : state.Scratch;
  target.assign(decodeCount + GifLzwOutputSlack, 0);
  const GifLzwResult lzw = GifLzwDecode(state.Data.data(), dataSize, minCodeSize, target.data(), decodeCount);
  if (lzw.Error != geNone) return lzw.Error;
  const std::size_t produced = lzw.Produced;
  // Missing pixels of a short stream stay index 0 (the copy may have scribbled past).
  std::fill(target.begin() + std::ptrdiff_t(produced), target.end(), std::uint8_t(0));

  if (direct) {
    frame.Pixels.resize(count, 0);
  } else {
    frame.Pixels.assign(std::size_t(frame.Width) * std::size_t(frame.Height), 0);
    TRowOrder order(height, frame.Interlaced);
    for (int n = 0; n < height; ++n) {
      const int row = order.Next();
      const int y = top + row;
      if (y < y0 || y >= y1 || frame.Width == 0) continue;
      const std::size_t from = std::size_t(n) * width + std::size_t(x0 - left);
      if (from >= produced) continue;  // decoded data ended before this row
      std::memcpy(frame.Pixels.data() + std::size_t(y - y0) * std::size_t(frame.Width), state.Scratch.data() + from,
                  std::min<std::size_t>(std::size_t(frame.Width), produced - from));
    }
  }

  frame.HasControl = pending.HasControl;
  frame.Disposal = pending.Disposal;
  frame.Delay = pending.Delay;
  frame.TransparentIndex = pending.TransparentIndex;
  frame.LoopCount = pending.LoopCount;
  pending = PendingExtensions{};
  state.Picture.Frames.push_back(std::move(frame));
  return geNone;
}

GifLoadResult Fail(TGifError error) {
  GifLoadResult result;
  result.Error = error;
  return result;
}

}  // namespace

GifLoadResult LoadGif(std::span<const std::uint8_t> bytes) {
  TGifCursor cursor(bytes);
  std::span<const std::uint8_t> signature;
  if (!cursor.Take(6, signature)) return Fail(geNotGif);
  const std::string_view sig(reinterpret_cast<const char*>(signature.data()), 6);
  if (sig != "GIF87a" && sig != "GIF89a") return Fail(geNotGif);

  LoadState state;
  GifPicture& picture = state.Picture;
  std::uint16_t width, height;
  std::uint8_t packed, pixelRatio;
  if (!cursor.Word(width) || !cursor.Word(height) || !cursor.Byte(packed) || !cursor.Byte(picture.BackgroundIndex) ||
      !cursor.Byte(pixelRatio))
    return Fail(geTruncated);
  if (width == 0 || height == 0 || width > GifMaxSide || height > GifMaxSide ||
      std::int64_t(width) * height > GifMaxFramePixels)
    return Fail(geBadDimensions);
  picture.Width = width;
  picture.Height = height;
  if ((packed & 0x80) && !ReadColorTable(cursor, packed, picture.GlobalColors)) return Fail(geTruncated);

  GifLoadResult result;
  PendingExtensions pending;
  for (;;) {
    std::uint8_t introducer;
    if (!cursor.Byte(introducer)) {
      result.Warning = "Missing GIF trailer";
      break;
    }
    if (introducer == 0x3B) break;
    TGifError error;
    if (introducer == 0x21) {
      error = ReadExtension(cursor, pending);
    } else if (introducer == 0x2C) {
      error = ReadImage(cursor, state, pending);
    } else {
      result.Warning = "Unknown GIF block type";
      break;
    }
    if (error != geNone) return Fail(error);
  }
  result.Picture = std::move(state.Picture);
  return result;
}

GifLoadResult LoadGif(std::string_view bytes) {
  return LoadGif(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

std::optional<std::span<const std::uint8_t>> GifBytesOfStoredPicture(std::span<const std::uint8_t> stored) {
  constexpr std::string_view className = "TGIFImage";
  if (stored.size() < 1 + className.size() || stored[0] != className.size() ||
      std::string_view(reinterpret_cast<const char*>(stored.data() + 1), className.size()) != className)
    return std::nullopt;
  return stored.subspan(1 + className.size());
}

const char* GifErrorText(TGifError error) {
  switch (error) {
    case geNone: return "No error";
    case geNotGif: return "Not a GIF picture";
    case geTruncated: return "Premature end of GIF data";
    case geBadDimensions: return "Invalid GIF picture size";
    case geBadCodeSize: return "Invalid LZW code size";
    case geBadCode: return "Invalid LZW code";
    case geTooLarge: return "GIF picture too large";
  }
  return "Unknown GIF error";
}

const GifPalette& GifSystemPalette16() {
  static const GifPalette palette = {
      {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
      {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
      {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
  };
  return palette;
}

const GifPalette& GifFrameColors(const GifPicture& picture, const GifFrame& frame) {
  if (!frame.LocalColors.empty()) return frame.LocalColors;
  if (!picture.GlobalColors.empty()) return picture.GlobalColors;
  return GifSystemPalette16();
}

}  // namespace kv
