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

TEST(GifLoopRules, EmptyFramesKeepTheirPlaceAndNoFramesEndTheRun) {
  // An empty frame (clipped off the screen) is a step like the others, first or later.
  GifPicture p = Frames(4, 0);
  p.Frames[2].Width = 0;
  p.Frames[2].Pixels.clear();
  EXPECT_EQ(Shown(p, Defaults, true, 8), Repeat({0, 1, 2, 3}, 2));
  GifPicture q = Frames(2);
  q.Frames[0].Height = 0;
  EXPECT_EQ(Shown(q, Defaults, true), (std::vector<int>{0, 1}));
  EXPECT_EQ(Shown(q, Defaults & ~goAnimate, true), std::vector<int>{0});
  // Nothing to show at all: the run ends instead of spinning through empty passes.
  EXPECT_TRUE(Shown(GifPicture{}, Defaults | goLoopForever, true).empty());
}

TEST(GifPlaybackSteps, WaitUnitsDisposalsAndPassStarts) {
  GifPicture p;
  p.Width = p.Height = 1;
  p.Frames = {FrameWith(21, gdRestoreBackground), FrameWith(1, gdRestorePrevious), FrameWith(std::nullopt)};
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

namespace kv {
namespace {

// A painter on a pretend clock: painting takes `paintMs`, sleeping exactly the wait.
// Returns the times at which frames went on the screen.
std::vector<std::uint32_t> Paced(const GifPicture& p, int speed, int paintMs, int count, std::uint32_t start) {
  TGifPlayback playback(p, GifDefaultOptions, true);
  std::uint32_t now = start;
  TGifPacer pacer(speed, true, now);
  std::vector<std::uint32_t> shownAt;
  while (int(shownAt.size()) < count) {
    const auto step = playback.Next();
    if (!step) break;
    const GifWait wait = pacer.Before(*step, now);
    if (wait.Milliseconds > 0) now += std::uint32_t(wait.Milliseconds);
    shownAt.push_back(now);
    now += std::uint32_t(paintMs);
  }
  return shownAt;
}

GifPicture Uniform(int frames, std::uint16_t delay) {
  GifPicture p;
  p.Width = p.Height = 1;
  for (int i = 0; i < frames; ++i) p.Frames.push_back(FrameWith(delay));
  p.Frames[0].LoopCount = 0;
  return p;
}

TEST(GifPacing, PictureIntervalsSettleNearTheirDelays) {
  // 18 frames of 21 units (252 ms) and 8 of 12 units (144 ms), painting taking 3 ms;
  // the second starts just before the millisecond clock wraps.
  struct Case {
    int Frames;
    std::uint16_t Delay;
    std::uint32_t Start;
    int Expected;
  };
  for (const Case c : {Case{18, 21, 1000, 252}, Case{8, 12, 0xFFFFF000u, 144}}) {
    const GifPicture p = Uniform(c.Frames, c.Delay);
    const std::vector<std::uint32_t> at = Paced(p, 100, 3, 40, c.Start);
    ASSERT_EQ(at.size(), 40u);  // loops for ever
    EXPECT_EQ(at[0], c.Start);  // the first frame at once
    for (std::size_t i = 1; i < at.size(); ++i) {
      const int interval = int(std::uint32_t(at[i] - at[i - 1]));
      EXPECT_GE(interval, c.Expected) << i;
      EXPECT_LE(interval, c.Expected + 3) << i;
    }
  }
  // Twice the speed, half the interval.
  const std::vector<std::uint32_t> fast = Paced(Uniform(18, 21), 200, 3, 5, 0);
  EXPECT_NEAR(int(fast[4] - fast[3]), 126, 3);
}

TEST(GifPacing, SlowPaintingIsHalfMadeUpAndEarlyWakingForgotten) {
  const GifPicture p = Uniform(3, 10);  // 120 ms
  TGifPlayback playback(p, GifDefaultOptions, true);
  TGifPacer pacer(100, true, 0);
  EXPECT_EQ(pacer.Before(*playback.Next(), 0).Milliseconds, 0);  // first frame: yield
  // Painting took 40 ms: half of that comes off the first wait.
  EXPECT_EQ(pacer.Before(*playback.Next(), 40).Milliseconds, 100);
  // Woken after 30 of those 100 ms: the next wait starts afresh from then.
  pacer.WokenEarly(70);
  EXPECT_EQ(pacer.Before(*playback.Next(), 70).Milliseconds, 120);
}

TEST(GifStill, SingleFramesAndAnimationOff) {
  GifPicture one;
  one.Frames.push_back(FrameWith(5));
  GifPicture three = one;
  three.Frames.resize(3, one.Frames[0]);
  EXPECT_TRUE(GifDrawsStill(one, GifDefaultOptions));
  EXPECT_FALSE(GifDrawsStill(three, GifDefaultOptions));
  EXPECT_TRUE(GifDrawsStill(three, GifDefaultOptions & ~goAnimate));
  EXPECT_EQ(GifPainterOptions(one, GifDefaultOptions), GifDefaultOptions & ~(goAsync | goAnimate));
  EXPECT_EQ(GifPainterOptions(three, GifDefaultOptions), GifDefaultOptions);
  EXPECT_EQ(GifStillFrame(three, 2), 2);
  EXPECT_EQ(GifStillFrame(three, -1), 0);
  EXPECT_EQ(GifStillFrame(three, 3), 0);
  EXPECT_EQ(GifStillFrame(GifPicture{}, 0), -1);
}

}  // namespace
}  // namespace kv
