#include "pictures/win/GifPainter.h"

#include <algorithm>

#include "pictures/win/GifImage.h"

namespace kv {

namespace {

std::atomic<int> GRunningThreads{0};

}  // namespace

void GifCopyToBitmap(const GifBitmap& from, TBitmap& to) {
  GdiFlush();  // GDI may still be reading the bits
  const int width = std::min(from.Width, to.Width());
  const int height = std::min(from.Height, to.Height());
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* src = from.Pixels.data() + std::size_t(y) * std::size_t(from.Width);
    std::uint32_t* dst = to.ScanLine(y);
    for (int x = 0; x < width; ++x) dst[x] = src[x] & 0x00FFFFFFu;
  }
}

TGIFPainter::TGIFPainter(const TGIFImage& image, TBitmap& target, const GifBitmap& underneath,
                         const GifPainterSetup& setup)
    : FImage(image),
      FTarget(target),
      FOptions(setup.Options),
      FSpeed(setup.Speed),
      FPriority(setup.Priority),
      FImageAlive(setup.ImageAlive),
      FCompositor(image.Gif(), setup.Options, underneath, setup.BackgroundColor) {
  // Every threaded painter gets its event, whatever its speed: it is also how Stop reaches
  // a painter in the middle of a long (or endless) wait.
  if (Threaded()) FWakeUp.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
}

TGIFPainter::~TGIFPainter() {
  // The thread uses this object's members: it must be gone before they are.
  Stop();
  WaitFor();
}

int TGIFPainter::RunningThreads() { return GRunningThreads; }

void TGIFPainter::Stop() {
  Terminate();
  Wake();
}

void TGIFPainter::Wake() {
  if (FWakeUp) SetEvent(FWakeUp.Get());
}

void TGIFPainter::Restart() {
  FRestart = true;
  Wake();
}

void TGIFPainter::Execute() {
  ++GRunningThreads;
  ::SetThreadPriority(GetCurrentThread(), FPriority);
  try {
    Run();
  } catch (...) {
    // A frame that could not be painted ends the animation; the picture keeps showing
    // the last frame that was.
  }
  FRunOver = true;
  FImage.PainterEnded(this);
  --GRunningThreads;
}

void TGIFPainter::RunHere() {
  try {
    Run();
  } catch (...) {
  }
  FRunOver = true;
}

void TGIFPainter::Run() {
  const bool threaded = Threaded();
  do {
    FRestart = false;
    TGifPlayback playback(FImage.Gif(), FOptions, threaded);
    TGifPacer pacer(FSpeed, threaded, GetTickCount());
    while (!Terminated() && !FRestart) {
      const std::optional<GifStep> step = playback.Next();
      if (!step) break;
      if (!Pause(pacer, *step) || Terminated() || FRestart) break;
      FActiveFrame = step->Frame;
      if (threaded)
        Synchronize([this, &step] { PaintStep(*step); });
      else
        PaintStep(*step);
    }
  } while (FRestart && !Terminated());
  FActiveFrame = -1;
}

bool TGIFPainter::Pause(TGifPacer& pacer, const GifStep& step) {
  const GifWait wait = pacer.Before(step, GetTickCount());
  if (!Threaded()) return PauseHere(std::max<std::int32_t>(wait.Milliseconds, 1));
  if (step.YieldOnly) {
    SwitchToThread();
    return true;
  }
  DWORD ms = 0;
  if (wait.Infinite)
    ms = INFINITE;
  else if (wait.Milliseconds > 0)
    ms = DWORD(wait.Milliseconds);
  else
    return true;  // late: the next frame at once
  if (WaitForSingleObject(FWakeUp.Get(), ms) == WAIT_OBJECT_0) pacer.WokenEarly(GetTickCount());
  return true;
}

bool TGIFPainter::PauseHere(std::int32_t ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= DWORD(ms)) return true;
    const DWORD slice = std::min<DWORD>(100, DWORD(ms) - elapsed);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, slice, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
        Terminate();
        return false;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (FImageAlive && !*FImageAlive) {
        Terminate();
        return false;
      }
    }
    if (Terminated()) return false;
  }
}

void TGIFPainter::PaintStep(const GifStep& step) {
  // Stopping serves the calls still queued: they must leave the picture alone.
  if (Terminated() || (FImageAlive && !*FImageAlive)) return;
  if ((FOptions & goValidateCanvas) && GetObjectType(FTarget.Canvas().Handle()) == 0) {
    Terminate();
    return;
  }
  FCompositor.Paint(step);
  GifCopyToBitmap(FCompositor.Target(), FTarget);
  FStarted = true;
  FImage.Changed();
}

}  // namespace kv
