// What the painter shows after each frame, pixel by pixel, for every disposal.
#include <gtest/gtest.h>

#include <vector>

#include "GifTestSupport.h"
#include "pictures/GifCompositor.h"

namespace kv::test {
namespace {

constexpr std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF;
constexpr std::uint32_t U = 0xFF808080;  // what the control showed under the picture
constexpr std::uint32_t K = 0xFF112233;  // the picture's background colour
using Pixels = std::vector<std::uint32_t>;

GifFrame Fr(int left, int top, int width, int height, std::vector<std::uint8_t> pixels,
            std::uint8_t disposal = gdDoNotDispose, int transparent = -1) {
  GifFrame f;
  f.Left = left;
  f.Top = top;
  f.Width = width;
  f.Height = height;
  f.Pixels = std::move(pixels);
  f.HasControl = true;
  f.Disposal = disposal;
  f.Delay = 5;
  f.TransparentIndex = transparent;
  return f;
}

// A 4 x 2 screen with the table red, green, blue, white.
GifPicture Screen(std::vector<GifFrame> frames) {
  GifPicture p;
  p.Width = 4;
  p.Height = 2;
  p.GlobalColors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
  p.Frames = std::move(frames);
  return p;
}

// Plays the picture once through and records the target after every frame.
std::vector<Pixels> Play(const GifPicture& p, std::uint16_t options, int limit = 10) {
  TGifPlayback playback(p, options, true);
  TGifCompositor compositor(p, options, GifBitmap(p.Width, p.Height, U), K);
  std::vector<Pixels> shown;
  while (int(shown.size()) < limit) {
    const auto step = playback.Next();
    if (!step) break;
    compositor.Paint(*step);
    shown.push_back(compositor.Target().Pixels);
  }
  return shown;
}

constexpr std::uint16_t Opaque = GifDefaultOptions & ~goTransparent;

TEST(GifCompositor, WithoutBuffersFramesPileUpThroughTheirMasks) {
  const GifPicture p = Screen({Fr(0, 0, 4, 2, std::vector<std::uint8_t>(8, 0)),
                               Fr(1, 0, 2, 1, {1, 3}, gdDoNotDispose, 3), Fr(3, 1, 1, 1, {2}, gdNone)});
  EXPECT_FALSE(GifNeedsBuffers(p, GifDefaultOptions));
  const auto masked = Play(p, GifDefaultOptions);
  ASSERT_EQ(masked.size(), 3u);
  EXPECT_EQ(masked[1], (Pixels{R, G, R, R, R, R, R, R}));
  EXPECT_EQ(masked[2], (Pixels{R, G, R, R, R, R, R, B}));
  // Without the transparent bit the transparent index is just a colour.
  EXPECT_EQ(Play(p, Opaque)[1], (Pixels{R, G, W, R, R, R, R, R}));
}

TEST(GifCompositor, RestoreBackgroundBringsBackWhatWasUnderneath) {
  const GifPicture p = Screen({Fr(0, 0, 2, 2, {0, 1, 2, 0}, gdRestoreBackground), Fr(3, 0, 1, 1, {1})});
  EXPECT_TRUE(GifNeedsBuffers(p, GifDefaultOptions));
  const auto shown = Play(p, GifDefaultOptions);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], (Pixels{R, G, U, U, B, R, U, U}));
  EXPECT_EQ(shown[1], (Pixels{U, U, U, G, U, U, U, U}));
  // Without the transparent bit the area gets the background colour.
  const auto opaque = Play(p, Opaque);
  EXPECT_EQ(opaque[0], (Pixels{R, G, U, U, B, R, U, U}));
  EXPECT_EQ(opaque[1], (Pixels{K, K, U, G, K, K, U, U}));
}

TEST(GifCompositor, RestorePreviousAfterAKeptFrame) {
  const GifPicture p = Screen({Fr(0, 0, 4, 2, std::vector<std::uint8_t>(8, 2)),
                               Fr(1, 0, 2, 1, {0, 0}, gdRestorePrevious), Fr(0, 1, 1, 1, {1})});
  const auto shown = Play(p, GifDefaultOptions);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1], (Pixels{B, R, R, B, B, B, B, B}));
  EXPECT_EQ(shown[2], (Pixels{B, B, B, B, G, B, B, B}));
}

TEST(GifCompositor, RestorePreviousAfterAClearedFrameStartsFromTheBackup) {
  // The target still shows the red frame; the backup already has its area cleared.
  const GifPicture p = Screen(
      {Fr(0, 0, 2, 1, {0, 0}, gdRestoreBackground), Fr(1, 0, 2, 1, {2, 2}, gdRestorePrevious), Fr(3, 1, 1, 1, {3})});
  const auto shown = Play(p, Opaque);
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], (Pixels{R, R, U, U, U, U, U, U}));
  EXPECT_EQ(shown[1], (Pixels{K, B, B, U, U, U, U, U}));
  EXPECT_EQ(shown[2], (Pixels{K, K, U, U, U, U, U, W}));
}

