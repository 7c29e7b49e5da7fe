#include "pictures/GifPlayback.h"

#include <algorithm>
#include <limits>

namespace kv {

int GifFrameDelay(const GifFrame& frame, bool threaded) {
  if (!frame.HasControl || frame.Delay == 0) return GifDefaultDelay;
  int delay = std::max<int>(frame.Delay, GifMinimumDelay);
  if (!threaded) delay = std::min(delay, GifMaximumDelay);
  return delay;
}

GifWait GifComputeWait(int delayUnits, std::uint32_t now, std::uint32_t lastTime, std::int32_t lastWait, int speed,
                       bool threaded) {
  GifWait wait;
  if (speed < 1) {
    wait.Infinite = threaded;
    wait.Milliseconds = GifMaximumDelay * GifDelayUnitMs;
    wait.LastWait = lastWait;
    return wait;
  }
  // The painter's arithmetic is 32-bit and checked: any step that leaves the 32-bit range
  // falls back to the longest wait instead of a wrapped, nonsensical one.
  constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
  const auto fits = [](std::int64_t v) { return v >= lo && v <= hi; };
  const std::int64_t elapsed = std::int64_t(std::uint32_t(now - lastTime));  // clock wraps
  const std::int64_t late = elapsed - lastWait;
  const std::int64_t due = std::int64_t(delayUnits) * GifDelayUnitMs;
  const std::int64_t base = due - late / 2;
  const std::int64_t scaled = base * 100;
  if (!fits(elapsed) || !fits(late) || !fits(due) || !fits(base) || !fits(scaled)) {
    wait.Milliseconds = GifMaximumDelay * GifDelayUnitMs;
    wait.LastWait = 0;
    return wait;
  }
  wait.Milliseconds = std::int32_t(scaled / speed);  // truncates toward zero, like div
  wait.LastWait = wait.Milliseconds;
  return wait;
}

GifWait TGifPacer::Before(const GifStep& step, std::uint32_t now) {
  if (step.YieldOnly) return GifWait{false, 0, FLastWait};
  const GifWait wait = GifComputeWait(step.WaitUnits, now, FLastTime, FLastWait, FSpeed, FThreaded);
  FLastWait = wait.LastWait;
  FLastTime = now;
  return wait;
}

bool GifDrawsStill(const GifPicture& picture, std::uint16_t options) {
  return picture.Frames.size() == 1 || !(options & goAnimate);
}

int GifStillFrame(const GifPicture& picture, int selected) {
  if (picture.Frames.empty()) return -1;
  return selected >= 0 && selected < int(picture.Frames.size()) ? selected : 0;
}

std::uint16_t GifPainterOptions(const GifPicture& picture, std::uint16_t options) {
  if (picture.Frames.size() == 1) options &= std::uint16_t(~(goAsync | goAnimate));
  return options;
}

TGifPlayback::TGifPlayback(const GifPicture& picture, std::uint16_t options, bool threaded)
    : FPicture(picture), FOptions(options), FThreaded(threaded) {
  Restart();
}

void TGifPlayback::Restart() {
  FActiveFrame = -1;
  FLoopCounter = 1;
  FLoopStart = 0;
  FLoopSeen = false;
  FInPass = false;
  FPassOver = false;
  FShownInPass = 0;
  FNextFrame = 0;
  FFinished = false;
  FFirstOfRun = true;
  FDelay = 0;
  FPreviousDisposal = gdDoNotDispose;
}

void TGifPlayback::EndPass() {
  FInPass = false;
  if (FLoopCounter > 0) --FLoopCounter;
  // A pass that showed nothing would repeat showing nothing for ever: end the run.
  if (!(Flag(goAnimate) && Flag(goLoop)) || FShownInPass == 0) FFinished = true;
}

std::optional<GifStep> TGifPlayback::Next() {
  const int frameCount = int(FPicture.Frames.size());
  while (!FFinished) {
    if (!FInPass) {
      if (FLoopCounter == 0 && !Flag(goLoopForever)) {
        FFinished = true;
        break;
      }
      FInPass = true;
      FPassOver = false;
      FShownInPass = 0;
      FNextFrame = FLoopStart;
    }
    // A frame clipped to nothing (it lay off the screen) is still a step: it draws
    // nothing, but its delay, disposal and loop extension count like any other's.
    if (FPassOver || FNextFrame >= frameCount) {
      EndPass();
      continue;
    }

    const GifFrame& frame = FPicture.Frames[FNextFrame];
    GifStep step;
    step.Frame = FNextFrame;
    step.FirstOfPass = FShownInPass == 0;
    step.YieldOnly = FThreaded && FFirstOfRun;
    step.WaitUnits = FDelay;
    step.PreviousDisposal = FPreviousDisposal;
    step.Disposal = frame.HasControl ? frame.Disposal : std::uint8_t(gdDoNotDispose);
    if (frame.LoopCount && !FLoopSeen) {
      FLoopSeen = true;
      const bool forever = FThreaded && (*frame.LoopCount == 0 || Flag(goLoopForever));
      FLoopCounter = forever ? -1 : int(*frame.LoopCount);
      FLoopStart = FNextFrame;
    }

    FActiveFrame = FNextFrame;
    FFirstOfRun = false;
    FPreviousDisposal = step.Disposal;
    FDelay = GifFrameDelay(frame, FThreaded);
    ++FShownInPass;
    ++FNextFrame;
    if (!Flag(goAnimate)) FPassOver = true;
    return step;
  }
  FActiveFrame = -1;
  return std::nullopt;
}

}  // namespace kv
