#include "pictures/win/GifImage.h"

#include <algorithm>

#include "base/win/Handles.h"
#include "base/win/Resources.h"
#include "framework/Threads.h"
#include "pictures/win/GifPainter.h"

namespace kv {

namespace {

// Longest a paint waits for a new painter's first frame. The first frame is due at once;
// this only keeps a paint from hanging on a painter that cannot get to it.
constexpr DWORD FirstFrameWaitMs = 2000;

// What `dc` shows under `rect`, brought to width x height.
GifBitmap CaptureUnder(HDC dc, const RECT& rect, int width, int height) {
  GifBitmap result(width, height, 0xFF000000u);
  TBitmap copy(width, height);
  if (!copy.Handle() || !dc) return result;
  HDC to = copy.Canvas().Handle();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w == width && h == height) {
    BitBlt(to, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
  } else {
    SetStretchBltMode(to, COLORONCOLOR);
    StretchBlt(to, 0, 0, width, height, dc, rect.left, rect.top, w, h, SRCCOPY);
  }
  GdiFlush();
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* src = copy.ScanLine(y);
    std::uint32_t* dst = result.Pixels.data() + std::size_t(y) * std::size_t(width);
    for (int x = 0; x < width; ++x) dst[x] = 0xFF000000u | (src[x] & 0x00FFFFFFu);
  }
  return result;
}

// Copies of `bitmap` side by side from the top-left of `rect`, cut at its edges.
void DrawTiled(const TBitmap& bitmap, TCanvas& canvas, const RECT& rect) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return;
  HDC dc = canvas.Handle();
  TSavedDc saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  for (int y = rect.top; y < rect.bottom; y += h)
    for (int x = rect.left; x < rect.right; x += w) bitmap.Draw(canvas, RECT{x, y, x + w, y + h});
}

}  // namespace

TGIFImage::TGIFImage() : FAlive(std::make_shared<bool>(true)) {}

TGIFImage::~TGIFImage() {
  *FAlive = false;
  StopPainters();
}

bool TGIFImage::LoadFromBytes(std::span<const std::uint8_t> bytes) {
  Reset();
  FGif = GifPicture{};
  FLoadError = geNone;
  FLoadWarning.clear();
  std::span<const std::uint8_t> gif = bytes;
  if (const auto inner = GifBytesOfStoredPicture(bytes)) gif = *inner;
  GifLoadResult result = LoadGif(gif);
  const bool loaded = result.Picture.has_value();
  if (loaded) {
    FGif = std::move(*result.Picture);
    FLoadWarning = std::move(result.Warning);
  } else {
    FLoadError = result.Error != geNone ? result.Error : geNotGif;
  }
  Changed();
  return loaded;
}

std::unique_ptr<TGIFImage> TGIFImage::FromBytes(std::span<const std::uint8_t> bytes) {
  auto image = std::make_unique<TGIFImage>();
  image->LoadFromBytes(bytes);
  return image;
}

std::unique_ptr<TGIFImage> TGIFImage::FromResource(const wchar_t* name, const wchar_t* type) {
  return FromBytes(ResourceBytes(name, type));
}

void TGIFImage::Reset() {
  StopPainters();
  FBitmap.reset();
}

void TGIFImage::SetDrawOptions(std::uint16_t options) {
  if (options == FOptions) return;
  FOptions = options;
  Reset();
  Changed();
}

void TGIFImage::SetAnimationSpeed(int speed) {
  if (speed == FSpeed) return;
  FSpeed = speed;
  Reset();
  Changed();
}

void TGIFImage::SetThreadPriority(int priority) {
  if (priority == FPriority) return;
  FPriority = priority;
  Reset();
  Changed();
}

void TGIFImage::SetSelectedFrame(int index) {
  if (index == FSelectedFrame) return;
  FSelectedFrame = index;
  Reset();
  Changed();
}

void TGIFImage::SetBackgroundColor(TColor color) {
  if (color == FBackgroundColor) return;
  FBackgroundColor = color;
  Reset();
  Changed();
}