TEST(GifCompositor, RestorePreviousTwiceInARow) {
  const GifPicture p = Screen({Fr(0, 0, 4, 2, std::vector<std::uint8_t>(8, 0)), Fr(0, 0, 1, 1, {1}, gdRestorePrevious),
                               Fr(1, 0, 1, 1, {2}, gdRestorePrevious),
                               Fr(2, 1, 2, 1,
                                  {
                                      3,
                                      3,
                                  },
                                  gdRestorePrevious, 3)});
  const auto shown = Play(p, GifDefaultOptions);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], (Pixels{G, R, R, R, R, R, R, R}));
  EXPECT_EQ(shown[2], (Pixels{R, B, R, R, R, R, R, R}));
  EXPECT_EQ(shown[3], (Pixels{R, R, R, R, R, R, R, R}));  // all transparent
}

TEST(GifCompositor, DisposalNoneKeepsAndMeaninglessOnesDrawNothing) {
  const GifPicture p = Screen({Fr(0, 0, 1, 1, {0}, gdNone), Fr(1, 0, 1, 1, {1}, 5),
                               Fr(2, 0, 1, 1, {2}, gdRestoreBackground), Fr(3, 0, 1, 1, {3}, 7)});
  const auto shown = Play(p, GifDefaultOptions);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], (Pixels{R, U, U, U, U, U, U, U}));
  EXPECT_EQ(shown[1], shown[0]);
  EXPECT_EQ(shown[2], (Pixels{R, U, B, U, U, U, U, U}));
  EXPECT_EQ(shown[3], shown[2]);
}

TEST(GifCompositor, ClearOnLoopEmptiesTheBackupAtEachPass) {
  GifPicture p = Screen({Fr(0, 0, 1, 1, {0}), Fr(1, 0, 1, 1, {1})});
  p.Frames[0].LoopCount = 2;
  EXPECT_FALSE(GifNeedsBuffers(p, GifDefaultOptions));
  EXPECT_TRUE(GifNeedsBuffers(p, GifDefaultOptions | goClearOnLoop));
  const auto plain = Play(p, GifDefaultOptions);
  ASSERT_EQ(plain.size(), 4u);
  EXPECT_EQ(plain[2], (Pixels{R, G, U, U, U, U, U, U}));
  const auto cleared = Play(p, GifDefaultOptions | goClearOnLoop);
  ASSERT_EQ(cleared.size(), 4u);
  EXPECT_EQ(cleared[1], (Pixels{R, G, U, U, U, U, U, U}));
  EXPECT_EQ(cleared[2], (Pixels{R, U, U, U, U, U, U, U}));
  const auto clearedOpaque = Play(p, Opaque | goClearOnLoop);
  EXPECT_EQ(clearedOpaque[2], (Pixels{R, K, K, K, K, K, K, K}));
}

TEST(GifCompositor, ColoursOutsideTheTableAreBlackAndTablesFallBack) {
  GifPicture p = Screen({});
  GifFrame local = Fr(0, 0, 4, 1, {0, 1, 2, 200});
  local.LocalColors = {{1, 2, 3}, {4, 5, 6}};
  GifBitmap bitmap(4, 2, U);
  GifDrawFrame(bitmap, p, local, false);
  EXPECT_EQ(bitmap.Pixels, (Pixels{0xFF010203, 0xFF040506, 0xFF000000, 0xFF000000, U, U, U, U}));
  p.GlobalColors.clear();
  GifDrawFrame(bitmap, p, Fr(0, 1, 2, 1, {12, 7}), true);
  EXPECT_EQ(bitmap.At(0, 1), 0xFF0000FF);
  EXPECT_EQ(bitmap.At(1, 1), 0xFFC0C0C0);
  // A transparent index beyond the table still masks.
  GifDrawFrame(bitmap, p, Fr(2, 1, 2, 1, {250, 1}, gdDoNotDispose, 250), true);
  EXPECT_EQ(bitmap.At(2, 1), U);
  EXPECT_EQ(bitmap.At(3, 1), 0xFF800000);
}

TEST(GifCompositor, BackgroundColourAndStartingPicture) {
  GifPicture p = Screen({Fr(0, 0, 1, 1, {0})});
  p.BackgroundIndex = 2;
  EXPECT_EQ(GifBackgroundColor(p), B);
  p.BackgroundIndex = 9;
  EXPECT_EQ(GifBackgroundColor(p), 0xFF000000u);
  // An underneath picture of the wrong size is not used: the background colour is.
  TGifCompositor c(p, GifDefaultOptions, GifBitmap(3, 3, U), K);
  EXPECT_EQ(c.Target().Pixels, Pixels(8, K));
}

