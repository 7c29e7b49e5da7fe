#pragma once
// When each frame of an animated picture is shown, and how often the sequence repeats.
//
//   TGifDrawOption     the option bits of a picture (default GifDefaultOptions)
//   GifFrameDelay      the delay a frame asks for, in units, with its floor and cap
//   GifComputeWait     milliseconds to wait before the next frame, catching up on lateness
//   TGifPacer          the wait before each frame, from the painter's clock readings
//   TGifPlayback       the painter's run: restart, passes, frames, looping
//   GifDrawsStill ...  when a picture is drawn once without a painter
//
// Pure logic without clocks or threads: the painter feeds in the time and does the
// waiting, so every rule is testable here.
#include <cstdint>
#include <optional>

#include "pictures/GifPicture.h"

namespace kv {

enum TGifDrawOption : std::uint16_t {
  goAsync = 0x0001,        // paint in a thread of its own
  goTransparent = 0x0002,  // draw frames through their masks
  goAnimate = 0x0004,      // otherwise only one frame is drawn
  goLoop = 0x0008,         // repeat the sequence as the loop count allows
  goLoopForever = 0x0010,  // repeat for ever whatever the loop count says
  goValidateCanvas = 0x0020,
  goDirectDraw = 0x0040,
  goClearOnLoop = 0x0080,  // buffers even without disposal 2/3; cleared at each pass
  goTile = 0x0100,
  goDither = 0x0200,
  goAutoDither = 0x0400,
};
inline constexpr std::uint16_t GifDefaultOptions = 0x060F;

// One unit of the delay field lasts 12 ms here, not the 10 ms of the format: the pictures
// were made for that pace.
inline constexpr int GifDelayUnitMs = 12;
inline constexpr int GifDefaultDelay = 10;  // units; no control extension, or delay 0
inline constexpr int GifMinimumDelay = 3;
inline constexpr int GifMaximumDelay = 1000;  // cap without a thread; also the fallback wait

// The delay after `frame`, in units.
int GifFrameDelay(const GifFrame& frame, bool threaded);

struct GifWait {
  bool Infinite = false;          // sleep until woken
  std::int32_t Milliseconds = 0;  // may be 0 or negative: the frame is late, no waiting
  std::int32_t LastWait = 0;      // remembered for the next computation
};

// The wait before the next frame. `delayUnits` is the delay of the frame just shown,
// `now` and `lastTime` readings of a wrapping millisecond clock (`lastTime` taken at the
// previous computation), `lastWait` the previous result's LastWait. Half of the time the
// painter overran its previous wait is taken off, then the speed (percent) scales it.
GifWait GifComputeWait(int delayUnits, std::uint32_t now, std::uint32_t lastTime, std::int32_t lastWait, int speed,
                       bool threaded);

// A frame the painter is to show next and how to show it.
struct GifStep {
  int Frame = -1;
  std::uint8_t Disposal = gdDoNotDispose;          // of this frame
  std::uint8_t PreviousDisposal = gdDoNotDispose;  // of the frame shown before it
  bool FirstOfPass = false;
  // Before showing: true only for the first frame of a threaded run (just yield);
  // otherwise wait GifComputeWait(WaitUnits, ...). Every later frame gets a fresh wait,
  // also after a late frame whose wait came out at zero or less; a painter that stopped
  // waiting for good after one late frame would race through the animation.
  bool YieldOnly = false;
  int WaitUnits = 0;
};

// The pace of a painter: remembers when it last computed a wait and what that wait was.
// Before each frame call Before(step, now) and wait what it says (Milliseconds <= 0: no
// waiting); when the painter is woken before the time is up, call WokenEarly(now).
class TGifPacer {
 public:
  TGifPacer(int speed, bool threaded, std::uint32_t now) : FSpeed(speed), FThreaded(threaded), FLastTime(now) {}
  GifWait Before(const GifStep& step, std::uint32_t now);
  void WokenEarly(std::uint32_t now) {
    FLastWait = 0;
    FLastTime = now;
  }

 private:
  int FSpeed;
  bool FThreaded;
  std::uint32_t FLastTime;
  std::int32_t FLastWait = 0;
};

// Whether the picture is drawn once without a painter: a single frame, or animation off.
bool GifDrawsStill(const GifPicture& picture, std::uint16_t options);
// The frame drawn when not animating: the selected one, or the first when the selection
// is outside the list (-1 for a picture without frames).
int GifStillFrame(const GifPicture& picture, int selected);
// The options a painter of the picture gets: a single-frame picture neither animates nor
// needs a thread.
std::uint16_t GifPainterOptions(const GifPicture& picture, std::uint16_t options);

// The painter's run over a picture (which must outlive it). Call Next() for each frame;
// it returns nothing when the run is over. Restart() begins again from the first frame.
class TGifPlayback {
 public:
  TGifPlayback(const GifPicture& picture, std::uint16_t options, bool threaded);

  std::optional<GifStep> Next();
  void Restart();

  int ActiveFrame() const { return FActiveFrame; }  // -1 when idle or finished
  int LoopCounter() const { return FLoopCounter; }  // -1: for ever

 private:
  bool Flag(std::uint16_t bit) const { return (FOptions & bit) != 0; }
  void EndPass();

  const GifPicture& FPicture;
  std::uint16_t FOptions;
  bool FThreaded;
  int FActiveFrame = -1;
  int FLoopCounter = 1;
  int FLoopStart = 0;
  bool FLoopSeen = false;
  bool FInPass = false;
  bool FPassOver = false;  // without the animate bit a pass is one frame
  int FShownInPass = 0;
  int FNextFrame = 0;
  bool FFinished = false;
  bool FFirstOfRun = true;
  int FDelay = 0;
  std::uint8_t FPreviousDisposal = gdDoNotDispose;
};

}  // namespace kv
