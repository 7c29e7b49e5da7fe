// The PNG codec: pictures written and read back, files made here byte by byte (each row
// filter with its bytes worked out by hand), and damaged or foreign files refused.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "PngFile.h"

namespace kv {
namespace {

std::string U32(std::uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }

std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  const auto crc = std::uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size())));
  return U32(std::uint32_t(data.size())) + body + U32(crc);
}

std::string Deflate(const std::vector<std::uint8_t>& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  std::string out(size, '\0');
  EXPECT_EQ(compress2(reinterpret_cast<Bytef*>(out.data()), &size, raw.data(), uLong(raw.size()), 6), Z_OK);
  out.resize(size);
  return out;
}

std::string Inflate(const std::string& packed, std::size_t size) {
  std::string out(size, '\0');
  uLongf got = size;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &got, reinterpret_cast<const Bytef*>(packed.data()),
                       uLong(packed.size())),
            Z_OK);
  out.resize(got);
  return out;
}

struct THeader {
  std::uint32_t Width = 2, Height = 2;
  std::uint8_t Depth = 8, ColorType = 2, Compression = 0, Filter = 0, Interlace = 0;
};

// A whole file: signature, header, the raw rows (filter bytes included) in one IDAT, end.
std::string MakePng(const THeader& h, const std::vector<std::uint8_t>& raw) {
  const std::string header =
      U32(h.Width) + U32(h.Height) +
      std::string{char(h.Depth), char(h.ColorType), char(h.Compression), char(h.Filter), char(h.Interlace)};
  return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", Deflate(raw)) + Chunk("IEND", "");
}

// A picture where neighbouring pixels differ in every channel, so a wrong filter or a
// channel mix-up shows.
TPixelBitmap Pattern(int w, int h) {
  TPixelBitmap bitmap(w, h);
  std::uint32_t seed = 12345;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      seed = seed * 1103515245u + 12345u;
      const std::uint32_t smooth = (std::uint32_t(x * 255 / w) << 16) | (std::uint32_t(y * 255 / h) << 8);
      bitmap.SetPixel(x, y, (x + y) % 7 == 0 ? (seed >> 8) & 0xFFFFFF : smooth | std::uint32_t((x * y) & 0xFF));
    }
  return bitmap;
}

void ExpectSame(const TPixelBitmap& want, const TPixelBitmap& got) {
  ASSERT_EQ(got.Width(), want.Width());
  ASSERT_EQ(got.Height(), want.Height());
  for (int y = 0; y < want.Height(); ++y)
    for (int x = 0; x < want.Width(); ++x) ASSERT_EQ(got.Pixel(x, y), want.Pixel(x, y)) << "at " << x << ", " << y;
}

