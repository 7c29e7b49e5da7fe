// Frame delays, the wait between frames, and which frames a run shows in which order.
#include <gtest/gtest.h>

#include <vector>

#include "pictures/GifPlayback.h"

namespace kv {
namespace {

GifFrame FrameWith(std::optional<std::uint16_t> delay, std::uint8_t disposal = gdDoNotDispose) {
  GifFrame f;
  f.Width = f.Height = 1;
  f.Pixels = {0};
  if (delay) {
    f.HasControl = true;
    f.Delay = *delay;
    f.Disposal = disposal;
  }
  return f;
}

GifPicture Frames(int count, std::optional<std::uint16_t> loop = std::nullopt, int loopFrame = 0) {
  GifPicture p;
  p.Width = p.Height = 1;
  for (int i = 0; i < count; ++i) p.Frames.push_back(FrameWith(std::uint16_t(10 + i)));
  if (loop && count > 0) p.Frames[std::size_t(loopFrame)].LoopCount = loop;
  return p;
}

// The frames a run shows, at most `limit` of them.
std::vector<int> Shown(const GifPicture& p, std::uint16_t options, bool threaded, int limit = 40) {
  TGifPlayback playback(p, options, threaded);
  std::vector<int> shown;
  while (int(shown.size()) < limit) {
    const std::optional<GifStep> step = playback.Next();
    if (!step) {
      EXPECT_EQ(playback.ActiveFrame(), -1);
      break;
    }
    EXPECT_EQ(playback.ActiveFrame(), step->Frame);
    shown.push_back(step->Frame);
  }
  return shown;
}

std::vector<int> Repeat(std::vector<int> pattern, int times) {
  std::vector<int> v;
  for (int i = 0; i < times; ++i) v.insert(v.end(), pattern.begin(), pattern.end());
  return v;
}

constexpr std::uint16_t Defaults = GifDefaultOptions;

TEST(GifTiming, FrameDelayFloorDefaultAndCap) {
  EXPECT_EQ(GifDefaultOptions, 0x060F);
  EXPECT_EQ(GifFrameDelay(FrameWith(std::nullopt), true), 10);
  EXPECT_EQ(GifFrameDelay(FrameWith(0), true), 10);
  EXPECT_EQ(GifFrameDelay(FrameWith(1), true), 3);
  EXPECT_EQ(GifFrameDelay(FrameWith(2), false), 3);
  EXPECT_EQ(GifFrameDelay(FrameWith(3), true), 3);
  EXPECT_EQ(GifFrameDelay(FrameWith(21), true), 21);
  EXPECT_EQ(GifFrameDelay(FrameWith(12), false), 12);
  EXPECT_EQ(GifFrameDelay(FrameWith(5000), true), 5000);
  EXPECT_EQ(GifFrameDelay(FrameWith(5000), false), 1000);
  EXPECT_EQ(GifFrameDelay(FrameWith(65535), false), 1000);
}

TEST(GifTiming, WaitOnTimeLateAndScaledBySpeed) {
  // On time: the last wait passed exactly, 21 units = 252 ms.
  GifWait w = GifComputeWait(21, 5252, 5000, 252, 100, true);
  EXPECT_FALSE(w.Infinite);
  EXPECT_EQ(w.Milliseconds, 252);
  EXPECT_EQ(w.LastWait, 252);
  // 40 ms late: half of it is made up.
  EXPECT_EQ(GifComputeWait(21, 5292, 5000, 252, 100, true).Milliseconds, 232);
  // Early (woken before the time): the wait grows by half the lead.
  EXPECT_EQ(GifComputeWait(12, 1100, 1000, 144, 100, true).Milliseconds, 144 + 22);
  // Speed in percent, multiply then divide (truncating).
  EXPECT_EQ(GifComputeWait(21, 0, 0, 0, 200, true).Milliseconds, 126);
  EXPECT_EQ(GifComputeWait(21, 0, 0, 0, 50, true).Milliseconds, 504);
  EXPECT_EQ(GifComputeWait(1, 0, 0, 0, 7, true).Milliseconds, 171);  // 1200 / 7
  // Very late: no waiting at all (zero or less).
  w = GifComputeWait(3, 2000, 1000, 0, 100, false);
  EXPECT_EQ(w.Milliseconds, 36 - 500);
  EXPECT_EQ(w.LastWait, w.Milliseconds);
}

TEST(GifTiming, WaitWithStoppedSpeedClockWrapAndOverflow) {
  GifWait w = GifComputeWait(21, 0, 0, 0, 0, true);
  EXPECT_TRUE(w.Infinite);
  w = GifComputeWait(21, 0, 0, 0, -5, false);
  EXPECT_FALSE(w.Infinite);
  EXPECT_EQ(w.Milliseconds, 12000);
  // The millisecond clock wrapped between the two readings: 300 ms passed.
  EXPECT_EQ(GifComputeWait(10, 200, 0xFFFFFF9Cu, 300, 100, true).Milliseconds, 120);
  // A clock reading from before the last one looks like 49 days: out of range.
  w = GifComputeWait(10, 100, 200, 120, 100, true);
  EXPECT_EQ(w.Milliseconds, 12000);
  EXPECT_EQ(w.LastWait, 0);
  // The scaled value overflows 32 bits.
  w = GifComputeWait(1000, 0, 0, -2000000000, 100, true);
  EXPECT_EQ(w.Milliseconds, 12000);
  EXPECT_EQ(w.LastWait, 0);
}

TEST(GifLoopRules, WithoutLoopExtensionOnePass) {
  EXPECT_EQ(Shown(Frames(3), Defaults, true), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Shown(Frames(3), Defaults, false), (std::vector<int>{0, 1, 2}));
  // Loop for ever (bit 4), threaded or not.
  EXPECT_EQ(Shown(Frames(3), Defaults | goLoopForever, false, 9), Repeat({0, 1, 2}, 3));
}

TEST(GifLoopRules, LoopCountsZeroOneThree) {
  EXPECT_EQ(Shown(Frames(3, 1), Defaults, true), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(Shown(Frames(3, 3), Defaults, true), Repeat({0, 1, 2}, 3));
  EXPECT_EQ(Shown(Frames(3, 3), Defaults, false), Repeat({0, 1, 2}, 3));
  // Count 0: for ever in a thread, once without one.
  EXPECT_EQ(Shown(Frames(3, 0), Defaults, true, 30), Repeat({0, 1, 2}, 10));
  EXPECT_EQ(Shown(Frames(3, 0), Defaults, false), (std::vector<int>{0, 1, 2}));
  // Bit 4 turns any count into for ever in a thread.
  EXPECT_EQ(Shown(Frames(2, 3), Defaults | goLoopForever, true, 20), Repeat({0, 1}, 10));
  const GifPicture counted = Frames(2, 3);
  TGifPlayback forever(counted, Defaults | goLoopForever, true);
  forever.Next();
  EXPECT_EQ(forever.LoopCounter(), -1);
}

TEST(GifLoopRules, RepeatsFromTheFrameHoldingTheExtension) {
  EXPECT_EQ(Shown(Frames(4, 2, 1), Defaults, true), (std::vector<int>{0, 1, 2, 3, 1, 2, 3}));
  // A second pass does not read the extension again.
  GifPicture p = Frames(3, 2, 0);
  p.Frames[2].LoopCount = 5;
  EXPECT_EQ(Shown(p, Defaults, true), Repeat({0, 1, 2}, 2));
}

TEST(GifLoopRules, OptionBitsAnimateAndLoop) {
  const GifPicture looping = Frames(3, 0);
  // Without the animate bit only the first frame, once.
  EXPECT_EQ(Shown(looping, Defaults & ~goAnimate, true), std::vector<int>{0});
  // Animate without loop: one pass, even for a count of 0 in a thread.
  EXPECT_EQ(Shown(looping, Defaults & ~goLoop, true), (std::vector<int>{0, 1, 2}));
}

TEST(GifLoopRules, EmptyFrameEndsThePassAndEmptyPassesEndTheRun) {
  GifPicture p = Frames(4, 0);
  p.Frames[2].Width = 0;
  p.Frames[2].Pixels.clear();
  EXPECT_EQ(Shown(p, Defaults, true, 6), Repeat({0, 1}, 3));
  // Nothing to show at all: the run ends instead of spinning through empty passes.
  GifPicture q = Frames(2);
  q.Frames[0].Height = 0;
  EXPECT_TRUE(Shown(q, Defaults | goLoopForever, true).empty());
  EXPECT_TRUE(Shown(GifPicture{}, Defaults | goLoopForever, true).empty());
}

TEST(GifPlaybackSteps, WaitUnitsDisposalsAndPassStarts) {
  GifPicture p;
  p.Width = p.Height = 1;
  p.Frames = {FrameWith(21, gdRestoreBackground), FrameWith(1, gdRestorePrevious),
              FrameWith(std::nullopt)};
  p.Frames[0].LoopCount = 2;
  TGifPlayback playback(p, Defaults, true);
  std::vector<GifStep> steps;
  while (auto s = playback.Next()) steps.push_back(*s);
  ASSERT_EQ(steps.size(), 6u);
  EXPECT_TRUE(steps[0].YieldOnly);
  EXPECT_EQ(steps[0].WaitUnits, 0);
  EXPECT_TRUE(steps[0].FirstOfPass);
  EXPECT_EQ(steps[0].Disposal, gdRestoreBackground);
  EXPECT_EQ(steps[0].PreviousDisposal, gdDoNotDispose);
  EXPECT_FALSE(steps[1].YieldOnly);
  EXPECT_EQ(steps[1].WaitUnits, 21);
  EXPECT_EQ(steps[1].Disposal, gdRestorePrevious);
  EXPECT_EQ(steps[1].PreviousDisposal, gdRestoreBackground);
  EXPECT_EQ(steps[2].WaitUnits, 3);
  EXPECT_EQ(steps[2].Disposal, gdDoNotDispose);  // no control extension
  EXPECT_EQ(steps[2].PreviousDisposal, gdRestorePrevious);
  EXPECT_FALSE(steps[2].FirstOfPass);
  // Second pass: the wait carries over from the last frame, the disposal chain too.
  EXPECT_TRUE(steps[3].FirstOfPass);
  EXPECT_FALSE(steps[3].YieldOnly);
  EXPECT_EQ(steps[3].WaitUnits, 10);
  EXPECT_EQ(steps[3].PreviousDisposal, gdDoNotDispose);

  // Without a thread even the first frame waits (at least the painter's minimum).
  TGifPlayback direct(p, Defaults, false);
  EXPECT_FALSE(direct.Next()->YieldOnly);
}

TEST(GifPlaybackSteps, RestartBeginsAgain) {
  const GifPicture p = Frames(3, 1);
  TGifPlayback playback(p, Defaults, true);
  playback.Next();
  playback.Next();
  playback.Restart();
  EXPECT_EQ(playback.ActiveFrame(), -1);
  const auto step = playback.Next();
  ASSERT_TRUE(step);
  EXPECT_EQ(step->Frame, 0);
  EXPECT_TRUE(step->YieldOnly);
  EXPECT_EQ(step->WaitUnits, 0);
  int more = 0;
  while (playback.Next()) ++more;
  EXPECT_EQ(more, 2);
}

}  // namespace
}  // namespace kv
