// Damaged and hostile streams: each gives "no picture" with a reason, never a crash, and
// never more work or memory than the limits allow.
#include <gtest/gtest.h>

#include "GifTestSupport.h"

namespace kv::test {
namespace {

std::vector<std::uint8_t> Header(int width, int height) {
  return {'G',
          'I',
          'F',
          '8',
          '9',
          'a',
          std::uint8_t(width),
          std::uint8_t(width >> 8),
          std::uint8_t(height),
          std::uint8_t(height >> 8),
          0,
          0,
          0};
}

TEST(GifHostile, SignatureAndScreenSize) {
  EXPECT_EQ(LoadError({}), geNotGif);
  EXPECT_EQ(LoadError({'G', 'I', 'F'}), geNotGif);
  EXPECT_EQ(LoadError({'G', 'I', 'F', '9', '0', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}), geNotGif);
  EXPECT_EQ(LoadError({'G', 'I', 'F', '8', '9', 'a', 1, 0}), geTruncated);
  EXPECT_EQ(LoadError(Header(0, 10)), geBadDimensions);
  EXPECT_EQ(LoadError(Header(10, 0)), geBadDimensions);
  EXPECT_EQ(LoadError(Header(65535, 65535)), geBadDimensions);
  EXPECT_EQ(LoadError(Header(GifMaxSide + 1, 1)), geBadDimensions);
  EXPECT_EQ(LoadError(Header(GifMaxSide, GifMaxSide)), geBadDimensions);  // area
  std::vector<std::uint8_t> ok = Header(GifMaxSide, 1);
  ok.push_back(0x3B);
  EXPECT_EQ(LoadError(ok), geNone);
}

TEST(GifHostile, FrameSizes) {
  const auto withFrame = [](int width, int height) {
    TGifWriter w(4, 4, Gray(4));
    w.AddFrame(Frame(0, 0, width, height, {}));
    return LoadError(w.Finish());
  };
  EXPECT_EQ(withFrame(0, 3), geBadDimensions);
  EXPECT_EQ(withFrame(3, 0), geBadDimensions);
  EXPECT_EQ(withFrame(65535, 65535), geBadDimensions);
  EXPECT_EQ(withFrame(65535, 257), geBadDimensions);  // just over the per-frame area
  EXPECT_EQ(withFrame(65535, 255), geNone);           // huge but allowed, and clipped
}

TEST(GifHostile, PixelBudgetOverAllFrames) {
  // Each frame is allowed on its own; the decoder refuses the sum before decoding it.
  TGifWriter w(4096, 4096, Gray(4));
  const GifWriterFrame f = [] {
    GifWriterFrame g = Frame(0, 0, 4096, 4096, {});
    g.RawData = std::vector<std::uint8_t>{};
    return g;
  }();
  const int allowed = int(GifMaxTotalPixels / GifMaxFramePixels);
  for (int i = 0; i < allowed; ++i) w.AddFrame(f);
  EXPECT_EQ(LoadError(w.Finish()), geNone);
  w.AddFrame(f);
  EXPECT_EQ(LoadError(w.Finish()), geTooLarge);
}

TEST(GifHostile, LzwMinimumCodeSizeOutsideTwoToEight) {
  for (int size : {0, 1, 9, 11, 12, 255})
    EXPECT_EQ(LoadError(WithImageData(2, 2, size, {0x00})), geBadCodeSize) << size;
  for (int size = 2; size <= 8; ++size) {
    TCodeStream s(size);
    s.Codes({s.Clear(), 1, s.End()});
    EXPECT_EQ(LoadError(WithImageData(1, 1, size, s.Bytes())), geNone) << size;
  }
}

TEST(GifHostile, CodesNotYetInTheTable) {
  {  // next free code is 6 after "clear, 1": 7 is beyond it
    TCodeStream s(2);
    s.Codes({s.Clear(), 1, 7});
    EXPECT_EQ(LoadError(WithImageData(4, 4, 2, s.Bytes())), geBadCode);
  }
  {  // a string code right after a clear, when there is no string yet
    TCodeStream s(2);
    s.Codes({s.Clear(), 6});
    EXPECT_EQ(LoadError(WithImageData(4, 4, 2, s.Bytes())), geBadCode);
  }
  {  // the same at the very start, without a clear
    TCodeStream s(2);
    s.Code(6);
    EXPECT_EQ(LoadError(WithImageData(4, 4, 2, s.Bytes())), geBadCode);
  }
  {  // the code being defined is fine: 1, then 6 = "1 1"
    TCodeStream s(2);
    s.Codes({s.Clear(), 1, 6, s.End()});
    const GifPicture p = MustLoad(WithImageData(3, 1, 2, s.Bytes()));
    EXPECT_EQ(p.Frames[0].Pixels, (std::vector<std::uint8_t>{1, 1, 1}));
  }
}

TEST(GifHostile, EveryTruncationIsAnErrorOrAWarning) {
  TGifWriter w(6, 5, Gray(8));
  w.AddLoop(0);
  GifWriterFrame a = Frame(0, 0, 6, 5, Noise(30, 8, 3));
  a.WriteControl = true;
  a.Delay = 4;
  a.TransparentIndex = 1;
  w.AddFrame(a);
  GifWriterFrame b = Frame(1, 1, 3, 3, Noise(9, 4, 4));
  b.LocalColors = Gray(4);
  b.Interlaced = true;
  w.AddFrame(b);
  const std::vector<std::uint8_t> full = w.Finish();
  int missingTrailer = 0;
  for (std::size_t n = 0; n < full.size(); ++n) {
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(n));
    const GifLoadResult r = LoadGif(std::span<const std::uint8_t>(cut));
    if (r.Picture) {
      EXPECT_EQ(r.Warning, "Missing GIF trailer") << n;
      ++missingTrailer;
    } else {
      EXPECT_NE(r.Error, geNone) << n;
    }
  }
  // Only the cuts between blocks load: after the screen and after each of the blocks.
  EXPECT_EQ(missingTrailer, 5);
}

TEST(GifHostile, SubBlockLengthPastTheEnd) {
  std::vector<std::uint8_t> bytes = WithImageData(2, 2, 2, {0x8C, 0x2D});
  bytes.pop_back();               // trailer
  bytes.pop_back();               // block terminator
  bytes[bytes.size() - 3] = 200;  // the data block claims 200 bytes
  EXPECT_EQ(LoadError(bytes), geTruncated);
  std::vector<std::uint8_t> ext = Header(1, 1);
  ext.insert(ext.end(), {0x21, 0xFE, 50, 'x'});
  EXPECT_EQ(LoadError(ext), geTruncated);
}

TEST(GifHostile, ShortControlExtensionIsIgnored) {
  std::vector<std::uint8_t> bytes = Header(1, 1);
  bytes.insert(bytes.end(), {0x21, 0xF9, 2, 0x09, 0x05, 0});
  TGifWriter w(1, 1, {});
  w.AddFrame(Frame(0, 0, 1, 1, {0}));
  const std::vector<std::uint8_t> whole = w.Finish();
  bytes.insert(bytes.end(), whole.begin() + 13, whole.end());  // its image and trailer
  const GifPicture p = MustLoad(bytes);
  ASSERT_EQ(p.Frames.size(), 1u);
  EXPECT_FALSE(p.Frames[0].HasControl);
  EXPECT_EQ(p.Frames[0].TransparentIndex, -1);
}

}  // namespace
}  // namespace kv::test