TEST(PngFileTest, PicturesComeBackAsWritten) {
  for (auto [w, h] : {std::pair{1, 1}, {37, 13}, {300, 2}, {2, 300}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const TPixelBitmap picture = Pattern(w, h);
    const std::optional<std::string> file = WritePng(picture);
    ASSERT_TRUE(file);
    std::string error;
    const std::optional<TPixelBitmap> back = ReadPng(*file, &error);
    ASSERT_TRUE(back) << error;
    ExpectSame(picture, *back);
  }
  // Through a file as well.
  const auto path = std::filesystem::temp_directory_path() / "kv-png-test.png";
  const TPixelBitmap picture = Pattern(64, 48);
  ASSERT_TRUE(SavePngFile(path, picture));
  const std::optional<TPixelBitmap> back = LoadPngFile(path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back);
  ExpectSame(picture, *back);
  EXPECT_FALSE(WritePng(TPixelBitmap()));
}

TEST(PngFileTest, WrittenFileIsPlainRgbInTheFormatsByteOrder) {
  // One row of two pixels: pure red and pure blue, read back with zlib alone.
  TPixelBitmap picture(2, 1);
  picture.SetPixel(0, 0, 0xFF0000);
  picture.SetPixel(1, 0, 0x0000FF);
  const std::string file = WritePng(picture).value_or("");
  ASSERT_GT(file.size(), 8u + 25 + 12 + 12);
  EXPECT_EQ(file.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  const std::string header = file.substr(8, 25);
  EXPECT_EQ(header, Chunk("IHDR", U32(2) + U32(1) + std::string{8, 2, 0, 0, 0}));
  EXPECT_EQ(file.substr(file.size() - 12), Chunk("IEND", ""));
  const std::uint32_t length = (std::uint32_t(std::uint8_t(file[33])) << 24) |
                               (std::uint32_t(std::uint8_t(file[34])) << 16) |
                               (std::uint32_t(std::uint8_t(file[35])) << 8) | std::uint8_t(file[36]);
  ASSERT_EQ(file.substr(37, 4), "IDAT");
  EXPECT_EQ(file.substr(33, 12 + length), Chunk("IDAT", file.substr(41, length)));  // checksum right
  const std::string raw = Inflate(file.substr(41, length), 7);
  ASSERT_EQ(raw.size(), 7u);
  // Whatever filter was chosen, undoing it must give red then blue.
  const int filter = raw[0];
  std::uint8_t row[6];
  for (int i = 0; i < 6; ++i) {
    const int a = i >= 3 ? row[i - 3] : 0;
    const int predicted = filter == 1 || filter == 4 ? a : filter == 3 ? a / 2 : 0;
    row[i] = std::uint8_t(std::uint8_t(raw[std::size_t(i) + 1]) + predicted);
  }
  EXPECT_EQ(std::vector<int>(row, row + 6), (std::vector<int>{255, 0, 0, 0, 0, 255}));
  // Level 9 of a large, regular picture is much smaller than its raw rows.
  TPixelBitmap flat(400, 300, 0x336699);
  EXPECT_LT(WritePng(flat).value_or(std::string(1 << 20, 'x')).size(), 2000u);
}

// The picture behind every hand-made stream below:
//   (100,50,10) (100,10,40)
//   (10,100,15) (77,88,99)
// The last pixel's Paeth predictor takes the left neighbour for red, the upper-left for
// green and the upper one for blue.
TEST(PngFileTest, EachRowFilterIsUndone) {
  const std::vector<std::vector<std::uint8_t>> rows = {
      /* none    */ {100, 50, 10, 100, 10, 40, 10, 100, 15, 77, 88, 99},
      /* sub     */ {100, 50, 10, 0, 216, 30, 10, 100, 15, 67, 244, 84},
      /* up      */ {100, 50, 10, 100, 10, 40, 166, 50, 5, 233, 78, 59},
      /* average */ {100, 50, 10, 50, 241, 35, 216, 75, 10, 22, 33, 72},
      /* paeth   */ {100, 50, 10, 0, 216, 30, 166, 50, 5, 67, 38, 59},
  };
  const std::uint32_t want[4] = {0x64320A, 0x640A28, 0x0A640F, 0x4D5863};
  for (std::uint8_t filter = 0; filter < 5; ++filter) {
    SCOPED_TRACE("filter " + std::to_string(filter));
    const std::vector<std::uint8_t>& r = rows[filter];
    std::vector<std::uint8_t> raw = {filter};
    raw.insert(raw.end(), r.begin(), r.begin() + 6);
    raw.push_back(filter);
    raw.insert(raw.end(), r.begin() + 6, r.end());
    std::string error;
    const std::optional<TPixelBitmap> picture = ReadPng(MakePng({}, raw), &error);
    ASSERT_TRUE(picture) << error;
    EXPECT_EQ(picture->Pixel(0, 0), want[0]);
    EXPECT_EQ(picture->Pixel(1, 0), want[1]);
    EXPECT_EQ(picture->Pixel(0, 1), want[2]);
    EXPECT_EQ(picture->Pixel(1, 1), want[3]);
  }
  // Filters differ from row to row, and RGBA predicts across four bytes; alpha is dropped.
  THeader rgba;
  rgba.ColorType = 6;
  rgba.Height = 1;
  const std::vector<std::uint8_t> raw = {1, 1, 2, 3, 255, 10, 20, 30, 1};
  const std::optional<TPixelBitmap> picture = ReadPng(MakePng(rgba, raw));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Pixel(0, 0), 0x010203u);
  EXPECT_EQ(picture->Pixel(1, 0), 0x0B1621u);
}

TEST(PngFileTest, DamagedAndForeignFilesAreRefused) {
  const std::string good = WritePng(Pattern(20, 10)).value_or("");
  ASSERT_TRUE(ReadPng(good));
  // Cut anywhere short of the end (the end chunk too is needed).
  for (std::size_t size = 0; size < good.size(); ++size) {
    std::string error;
    EXPECT_FALSE(ReadPng(std::string_view(good).substr(0, size), &error)) << "cut to " << size;
    EXPECT_FALSE(error.empty());
  }
  // A changed byte anywhere after the signature breaks a checksum.
  for (std::size_t at = 8; at < good.size(); ++at) {
    std::string bad = good;
    bad[at] = char(bad[at] ^ 0x10);
    EXPECT_FALSE(ReadPng(bad)) << "byte " << at;
  }

  const std::vector<std::uint8_t> rows(2 * 7, 0);  // 2x2 RGB, filter none
  auto refused = [&](const THeader& h, const std::vector<std::uint8_t>& raw, const std::string& why) {
    std::string error;
    EXPECT_FALSE(ReadPng(MakePng(h, raw), &error)) << why;
    EXPECT_FALSE(error.empty()) << why;
  };
  THeader h;
  h.Depth = 16;
  refused(h, rows, "16-bit");
  h = {};
  h.ColorType = 3;
  refused(h, rows, "palette");
  h = {};
  h.ColorType = 0;
  refused(h, rows, "grey");
  h = {};
  h.Interlace = 1;
  refused(h, rows, "interlaced");
  h = {};
  h.Width = 0;
  refused(h, {0}, "no width");
  h = {};
  h.Width = 100000;
  h.Height = 100000;
  refused(h, rows, "larger than a bitmap may be");
  h = {};
  std::vector<std::uint8_t> unknown = rows;
  unknown[7] = 5;
  refused(h, unknown, "filter 5");
  refused({}, std::vector<std::uint8_t>(rows.begin(), rows.end() - 1), "one byte short");
  std::vector<std::uint8_t> longer = rows;
  longer.push_back(0);
  refused({}, longer, "one byte to spare");
  EXPECT_FALSE(ReadPng("GIF89a"));
  // A checksum-correct stream that is no zlib stream.
  const std::string header = U32(2) + U32(2) + std::string{8, 2, 0, 0, 0};
  EXPECT_FALSE(ReadPng(std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", "garbage!") +
                       Chunk("IEND", "")));
}

TEST(PngFileTest, AncillaryChunksAreSkippedAndUnknownNeededOnesRefused) {
  const std::vector<std::uint8_t> raw = {0, 1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
  const std::string plain = MakePng({}, raw);
  const std::size_t afterHeader = 8 + 25;
  std::string withText = plain;
  withText.insert(afterHeader, Chunk("tEXt", std::string("Comment\0made here", 17)) + Chunk("PLTE", "\1\2\3"));
  const std::optional<TPixelBitmap> picture = ReadPng(withText);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->Pixel(1, 1), 0x0A0B0Cu);
  std::string withNeeded = plain;
  withNeeded.insert(afterHeader, Chunk("ABCD", "x"));
  EXPECT_FALSE(ReadPng(withNeeded));
}

}  // namespace
}  // namespace kv