TEST(GifCompositor, DecodedAnimationEndToEnd) {
  // A 3 x 3 picture: a white field, then an interlaced blue bar that is cleared again,
  // then a see-through green dot.
  TGifWriter w(3, 3, {{255, 255, 255}, {0, 0, 255}, {0, 255, 0}, {9, 9, 9}});
  w.AddLoop(1);
  w.AddFrame(Frame(0, 0, 3, 3, std::vector<std::uint8_t>(9, 0)));
  GifWriterFrame bar = Frame(0, 1, 3, 1, {1, 1, 1});
  bar.Interlaced = true;
  bar.WriteControl = true;
  bar.Disposal = gdRestoreBackground;
  w.AddFrame(bar);
  GifWriterFrame dot = Frame(1, 0, 2, 2, {3, 2, 3, 3});
  dot.WriteControl = true;
  dot.TransparentIndex = 3;
  w.AddFrame(dot);
  const GifPicture p = MustLoad(w.Finish());
  TGifPlayback playback(p, GifDefaultOptions, true);
  TGifCompositor c(p, GifDefaultOptions, GifBitmap(3, 3, U), GifBackgroundColor(p));
  std::vector<Pixels> shown;
  while (auto step = playback.Next()) {
    c.Paint(*step);
    shown.push_back(c.Target().Pixels);
  }
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1], (Pixels{W, W, W, B, B, B, W, W, W}));
  EXPECT_EQ(shown[2], (Pixels{W, W, G, U, U, U, W, W, W}));
}

TEST(GifCompositor, FramesOffTheScreenKeepTheirPlaceInTheSequence) {
  // Frame 0 lies right of the 3 x 2 screen and holds the loop extension, frame 2 lies
  // below it: neither draws anything, but both are steps with their delay and disposal,
  // and the frames after them play.
  TGifWriter w(3, 2, {{255, 255, 255}, {0, 0, 255}, {0, 255, 0}, {9, 9, 9}});
  w.AddLoop(2);
  GifWriterFrame right = Frame(3, 0, 2, 2, {1, 1, 1, 1});
  right.WriteControl = true;
  right.Delay = 7;
  right.Disposal = gdRestorePrevious;
  w.AddFrame(right);
  w.AddFrame(Frame(0, 0, 3, 2, std::vector<std::uint8_t>(6, 0)));
  GifWriterFrame below = Frame(0, 9, 3, 1, {1, 1, 1});
  below.WriteControl = true;
  below.Delay = 4;
  below.Disposal = gdRestoreBackground;
  w.AddFrame(below);
  w.AddFrame(Frame(1, 1, 1, 1, {2}));
  const GifPicture p = MustLoad(w.Finish());
  ASSERT_EQ(p.Frames.size(), 4u);
  EXPECT_TRUE(p.Frames[0].Empty());
  EXPECT_TRUE(p.Frames[2].Empty());

  for (bool threaded : {true, false}) {
    SCOPED_TRACE(threaded);
    TGifPlayback playback(p, GifDefaultOptions, threaded);
    TGifCompositor c(p, GifDefaultOptions, GifBitmap(3, 2, U), GifBackgroundColor(p));
    std::vector<GifStep> steps;
    std::vector<Pixels> shown;
    while (steps.size() < 20) {
      const auto step = playback.Next();
      if (!step) break;
      c.Paint(*step);
      steps.push_back(*step);
      shown.push_back(c.Target().Pixels);
    }
    ASSERT_EQ(steps.size(), 8u);  // loop count 2, counted from frame 0
    for (std::size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i].Frame, int(i % 4)) << i;
    EXPECT_EQ(steps[0].Disposal, gdRestorePrevious);
    EXPECT_EQ(steps[1].WaitUnits, 7);
    EXPECT_EQ(steps[1].PreviousDisposal, gdRestorePrevious);
    EXPECT_EQ(steps[2].Disposal, gdRestoreBackground);
    EXPECT_EQ(steps[3].WaitUnits, 4);
    EXPECT_EQ(steps[3].PreviousDisposal, gdRestoreBackground);
    EXPECT_TRUE(steps[4].FirstOfPass);
    EXPECT_EQ(shown[0], Pixels(6, U));  // nothing drawn yet
    EXPECT_EQ(shown[1], Pixels(6, W));
    EXPECT_EQ(shown[2], Pixels(6, W));
    EXPECT_EQ(shown[3], (Pixels{W, W, W, W, G, W}));
    EXPECT_EQ(shown[7], shown[3]);
  }
}

}  // namespace
}  // namespace kv::test
