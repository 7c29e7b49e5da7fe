// BMP reading at every supported depth, and refusal of malformed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <tuple>
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
          for (int k = 0; k < 4; ++k)
            row[4 * std::size_t(x) + std::size_t(k)] = char(((v | 0xAB000000u) >> (8 * k)) & 0xFF);
        } else if (FBpp == 16) {  // 5-6-5
          const std::uint32_t p = ((v >> 19) & 0x1F) << 11 | ((v >> 10) & 0x3F) << 5 | ((v >> 3) & 0x1F);
          row[2 * std::size_t(x)] = char(p & 0xFF);
          row[2 * std::size_t(x) + 1] = char(p >> 8);
        }
      }
      body += row;
    }
    return Wrap(width, height, body);
  }

  // Headers and palette around `body`, which is written as it is (run-length data).
  std::string Wrap(int width, int height, const std::string& body) const {
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

// A string of the bytes of a literal, zero bytes included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

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
    for (int x = 0; x < width; ++x) ASSERT_EQ(b->Pixel(x, y), expected[std::size_t(y * width + x)]) << x << "," << y;
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
  EXPECT_FALSE(ReadBmp(patched(30, 1)));                   // run-length codes at 24 bits
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

// Run-length pictures. Their palette does not start with black, so pixels that no code
// writes (black) differ from index 0.
class BmpRle : public ::testing::Test {
 protected:
  static constexpr std::uint32_t B = 0;  // never written
  const std::vector<std::uint32_t> FPalette = [] {
    std::vector<std::uint32_t> p = kPalette;  // black comes to index 13, unused below
    std::rotate(p.begin(), p.begin() + 3, p.end());
    return p;
  }();

  std::string Rle(int bpp, int width, int height, const std::string& codes, bool topDown = false) const {
    TBmpMaker maker;
    maker.FBpp = bpp;
    maker.FCompression = bpp == 8 ? 1 : 2;
    maker.FTopDown = topDown;
    maker.FPalette = FPalette;
    return maker.Wrap(width, height, codes);
  }
  // Colours of palette indexes, B kept as it is.
  std::vector<std::uint32_t> Colours(std::initializer_list<int> indexes) const {
    std::vector<std::uint32_t> v;
    for (int i : indexes) v.push_back(i < 0 ? B : FPalette[std::size_t(i)]);
    return v;
  }

  // 6 x 4, bottom row first: a run and an odd absolute run (padded); a run and a delta
  // over the rest of that row into the next; an absolute run passing the row end; one
  // pixel and the end of the bitmap.
  const std::string FRle8 = Bytes(
      "\x03\x01"
      "\x00\x03\x02\x03\x04\x00"
      "\x00\x00"
      "\x02\x05"
      "\x00\x02\x01\x01"
      "\x00\x04\x06\x07\x08\x09"
      "\x00\x00"
      "\x01\x0A"
      "\x00\x01");
  const std::vector<std::uint32_t> FRle8Pixels = Colours({10, -1, -1, -1, -1, -1,  //
                                                          -1, -1, -1, 6,  7,  8,   //
                                                          5,  5,  -1, -1, -1, -1,  //
                                                          1,  1,  1,  2,  3,  4});
  // 7 x 3: a run of alternating nibbles, an absolute run of 3 passing the row end; an
  // absolute run of 5 (3 bytes, padded to 4) and a run passing the row end; two pixels and
  // a delta past the top row, which ends the picture.
  const std::string FRle4 = Bytes(
      "\x05\x12"
      "\x00\x03\x34\x50"
      "\x00\x00"
      "\x00\x05\x67\x89\xA0\x00"
      "\x04\xBC"
      "\x00\x00"
      "\x02\xCE"
      "\x00\x02\x03\x09");
  const std::vector<std::uint32_t> FRle4Pixels = Colours({12, 14, -1, -1, -1, -1, -1,  //
                                                          6,  7,  8,  9,  10, 11, 12,  //
                                                          1,  2,  1,  2,  1,  3,  4});
};

TEST_F(BmpRle, EveryKindOfCodeAtBothDepths) {
  ExpectPixels(ReadBmp(Rle(8, 6, 4, FRle8)), 6, 4, FRle8Pixels);
  ExpectPixels(ReadBmp(Rle(4, 7, 3, FRle4)), 7, 3, FRle4Pixels);
  // After the top row the picture is complete: what follows is not read.
  std::string pastTop = FRle8;
  pastTop.replace(pastTop.size() - 2, 2, Bytes("\x00\x00\x05"));
  ExpectPixels(ReadBmp(Rle(8, 6, 4, pastTop)), 6, 4, FRle8Pixels);
  // An index past a short palette is black, as in uncompressed pictures.
  TBmpMaker shortPalette;
  shortPalette.FBpp = 8;
  shortPalette.FCompression = 1;
  shortPalette.FPalette = {0xFFFFFF, 0x00FF00};
  ExpectPixels(ReadBmp(shortPalette.Wrap(3, 1, Bytes("\x02\x01\x01\x09\x00\x01"))), 3, 1,
               {0x00FF00, 0x00FF00, 0x000000});
}

TEST_F(BmpRle, FileWrittenByImageMagick) {
  // convert -size 9x4 xc:'#123456' -fill '#ff00ff' -draw "point 1,0"
  //   -draw "rectangle 3,1 7,2" -fill white -draw "point 8,3" -draw "point 0,3"
  //   -type Palette -compress RLE BMP3:im8.bmp
  // A 256-entry palette of which 3 are used; every row is coded 12 pixels wide (the row
  // padding too), so each row's last run passes the row end.
  std::string file(
      "BM\x5A\x04\x00\x00\x00\x00\x00\x00\x36\x04\x00\x00\x28\x00\x00\x00\x09\x00\x00\x00"
      "\x04\x00\x00\x00\x01\x00\x08\x00\x01\x00\x00\x00\x24\x00\x00\x00\x00\x00\x00\x00"
      "\x00\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00"
      "\x56\x34\x12\x00\xFF\x00\xFF\x00\xFF\xFF\xFF\x00",
      66);
  file.append(1024 - 12, '\0');
  file.append(
      "\x01\x02\x07\x00\x01\x02\x03\x00\x00\x00\x03\x00\x05\x01\x04\x00\x00\x00"
      "\x03\x00\x05\x01\x04\x00\x00\x00\x01\x00\x01\x01\x0A\x00\x00\x00\x00\x01",
      36);
  ASSERT_EQ(file.size(), 0x45Au);
  constexpr std::uint32_t o = 0x123456, m = 0xFF00FF, w = 0xFFFFFF;
  ExpectPixels(ReadBmp(file), 9, 4, {o, m, o, o, o, o, o, o, o,  //
                                     o, o, o, m, m, m, m, m, o,  //
                                     o, o, o, m, m, m, m, m, o,  //
                                     w, o, o, o, o, o, o, o, w});
}

TEST_F(BmpRle, DamagedOrMisdeclaredDataIsNoPicture) {
  for (const auto& [bpp, width, height, codes] : {std::tuple{8, 6, 4, FRle8}, std::tuple{4, 7, 3, FRle4}}) {
    SCOPED_TRACE(bpp);
    // Cut anywhere before its last code, the data ends inside a code or before the
    // picture is complete.
    for (std::size_t n = 0; n < codes.size(); ++n)
      EXPECT_FALSE(ReadBmp(Rle(bpp, width, height, codes.substr(0, n)))) << n;
    EXPECT_FALSE(ReadBmp(Rle(bpp, width, height, codes, true)));  // top-down
    EXPECT_FALSE(ReadBmp(Rle(12 - bpp, width, height, codes).replace(30, 1, 1, char(bpp == 8 ? 1 : 2))))
        << "codes of the other depth";
  }
  // An absolute run whose bytes pass the end of the data.
  EXPECT_FALSE(ReadBmp(Rle(8, 6, 1, Bytes("\x00\x05\x01\x02\x03"))));
  EXPECT_FALSE(ReadBmp(Rle(4, 7, 1, Bytes("\x00\x07\x12\x34"))));
  // The size limits hold as for uncompressed pictures.
  EXPECT_FALSE(ReadBmp(Rle(8, 40000, 1, Bytes("\x00\x01"))));
  EXPECT_FALSE(ReadBmp(Rle(8, 0, 1, Bytes("\x00\x01"))));
}

}  // namespace
}  // namespace kv
