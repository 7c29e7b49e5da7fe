// BMP reading at every supported depth, and refusal of malformed files.
#include <gtest/gtest.h>

#include <vector>

#include "skin/data/BmpCodec.h"

namespace kv {
namespace {

// Writes BMP files the way other programs do, independently of WriteBmp24.
class TBmpMaker {
public:
  int FBpp = 24;
  bool FTopDown = false;
  std::uint32_t FCompression = 0;
  std::vector<std::uint32_t> FPalette;  // 0x00RRGGBB
  std::vector<std::uint32_t> FMasks;    // written after the header when not empty

  // `values` are palette indices for depths up to 8, pixels (0x00RRGGBB) otherwise.
  std::string Make(int width, int height, const std::vector<std::uint32_t>& values) const {
    std::string body;
    const std::size_t stride = ((std::size_t(width) * std::size_t(FBpp) + 31) / 32) * 4;
    for (int r = 0; r < height; ++r) {
      const int y = FTopDown ? r : height - 1 - r;
      std::string row(stride, '\0');
      for (int x = 0; x < width; ++x) {
        const std::uint32_t v = values[std::size_t(y * width + x)];
        if (FBpp <= 8) {
          const std::size_t bit = std::size_t(x) * std::size_t(FBpp);
          row[bit / 8] = char(std::uint8_t(row[bit / 8]) | (v << (8 - FBpp - bit % 8)));
        } else if (FBpp == 24) {
          row[3 * std::size_t(x)] = char(v & 0xFF);
          row[3 * std::size_t(x) + 1] = char((v >> 8) & 0xFF);
          row[3 * std::size_t(x) + 2] = char((v >> 16) & 0xFF);
        } else if (FBpp == 32) {
          for (int k = 0; k < 4; ++k) row[4 * std::size_t(x) + std::size_t(k)] = char(((v | 0xAB000000u) >> (8 * k)) & 0xFF);
        } else if (FBpp == 16) {  // 5-6-5
          const std::uint32_t p = ((v >> 19) & 0x1F) << 11 | ((v >> 10) & 0x3F) << 5 | ((v >> 3) & 0x1F);
          row[2 * std::size_t(x)] = char(p & 0xFF);
          row[2 * std::size_t(x) + 1] = char(p >> 8);
        }
      }
      body += row;
    }
    std::string extra;
    for (std::uint32_t m : FMasks) Put32(extra, m);
    for (std::uint32_t c : FPalette) Put32(extra, c);
    std::string out = "BM";
    Put32(out, std::uint32_t(54 + extra.size() + body.size()));
    Put32(out, 0);
    Put32(out, std::uint32_t(54 + extra.size()));
    Put32(out, 40);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(FTopDown ? -height : height));
    out += std::string("\x01\x00", 2);
    out.push_back(char(FBpp));
    out.push_back('\0');
    Put32(out, FCompression);
    Put32(out, std::uint32_t(body.size()));
    Put32(out, 0), Put32(out, 0);
    Put32(out, std::uint32_t(FPalette.size()));
    Put32(out, 0);
    return out + extra + body;
  }

