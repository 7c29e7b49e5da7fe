#pragma once
// Writing GIF89a streams: used by the tests, the benchmarks and the picture generator,
// never by the program itself (library kv_gifwriter).
//
//   GifLzwEncode   indexes -> LZW code stream (not yet cut into sub-blocks)
//   GifWriterFrame one image with its control extension
//   TGifWriter     header, global table, extensions, images, trailer
//
// The writer writes what it is told, also nonsense (a frame bigger than the screen, a
// code size of 12, raw bytes anywhere), so tests can build damaged streams with it.
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "pictures/GifPicture.h"

namespace kv {

// Every index must be below 1 << minCodeSize (2..8); throws std::invalid_argument if not.
std::vector<std::uint8_t> GifLzwEncode(std::span<const std::uint8_t> indexes, int minCodeSize);

// The smallest LZW minimum code size for a table of `colors` entries (at least 2).
int GifCodeSizeFor(std::size_t colors);

struct GifWriterFrame {
  int Left = 0;
  int Top = 0;
  int Width = 0;  // as written in the image descriptor
  int Height = 0;
  std::vector<std::uint8_t> Pixels;  // row by row from the top; interlaced when written
  GifPalette LocalColors;            // empty: none
  bool Interlaced = false;
  bool WriteControl = false;  // precede the image with a graphic control extension
  std::uint8_t Disposal = gdNone;
  std::uint16_t Delay = 0;
  int TransparentIndex = -1;
  int MinCodeSize = -1;  // -1: from the colour table's size
  // When set, written as the image data instead of the encoded Pixels.
  std::optional<std::vector<std::uint8_t>> RawData;
};

class TGifWriter {
 public:
  // `globalColors` is padded to a power of two (2 to 256 entries); empty: no global table.
  TGifWriter(int width, int height, const GifPalette& globalColors, std::uint8_t backgroundIndex = 0);

  void AddLoop(std::uint16_t count);  // "NETSCAPE2.0"
  void AddComment(std::string_view text);
  void AddFrame(const GifWriterFrame& frame);
  void AddRaw(std::span<const std::uint8_t> bytes);
  void AddByte(std::uint8_t byte) { FBytes.push_back(byte); }

  // The stream so far, without the trailer.
  const std::vector<std::uint8_t>& Bytes() const { return FBytes; }
  // The stream with its trailer.
  std::vector<std::uint8_t> Finish() const;

 private:
  void Word(int value);
  void ColorTable(const GifPalette& colors);
  void SubBlocks(std::span<const std::uint8_t> data);

  std::vector<std::uint8_t> FBytes;
  std::size_t FGlobalSize = 0;
};

}  // namespace kv