std::uint32_t TGIFImage::ClearColor() const {
  if (FBackgroundColor == clNone) return GifBackgroundColor(FGif);
  const COLORREF c = ColorToRgb(FBackgroundColor);
  return 0xFF000000u | (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

void TGIFImage::Changed() const {
  if (OnChange) OnChange();
}

void TGIFImage::Draw(TCanvas& canvas, const RECT& rect) const {
  if (FDrawing || FGif.Frames.empty() || !canvas.Handle()) return;
  // A painter without a thread dispatches messages, and one of them may free this picture.
  const std::shared_ptr<bool> alive = FAlive;
  FDrawing = true;
  try {
    ReapEndedPainters();
    if (GifDrawsStill(FGif, FOptions)) {
      DrawStill(canvas, rect);
    } else {
      if (!FBitmap) StartDrawPainter(canvas, rect);
      if (!*alive) return;
      DrawInternalBitmap(canvas, rect);
    }
  } catch (...) {
    if (*alive) FDrawing = false;
    throw;
  }
  FDrawing = false;
}

void TGIFImage::DrawStill(TCanvas& canvas, const RECT& rect) const {
  const int index = GifStillFrame(FGif, FSelectedFrame);
  if (index < 0) return;
  // Only the frame's own area changes: the rest keeps what the control shows.
  GifBitmap still = CaptureUnder(canvas.Handle(), rect, FGif.Width, FGif.Height);
  GifDrawFrame(still, FGif, FGif.Frames[std::size_t(index)], (FOptions & goTransparent) != 0);
  TBitmap bitmap(FGif.Width, FGif.Height);
  GifCopyToBitmap(still, bitmap);
  bitmap.Draw(canvas, rect);
}

void TGIFImage::StartDrawPainter(TCanvas& canvas, const RECT& rect) const {
  auto bitmap = std::make_unique<TBitmap>(FGif.Width, FGif.Height);
  if (!bitmap->Handle()) return;
  // The frames' transparent pixels show the control as it was at this first paint.
  const GifBitmap underneath = CaptureUnder(canvas.Handle(), rect, FGif.Width, FGif.Height);
  GifCopyToBitmap(underneath, *bitmap);
  FBitmap = std::move(bitmap);

  GifPainterSetup setup;
  setup.Options = GifPainterOptions(FGif, FOptions);
  setup.Speed = FSpeed;
  setup.Priority = FPriority;
  setup.BackgroundColor = ClearColor();
  setup.ImageAlive = FAlive;
  auto painter = std::make_unique<TGIFPainter>(*this, *FBitmap, underneath, setup);
  TGIFPainter* started = painter.get();

  if (!started->Threaded()) {
    {
      std::lock_guard lock(FLock);
      FDrawPainter = started;
    }
    const std::shared_ptr<bool> alive = FAlive;
    started->RunHere();
    if (!*alive) return;
    std::lock_guard lock(FLock);
    if (FDrawPainter == started) FDrawPainter = nullptr;
    return;
  }

  {
    std::lock_guard lock(FLock);
    FDrawPainter = started;
    FPainters.push_back(std::move(painter));
  }
  started->Start();
  // The painter's first frame comes through a synchronised call: serve it here, so that
  // this very paint shows it. (Only ReapEndedPainters frees a painter, so `started` stays.)
  const DWORD begin = GetTickCount();
  while (!started->Started() && !started->RunOver()) {
    if (TThread::CheckSynchronize()) continue;
    if (GetTickCount() - begin > FirstFrameWaitMs) break;
    Sleep(1);
  }
}

void TGIFImage::DrawInternalBitmap(TCanvas& canvas, const RECT& rect) const {
  if (!FBitmap) return;
  if (FOptions & goTile)
    DrawTiled(*FBitmap, canvas, rect);
  else
    FBitmap->Draw(canvas, rect);
}

void TGIFImage::StopPainters() {
  std::vector<std::unique_ptr<TGIFPainter>> all;
  {
    std::lock_guard lock(FLock);
    // A painter without a thread is not in the lists: it notices the flag after the
    // message it is dispatching.
    if (FDrawPainter) FDrawPainter->Stop();
    FDrawPainter = nullptr;
    for (auto& p : FPainters) all.push_back(std::move(p));
    for (auto& p : FEndedPainters) all.push_back(std::move(p));
    FPainters.clear();
    FEndedPainters.clear();
  }
  for (auto& p : all) p->Stop();
  all.clear();  // each waits for its thread, serving the synchronised calls meanwhile
}

void TGIFImage::PainterEnded(TGIFPainter* painter) const {
  std::lock_guard lock(FLock);
  const auto it =
      std::find_if(FPainters.begin(), FPainters.end(), [painter](const auto& p) { return p.get() == painter; });
  if (it != FPainters.end()) {
    FEndedPainters.push_back(std::move(*it));
    FPainters.erase(it);
  }
  if (FDrawPainter == painter) FDrawPainter = nullptr;
}

void TGIFImage::ReapEndedPainters() const {
  std::vector<std::unique_ptr<TGIFPainter>> ended;
  {
    std::lock_guard lock(FLock);
    ended.swap(FEndedPainters);
  }
  ended.clear();
}

int TGIFImage::PainterCount() const {
  std::lock_guard lock(FLock);
  return static_cast<int>(FPainters.size());
}

bool TGIFImage::HasDrawPainter() const {
  std::lock_guard lock(FLock);
  return FDrawPainter != nullptr;
}

void SetGifPicture(TPicture& picture, std::unique_ptr<TGIFImage> gif) {
  if (gif) {
    gif->OnChange = [&picture] {
      if (picture.OnChange) picture.OnChange();
    };
  }
  picture.SetGraphic(std::move(gif));
}

}  // namespace kv
