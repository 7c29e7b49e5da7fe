#pragma once
// TGIFImage: a GIF picture as a picture control's graphic, animated by painters.
//
//   TGIFImage      the decoded picture, its drawing options, its internal bitmap (what the
//                  animation shows now) and its painters
//   SetGifPicture  hands a GIF picture to a picture control's picture, with the picture's
//                  change notification wired to the control's repaint
//
// Drawing a still picture (one frame, or animation off) paints the chosen frame at once.
// Drawing an animated picture the first time makes the internal bitmap from what the
// control shows under the picture, starts a painter on it and waits for its first frame;
// from then on drawing copies the internal bitmap, and every frame the painter paints
// raises OnChange, which makes the control repaint.
//
// Threads: everything here runs on the GUI thread except the painter list's bookkeeping
// when a painter thread ends; that list is guarded by a lock.
//
// Option bits not followed to the letter:
//   goDirectDraw   the painter always paints into the internal bitmap: the DC a control
//                  paints on lives only as long as that paint, so a painter that kept it
//                  would draw on a dead (or someone else's) DC.
//   goValidateCanvas  checks the internal bitmap's DC, which stays valid while painting.
//   goDither, goAutoDither  frames are composed in 32-bit colour; on a palette display GDI
//                  reduces the colours when the bitmap is copied to the screen.
//   goTile         the composed picture is repeated over the rectangle when drawn, so an
//                  area cleared by disposal is cleared in every tile.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "pictures/GifCompositor.h"
#include "pictures/GifPicture.h"
#include "pictures/GifPlayback.h"

namespace kv {

class TGIFPainter;

class TGIFImage : public TGraphic {
 public:
  TGIFImage();
  // Stops every painter first (promptly: a painter is woken from its wait).
  ~TGIFImage() override;
  TGIFImage(const TGIFImage&) = delete;
  TGIFImage& operator=(const TGIFImage&) = delete;

  // A GIF stream, or the stored form (the class name "TGIFImage" as a short string, then
  // the GIF bytes). False, and a picture without frames, for anything unusable.
  bool LoadFromBytes(std::span<const std::uint8_t> bytes);
  static std::unique_ptr<TGIFImage> FromBytes(std::span<const std::uint8_t> bytes);
  // Either form from a resource of this module (RCDATA unless another type is given).
  // A missing or damaged resource gives an empty picture, which draws nothing.
  static std::unique_ptr<TGIFImage> FromResource(const wchar_t* name, const wchar_t* type = RT_RCDATA);

  const GifPicture& Gif() const { return FGif; }
  int FrameCount() const { return static_cast<int>(FGif.Frames.size()); }
  TGifError LoadError() const { return FLoadError; }
  const std::string& LoadWarning() const { return FLoadWarning; }

  int Width() const override { return FGif.Width; }
  int Height() const override { return FGif.Height; }
  void Draw(TCanvas& canvas, const RECT& rect) const override;

  // Changing any of these stops the painters and forgets the internal bitmap, so that the
  // next paint starts afresh with the new setting.
  std::uint16_t DrawOptions() const { return FOptions; }
  void SetDrawOptions(std::uint16_t options);
  int AnimationSpeed() const { return FSpeed; }  // percent
  void SetAnimationSpeed(int speed);
  int ThreadPriority() const { return FPriority; }
  void SetThreadPriority(int priority);
  int SelectedFrame() const { return FSelectedFrame; }  // -1: the first
  void SetSelectedFrame(int index);
  TColor BackgroundColor() const { return FBackgroundColor; }  // clNone: the picture's own
  void SetBackgroundColor(TColor color);

  // Raised on the GUI thread whenever the internal bitmap changes.
  std::function<void()> OnChange;
  // What the animation shows now; empty before the first animated paint.
  const TBitmap* InternalBitmap() const { return FBitmap.get(); }

  // Ends every painter and waits for their threads.
  void StopPainters();
  // Painters of this picture whose run is not over.
  int PainterCount() const;
  bool HasDrawPainter() const;

 private:
  friend class TGIFPainter;
  void Reset();
  void DrawStill(TCanvas& canvas, const RECT& rect) const;
  void StartDrawPainter(TCanvas& canvas, const RECT& rect) const;
  void DrawInternalBitmap(TCanvas& canvas, const RECT& rect) const;
  std::uint32_t ClearColor() const;
  void Changed() const;
  // Called by a painter thread at the end of its run.
  void PainterEnded(TGIFPainter* painter) const;
  // Frees the painters whose thread has ended (GUI thread).
  void ReapEndedPainters() const;

  GifPicture FGif;
  TGifError FLoadError = geNone;
  std::string FLoadWarning;
  std::uint16_t FOptions = GifDefaultOptions;
  int FSpeed = 100;
  int FPriority = THREAD_PRIORITY_NORMAL;
  int FSelectedFrame = -1;
  TColor FBackgroundColor = clNone;
  std::shared_ptr<bool> FAlive;

  // Drawing state: a graphic draws through a const interface, and starting the
  // animation is part of drawing.
  mutable std::unique_ptr<TBitmap> FBitmap;
  mutable bool FDrawing = false;
  mutable std::mutex FLock;  // guards the three below
  mutable std::vector<std::unique_ptr<TGIFPainter>> FPainters;
  mutable std::vector<std::unique_ptr<TGIFPainter>> FEndedPainters;
  mutable TGIFPainter* FDrawPainter = nullptr;
};

// The picture's change notification made to repaint whatever shows `picture`, then the
// GIF picture handed to it.
void SetGifPicture(TPicture& picture, std::unique_ptr<TGIFImage> gif);

}  // namespace kv
