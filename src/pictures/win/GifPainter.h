#pragma once
// TGIFPainter: plays a GIF picture into a bitmap, frame by frame, at the picture's pace.
//
// A threaded painter only waits and computes on its own thread; every frame is composed
// and copied into the target bitmap on the GUI thread (through Synchronize), where the
// picture's change notification then runs. A painter without a thread plays its run inside
// the call that starts it, dispatching the thread's messages while it waits.
//
// Stopping: Stop() sets the terminated flag and wakes the painter from any wait; the
// destructor stops the painter and waits for its thread (serving the synchronised calls
// meanwhile, which do nothing once the painter is terminated).
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "base/win/Handles.h"
#include "framework/Graphics.h"
#include "framework/Threads.h"
#include "pictures/GifCompositor.h"
#include "pictures/GifPlayback.h"

namespace kv {

class TGIFImage;

// A picture pixel 0xAARRGGBB becomes a bitmap pixel 0x00RRGGBB (as far as both reach).
void GifCopyToBitmap(const GifBitmap& from, TBitmap& to);

struct GifPainterSetup {
  std::uint16_t Options = GifDefaultOptions;  // the painter's own copy
  int Speed = 100;                            // percent
  int Priority = THREAD_PRIORITY_NORMAL;
  std::uint32_t BackgroundColor = 0xFF000000u;  // 0xAARRGGBB, for areas cleared by disposal
  // False once the picture is gone. A painter without a thread dispatches messages while
  // it waits, and one of them may free the picture under it: it then stops at once.
  std::shared_ptr<const bool> ImageAlive;
};

class TGIFPainter : public TThread {
 public:
  // `image` and `target` (a bitmap of the picture's size) must outlive the painter;
  // `underneath` is what the target showed below the picture when the painter began.
  TGIFPainter(const TGIFImage& image, TBitmap& target, const GifBitmap& underneath, const GifPainterSetup& setup);
  ~TGIFPainter() override;

  bool Threaded() const { return (FOptions & goAsync) != 0; }
  // Asks the painter to end and wakes it.
  void Stop();
  // Ends the current wait early (a painter of speed 0 waits until woken).
  void Wake();
  // Begins the run again from the first frame.
  void Restart();
  // Plays the run on the calling thread (the painter without a thread).
  void RunHere();

  int ActiveFrame() const { return FActiveFrame; }  // -1 when idle or finished
  bool Started() const { return FStarted; }         // the first frame is painted
  bool RunOver() const { return FRunOver; }
  // Painters whose thread is inside its run, for every picture of the program.
  static int RunningThreads();

 protected:
  void Execute() override;

 private:
  void Run();
  // Waits before the step; false when the painter is to end.
  bool Pause(TGifPacer& pacer, const GifStep& step);
  bool PauseHere(std::int32_t ms);
  void PaintStep(const GifStep& step);  // on the GUI thread

  const TGIFImage& FImage;
  TBitmap& FTarget;
  std::uint16_t FOptions;
  int FSpeed;
  int FPriority;
  std::shared_ptr<const bool> FImageAlive;
  TGifCompositor FCompositor;
  TKernelHandle FWakeUp;  // auto-reset; threaded painters only
  std::atomic<int> FActiveFrame{-1};
  std::atomic<bool> FStarted{false};
  std::atomic<bool> FRestart{false};
  std::atomic<bool> FRunOver{false};
};

}  // namespace kv
