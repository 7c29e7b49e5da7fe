#pragma once
// Building small GIF streams for the picture tests.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <random>
#include <vector>

#include "pictures/GifPicture.h"
#include "pictures/GifWriter.h"

namespace kv::test {

inline GifPalette Gray(int entries) {
  GifPalette p;
  for (int i = 0; i < entries; ++i) p.push_back({std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
  return p;
}

inline std::vector<std::uint8_t> Noise(std::size_t count, int colors, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> v(count);
  for (auto& b : v) b = std::uint8_t(rng() % unsigned(colors));
  return v;
}

inline GifWriterFrame Frame(int left, int top, int width, int height, std::vector<std::uint8_t> pixels) {
  GifWriterFrame f;
  f.Left = left;
  f.Top = top;
  f.Width = width;
  f.Height = height;
  f.Pixels = std::move(pixels);
  return f;
}

// Decodes and expects a picture.
inline GifPicture MustLoad(const std::vector<std::uint8_t>& bytes) {
  GifLoadResult r = LoadGif(std::span<const std::uint8_t>(bytes));
  EXPECT_TRUE(r.Picture.has_value()) << GifErrorText(r.Error);
  return r.Picture ? std::move(*r.Picture) : GifPicture{};
}

inline TGifError LoadError(const std::vector<std::uint8_t>& bytes) {
  return LoadGif(std::span<const std::uint8_t>(bytes)).Error;
}

// Hand-made code streams: codes packed least significant bit first, with the width each
// code is read at following the format's rule (one more bit once the next free code
// reaches a power of two, at most 12). `defines` tells whether a code adds a table entry;
// the caller decides, which is how broken streams are made.
class TCodeStream {
 public:
  explicit TCodeStream(int minCodeSize) : FMin(minCodeSize) { Reset(); }
  std::uint32_t Clear() const { return 1u << FMin; }
  std::uint32_t End() const { return Clear() + 1; }
  std::uint32_t NextCode() const { return FNext; }

  // Writes a code; after a clear the first code defines nothing, every later one does.
  TCodeStream& Code(std::uint32_t code) {
    Put(code);
    if (code == Clear()) {
      Reset();
    } else if (FHavePrevious && FNext < 4096) {
      ++FNext;
      if (FNext == (1u << FWidth) && FWidth < 12) ++FWidth;
    } else {
      FHavePrevious = true;
    }
    return *this;
  }
  TCodeStream& Codes(std::initializer_list<std::uint32_t> codes) {
    for (auto c : codes) Code(c);
    return *this;
  }
  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out = FOut;
    if (FCount > 0) out.push_back(std::uint8_t(FBits));
    return out;
  }

 private:
  void Reset() {
    FNext = Clear() + 2;
    FWidth = FMin + 1;
    FHavePrevious = false;
  }
  void Put(std::uint32_t code) {
    FBits |= std::uint64_t(code) << FCount;
    FCount += FWidth;
    while (FCount >= 8) {
      FOut.push_back(std::uint8_t(FBits));
      FBits >>= 8;
      FCount -= 8;
    }
  }
  int FMin;
  std::uint32_t FNext = 0;
  int FWidth = 0;
  bool FHavePrevious = false;
  std::vector<std::uint8_t> FOut;
  std::uint64_t FBits = 0;
  int FCount = 0;
};

// A one-frame picture whose image data is `data` as given.
inline std::vector<std::uint8_t> WithImageData(int width, int height, int minCodeSize, std::vector<std::uint8_t> data) {
  TGifWriter w(width, height, Gray(4));
  GifWriterFrame f = Frame(0, 0, width, height, {});
  f.MinCodeSize = minCodeSize;
  f.RawData = std::move(data);
  w.AddFrame(f);
  return w.Finish();
}

}  // namespace kv::test
