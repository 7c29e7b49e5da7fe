// Decoding well-formed streams: frames, pixels, tables, extensions, interlacing, clipping.
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "pictures/GifLzw.h"

namespace kv::test {
namespace {

TEST(GifLzw, RoundTripsEveryCodeSizeAndTableResets) {
  // Noise fills the 4096-entry table many times over (the writer clears at the cap); a
  // flat run makes long strings and the "code being defined" case over and over.
  for (int codeSize = 2; codeSize <= 8; ++codeSize) {
    std::vector<std::uint8_t> pixels = Noise(120 * 130, 1 << codeSize, unsigned(codeSize));
    pixels.insert(pixels.end(), 5000, std::uint8_t(1));
    const std::vector<std::uint8_t> data = GifLzwEncode(pixels, codeSize);
    std::vector<std::uint8_t> input = data;
    input.resize(data.size() + GifLzwInputSlack);
    std::vector<std::uint8_t> out(pixels.size() + GifLzwOutputSlack);
    const GifLzwResult r = GifLzwDecode(input.data(), data.size(), codeSize, out.data(), pixels.size());
    ASSERT_EQ(r.Error, geNone) << codeSize;
    ASSERT_EQ(r.Produced, pixels.size());
    out.resize(pixels.size());
    EXPECT_EQ(out, pixels) << "code size " << codeSize;
  }
}

TEST(GifLzw, FullTableWithoutClearKeepsDecodingAtTwelveBits) {
  // Some writers never send a clear: once the table holds 4096 codes it stays as it is.
  TCodeStream s(2);
  s.Code(s.Clear());
  std::vector<std::uint8_t> expected;
  for (int i = 0; s.NextCode() < 4096; ++i) {
    s.Code(std::uint32_t(i % 4));
    expected.push_back(std::uint8_t(i % 4));
  }
  s.Codes({3, 2, 4095});  // 4095 was defined last: the string ending ..., 3 and then 0
  expected.insert(expected.end(), {3, 2});
  // code 4095 = the string of the second-to-last root code plus its successor's first index
  const std::vector<std::uint8_t> tail = {std::uint8_t((4090 - 1) % 4), std::uint8_t(4090 % 4)};
  s.Code(s.End());
  const std::vector<std::uint8_t> bytes = s.Bytes();
  std::vector<std::uint8_t> input = bytes;
  input.resize(bytes.size() + GifLzwInputSlack);
  std::vector<std::uint8_t> out(expected.size() + 2 + GifLzwOutputSlack);
  const GifLzwResult r = GifLzwDecode(input.data(), bytes.size(), 2, out.data(), expected.size() + 2);
  ASSERT_EQ(r.Error, geNone);
  ASSERT_EQ(r.Produced, expected.size() + 2);
  out.resize(r.Produced);
  expected.insert(expected.end(), tail.begin(), tail.end());
  EXPECT_EQ(out, expected);
}

TEST(GifDecoder, ScreenTablesAndPixels) {
  TGifWriter w(5, 4, Gray(6), 3);
  std::vector<std::uint8_t> pixels = Noise(20, 6, 7);
  w.AddFrame(Frame(0, 0, 5, 4, pixels));
  GifWriterFrame local = Frame(1, 1, 3, 2, {0, 1, 0, 1, 1, 0});
  local.LocalColors = {{255, 0, 0}, {0, 0, 255}};
  w.AddFrame(local);
  const GifPicture p = MustLoad(w.Finish());
  EXPECT_EQ(p.Width, 5);
  EXPECT_EQ(p.Height, 4);
  EXPECT_EQ(p.BackgroundIndex, 3);
  ASSERT_EQ(p.GlobalColors.size(), 8u);  // padded to a power of two
  EXPECT_EQ(p.GlobalColors[5], (GifRgb{5, 5, 5}));
  ASSERT_EQ(p.Frames.size(), 2u);
  EXPECT_EQ(p.Frames[0].Pixels, pixels);
  EXPECT_TRUE(p.Frames[0].LocalColors.empty());
  EXPECT_EQ(&GifFrameColors(p, p.Frames[0]), &p.GlobalColors);
  const GifFrame& f = p.Frames[1];
  EXPECT_EQ(f.Left, 1);
  EXPECT_EQ(f.Top, 1);
  EXPECT_EQ(f.Width, 3);
  EXPECT_EQ(f.Height, 2);
  EXPECT_EQ(f.Pixels, (std::vector<std::uint8_t>{0, 1, 0, 1, 1, 0}));
  ASSERT_EQ(f.LocalColors.size(), 2u);
  EXPECT_EQ(GifFrameColors(p, f)[1], (GifRgb{0, 0, 255}));
}

TEST(GifDecoder, NoColourTableFallsBackToTheSystemPalette) {
  TGifWriter w(2, 1, {});
  GifWriterFrame f = Frame(0, 0, 2, 1, {9, 15});
  f.MinCodeSize = 4;
  w.AddFrame(f);
  const GifPicture p = MustLoad(w.Finish());
  EXPECT_TRUE(p.GlobalColors.empty());
  EXPECT_EQ(GifFrameColors(p, p.Frames[0])[9], (GifRgb{255, 0, 0}));
  EXPECT_EQ(GifFrameColors(p, p.Frames[0]).size(), 16u);
}

TEST(GifDecoder, InterlacedRowsComeBackInOrder) {
  // Heights around the pass boundaries: fewer rows than some passes have starts.
  for (int height : {1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 29}) {
    std::vector<std::uint8_t> pixels(std::size_t(3 * height));
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 3; ++x) pixels[std::size_t(y * 3 + x)] = std::uint8_t((y * 7 + x) % 64);
    TGifWriter w(3, height, Gray(64));
    GifWriterFrame f = Frame(0, 0, 3, height, pixels);
    f.Interlaced = true;
    w.AddFrame(f);
    const GifPicture p = MustLoad(w.Finish());
    ASSERT_EQ(p.Frames.size(), 1u);
    EXPECT_TRUE(p.Frames[0].Interlaced);
    EXPECT_EQ(p.Frames[0].Pixels, pixels) << "height " << height;
  }
}

TEST(GifDecoder, GraphicControlAndLoopExtensionsBelongToTheNextImage) {
  TGifWriter w(2, 2, Gray(4));
  w.AddComment("made by hand");
  w.AddLoop(3);
  GifWriterFrame a = Frame(0, 0, 2, 2, {0, 1, 2, 3});
  a.WriteControl = true;
  a.Disposal = gdRestorePrevious;
  a.Delay = 21;
  a.TransparentIndex = 2;
  w.AddFrame(a);
  w.AddFrame(Frame(0, 0, 1, 1, {1}));  // no extensions of its own
  GifWriterFrame c = Frame(0, 0, 1, 1, {1});
  c.WriteControl = true;
  c.Disposal = 6;  // meaningless, but kept
  w.AddFrame(c);
  const GifPicture p = MustLoad(w.Finish());
  ASSERT_EQ(p.Frames.size(), 3u);
  EXPECT_TRUE(p.Frames[0].HasControl);
  EXPECT_EQ(p.Frames[0].Disposal, gdRestorePrevious);
  EXPECT_EQ(p.Frames[0].Delay, 21);
  EXPECT_EQ(p.Frames[0].TransparentIndex, 2);
  EXPECT_EQ(p.Frames[0].LoopCount, std::optional<std::uint16_t>(3));
  EXPECT_FALSE(p.Frames[1].HasControl);
  EXPECT_EQ(p.Frames[1].TransparentIndex, -1);
  EXPECT_FALSE(p.Frames[1].LoopCount.has_value());
  EXPECT_EQ(p.Frames[2].Disposal, 6);
  EXPECT_EQ(p.Frames[2].TransparentIndex, -1);
}

TEST(GifDecoder, LastControlExtensionCountsAndFirstLoopExtension) {
  TGifWriter w(1, 1, Gray(2));
  w.AddLoop(0);
  w.AddLoop(7);
  // A control extension (disposal 2, delay 5), then the frame's own (delay 9).
  w.AddRaw(std::vector<std::uint8_t>{0x21, 0xF9, 4, 0x08, 5, 0, 0, 0});
  GifWriterFrame f = Frame(0, 0, 1, 1, {1});
  f.WriteControl = true;
  f.Delay = 9;
  w.AddFrame(f);
  const GifPicture p = MustLoad(w.Finish());
  EXPECT_EQ(p.Frames[0].LoopCount, std::optional<std::uint16_t>(0));
  EXPECT_EQ(p.Frames[0].Delay, 9);
  EXPECT_EQ(p.Frames[0].Disposal, gdNone);
}

TEST(GifDecoder, Gif87aAndOtherApplicationExtensions) {
  TGifWriter w(1, 1, Gray(2));
  const std::vector<std::uint8_t> other = {0x21, 0xFF, 11,  'X', 'M', 'P', ' ', 'D', 'a',
                                           't',  'a',  'X', 'M', 'P', 2,   1,   9,   0};
  w.AddRaw(other);  // an application block that is not about looping
  w.AddFrame(Frame(0, 0, 1, 1, {1}));
  std::vector<std::uint8_t> bytes = w.Finish();
  bytes[4] = '7';
  const GifPicture p = MustLoad(bytes);
  ASSERT_EQ(p.Frames.size(), 1u);
  EXPECT_FALSE(p.Frames[0].LoopCount.has_value());
}

TEST(GifDecoder, StrayBlockEndsLoadingWithTheFramesSoFar) {
  TGifWriter w(2, 1, Gray(2));
  w.AddFrame(Frame(0, 0, 2, 1, {1, 0}));
  w.AddByte(0x00);  // neither '!' nor ','
  w.AddFrame(Frame(0, 0, 2, 1, {0, 1}));
  const GifLoadResult r = LoadGif(std::span<const std::uint8_t>(w.Finish()));
  ASSERT_TRUE(r.Picture.has_value());
  EXPECT_EQ(r.Warning, "Unknown GIF block type");
  EXPECT_EQ(r.Picture->Frames.size(), 1u);
}

TEST(GifDecoder, TrailerEndsLoadingAndItsAbsenceIsOnlyAWarning) {
  TGifWriter w(1, 1, Gray(2));
  w.AddFrame(Frame(0, 0, 1, 1, {1}));
  std::vector<std::uint8_t> bytes = w.Finish();
  const std::size_t end = bytes.size();
  bytes.insert(bytes.end(), {0xDE, 0xAD});  // ignored after the trailer
  GifLoadResult r = LoadGif(std::span<const std::uint8_t>(bytes));
  ASSERT_TRUE(r.Picture.has_value());
  EXPECT_TRUE(r.Warning.empty());
  bytes.resize(end - 1);
  r = LoadGif(std::span<const std::uint8_t>(bytes));
  ASSERT_TRUE(r.Picture.has_value());
  EXPECT_EQ(r.Warning, "Missing GIF trailer");
  EXPECT_EQ(r.Picture->Frames.size(), 1u);
}

TEST(GifDecoder, StoredPictureOfAPictureControl) {
  TGifWriter w(1, 1, Gray(2));
  w.AddFrame(Frame(0, 0, 1, 1, {1}));
  const std::vector<std::uint8_t> gif = w.Finish();
  std::vector<std::uint8_t> stored = {9, 'T', 'G', 'I', 'F', 'I', 'm', 'a', 'g', 'e'};
  stored.insert(stored.end(), gif.begin(), gif.end());
  const auto bytes = GifBytesOfStoredPicture(stored);
  ASSERT_TRUE(bytes.has_value());
  EXPECT_TRUE(std::equal(bytes->begin(), bytes->end(), gif.begin(), gif.end()));
  stored[1] = 'X';  // a bitmap or another class
  EXPECT_FALSE(GifBytesOfStoredPicture(stored).has_value());
  EXPECT_FALSE(GifBytesOfStoredPicture(std::vector<std::uint8_t>{9, 'T', 'G'}).has_value());
}

TEST(GifDecoder, FramesAreClippedToTheLogicalScreen) {
  // 4 x 4 frame at (3, 2) on a 5 x 4 screen: columns 3..4 and rows 2..3 remain.
  std::vector<std::uint8_t> pixels(16);
  for (int i = 0; i < 16; ++i) pixels[std::size_t(i)] = std::uint8_t(i);
  for (bool interlaced : {false, true}) {
    TGifWriter w(5, 4, Gray(16));
    GifWriterFrame f = Frame(3, 2, 4, 4, pixels);
    f.Interlaced = interlaced;
    w.AddFrame(f);
    w.AddFrame(Frame(9, 0, 2, 2, {1, 1, 1, 1}));  // wholly off the screen
    const GifPicture p = MustLoad(w.Finish());
    ASSERT_EQ(p.Frames.size(), 2u);
    const GifFrame& c = p.Frames[0];
    EXPECT_EQ(c.Left, 3);
    EXPECT_EQ(c.Top, 2);
    EXPECT_EQ(c.Width, 2);
    EXPECT_EQ(c.Height, 2);
    EXPECT_EQ(c.Pixels, (std::vector<std::uint8_t>{0, 1, 4, 5})) << interlaced;
    EXPECT_TRUE(p.Frames[1].Empty());
    EXPECT_TRUE(p.Frames[1].Pixels.empty());
  }
}

TEST(GifDecoder, ShortImageDataLeavesTheRestAtIndexZero) {
  TGifWriter w(4, 4, Gray(4));
  GifWriterFrame f = Frame(0, 0, 4, 2, {});
  f.RawData = GifLzwEncode(std::vector<std::uint8_t>{3, 3, 2}, 2);
  w.AddFrame(f);
  // Interlaced and partly off the screen: decoded rows 0 and 1 are rows 0 and 2.
  GifWriterFrame g = Frame(0, 0, 5, 4, {});
  g.Interlaced = true;
  g.RawData = GifLzwEncode(std::vector<std::uint8_t>{1, 2, 3, 1, 1, 3, 2}, 2);
  w.AddFrame(g);
  const GifPicture p = MustLoad(w.Finish());
  EXPECT_EQ(p.Frames[0].Pixels, (std::vector<std::uint8_t>{3, 3, 2, 0, 0, 0, 0, 0}));
  EXPECT_EQ(p.Frames[1].Width, 4);
  EXPECT_EQ(p.Frames[1].Pixels, (std::vector<std::uint8_t>{1, 2, 3, 1, 0, 0, 0, 0, 3, 2, 0, 0, 0, 0, 0, 0}));
}

TEST(GifDecoder, SurplusImageDataIsCutAtTheFramesPixelCount) {
  // A long run whose last string passes the end of the frame, then more strings.
  std::vector<std::uint8_t> lots(1000, 2);
  lots.insert(lots.end(), 1000, 1);
  TGifWriter w(7, 3, Gray(4));
  GifWriterFrame f = Frame(0, 0, 7, 3, {});
  f.RawData = GifLzwEncode(lots, 2);
  w.AddFrame(f);
  w.AddFrame(Frame(0, 0, 1, 1, {3}));
  const GifPicture p = MustLoad(w.Finish());
  ASSERT_EQ(p.Frames.size(), 2u);
  EXPECT_EQ(p.Frames[0].Pixels, std::vector<std::uint8_t>(21, 2));
  EXPECT_EQ(p.Frames[1].Pixels, std::vector<std::uint8_t>{3});
}

}  // namespace
}  // namespace kv::test