  static void Put32(std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
  }
};

const std::vector<std::uint32_t> kPalette = {0x000000, 0xFFFFFF, 0xFF00FF, 0x123456, 0x00FF00, 0xABCDEF,
                                             0x010203, 0x808080, 0x7F0000, 0x00007F, 0x550055, 0x3C3C3C,
                                             0xC0FFEE, 0xBADA55, 0x0F0F0F, 0xF0F0F0};

std::vector<std::uint32_t> Indices(int width, int height, int colours) {
  std::vector<std::uint32_t> v;
  for (int i = 0; i < width * height; ++i) v.push_back(std::uint32_t((i * 7 + i / width) % colours));
  return v;
}

void ExpectPixels(const std::optional<TPixelBitmap>& b, int width, int height,
                  const std::vector<std::uint32_t>& expected) {
  ASSERT_TRUE(b.has_value());
  ASSERT_EQ(b->Width(), width);
  ASSERT_EQ(b->Height(), height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      ASSERT_EQ(b->Pixel(x, y), expected[std::size_t(y * width + x)]) << x << "," << y;
}

TEST(BmpRead, PaletteDepthsBottomUpAndTopDown) {
  for (int bpp : {1, 4, 8}) {
    for (bool topDown : {false, true}) {
      TBmpMaker maker;
      maker.FBpp = bpp;
      maker.FTopDown = topDown;
      const int colours = bpp == 1 ? 2 : 16;
      maker.FPalette.assign(kPalette.begin(), kPalette.begin() + colours);
      const int width = 13, height = 5;  // odd width: rows end in padding
      const auto indices = Indices(width, height, colours);
      std::vector<std::uint32_t> expected;
      for (std::uint32_t i : indices) expected.push_back(kPalette[i]);
      SCOPED_TRACE(testing::Message() << bpp << " bpp, top-down " << topDown);
      ExpectPixels(ReadBmp(maker.Make(width, height, indices)), width, height, expected);
    }
  }
}

TEST(BmpRead, TrueColourDepths) {
  std::vector<std::uint32_t> pixels;
  for (int i = 0; i < 7 * 3; ++i) pixels.push_back(kPalette[std::size_t(i) % kPalette.size()]);
  for (bool topDown : {false, true}) {
    TBmpMaker maker;
    maker.FTopDown = topDown;
    ExpectPixels(ReadBmp(maker.Make(7, 3, pixels)), 7, 3, pixels);
    maker.FBpp = 32;  // the alpha byte written is dropped
    ExpectPixels(ReadBmp(maker.Make(7, 3, pixels)), 7, 3, pixels);
  }
}

TEST(BmpRead, BitFieldDepths) {
  TBmpMaker maker;
  maker.FBpp = 16;
  maker.FCompression = 3;
  maker.FMasks = {0xF800, 0x07E0, 0x001F};
  const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFF00FF};
  ExpectPixels(ReadBmp(maker.Make(3, 2, pixels)), 3, 2, pixels);
  TBmpMaker swapped;  // 32 bits with red and blue masks swapped
  swapped.FBpp = 32;
  swapped.FCompression = 3;
  swapped.FMasks = {0x0000FF, 0x00FF00, 0xFF0000};
  const auto b = ReadBmp(swapped.Make(1, 1, {0x102030}));
  ASSERT_TRUE(b);
  EXPECT_EQ(b->Pixel(0, 0), 0x302010u);
}

TEST(BmpRead, IndexBeyondAShortPaletteIsBlack) {
  TBmpMaker maker;
  maker.FBpp = 4;
  maker.FPalette = {0xFFFFFF, 0x00FF00};
  ExpectPixels(ReadBmp(maker.Make(3, 1, {1, 0, 9})), 3, 1, {0x00FF00, 0xFFFFFF, 0x000000});
}

TEST(BmpRead, WriteBmp24RoundTrips) {
  TPixelBitmap b(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) b.SetPixel(x, y, kPalette[std::size_t(x + 5 * y) % kPalette.size()]);
  const auto back = ReadBmp(WriteBmp24(b));
  ExpectPixels(back, 5, 3, std::vector<std::uint32_t>(b.Pixels().begin(), b.Pixels().end()));
}

TEST(BmpRead, MalformedFilesAreNoPicture) {
  TBmpMaker maker;
  const std::string good = maker.Make(4, 4, std::vector<std::uint32_t>(16, 0x112233));
  ASSERT_TRUE(ReadBmp(good));
  auto patched = [&](std::size_t at, std::uint32_t v) {
    std::string s = good;
    for (int i = 0; i < 4; ++i) s[at + std::size_t(i)] = char((v >> (8 * i)) & 0xFF);
    return s;
  };
  EXPECT_FALSE(ReadBmp(""));
  EXPECT_FALSE(ReadBmp("BM"));
  EXPECT_FALSE(ReadBmp("XY" + good.substr(2)));
  EXPECT_FALSE(ReadBmp(good.substr(0, good.size() - 1)));  // pixel data cut short
  EXPECT_FALSE(ReadBmp(good.substr(0, 30)));               // header cut short
  EXPECT_FALSE(ReadBmp(patched(18, 0)));                   // no width
  EXPECT_FALSE(ReadBmp(patched(22, 0)));                   // no height
  EXPECT_FALSE(ReadBmp(patched(18, 100000)));              // wider than any picture we make
  EXPECT_FALSE(ReadBmp(patched(22, 0x80000000)));          // the most negative height
  EXPECT_FALSE(ReadBmp(patched(18, 30000)));               // large but data missing
  EXPECT_FALSE(ReadBmp(patched(30, 1)));                   // run-length compression
  EXPECT_FALSE(ReadBmp(patched(10, 0xFFFFFFF0)));          // data offset past the end
  EXPECT_FALSE(ReadBmp(patched(14, 0xFFFFFFF0)));          // header longer than the file
  EXPECT_FALSE(ReadBmp(patched(14, 20)));                  // unknown header size
  std::string depth = good;
  depth[28] = 7;
  EXPECT_FALSE(ReadBmp(depth));
  TBmpMaker palette;  // more colours than 4 bits can index
  palette.FBpp = 4;
  palette.FPalette.assign(17, 0);
  EXPECT_FALSE(ReadBmp(palette.Make(2, 2, {0, 0, 0, 0})));
}

}  // namespace
}  // namespace kv
