#include "pictures/GifCompositor.h"

#include <algorithm>
#include <cstring>

namespace kv {

std::uint32_t GifBackgroundColor(const GifPicture& picture) {
  if (picture.BackgroundIndex < picture.GlobalColors.size())
    return GifArgb(picture.GlobalColors[picture.BackgroundIndex]);
  return 0xFF000000u;
}

bool GifNeedsBuffers(const GifPicture& picture, std::uint16_t options) {
  if (options & goClearOnLoop) return true;
  return std::any_of(picture.Frames.begin(), picture.Frames.end(), [](const GifFrame& f) {
    return f.HasControl && (f.Disposal == gdRestoreBackground || f.Disposal == gdRestorePrevious);
  });
}

void GifDrawFrame(GifBitmap& target, const GifPicture& picture, const GifFrame& frame, bool throughMask) {
  if (frame.Empty() || frame.Pixels.size() < std::size_t(frame.Width) * std::size_t(frame.Height))
    return;  // decoded frames always fit; a hand-made one that does not is not drawn
  // Decoding keeps frames on the screen; a bitmap of another size is cut to itself.
  const int width = std::min(frame.Width, target.Width - frame.Left);
  const int height = std::min(frame.Height, target.Height - frame.Top);
  if (width <= 0 || height <= 0 || frame.Left < 0 || frame.Top < 0) return;

  std::uint32_t colors[256];
  const GifPalette& table = GifFrameColors(picture, frame);
  for (std::size_t i = 0; i < 256; ++i) colors[i] = i < table.size() ? GifArgb(table[i]) : 0xFF000000u;
  const int transparent = throughMask ? frame.TransparentIndex : -1;

  for (int y = 0; y < height; ++y) {
    const std::uint8_t* src = frame.Pixels.data() + std::size_t(y) * std::size_t(frame.Width);
    std::uint32_t* dst =
        target.Pixels.data() + std::size_t(frame.Top + y) * std::size_t(target.Width) + std::size_t(frame.Left);
    if (transparent < 0) {
      for (int x = 0; x < width; ++x) dst[x] = colors[src[x]];
    } else {
      for (int x = 0; x < width; ++x)
        if (src[x] != transparent) dst[x] = colors[src[x]];
    }
  }
}

TGifCompositor::TGifCompositor(const GifPicture& picture, std::uint16_t options, const GifBitmap& underneath,
                               std::uint32_t backgroundColor)
    : FPicture(picture),
      FOptions(options),
      FHasBuffers(GifNeedsBuffers(picture, options)),
      FBackgroundColor(backgroundColor) {
  const bool sized = underneath.Width == picture.Width && underneath.Height == picture.Height &&
                     underneath.Pixels.size() == std::size_t(picture.Width) * std::size_t(picture.Height);
  FTarget = sized ? underneath : GifBitmap(picture.Width, picture.Height, backgroundColor);
  if (!FHasBuffers) return;
  FBackup = FTarget;
  FFrameBuffer = GifBitmap(picture.Width, picture.Height, 0);
  if (Flag(goTransparent)) FBackground = FTarget;
}

void TGifCompositor::ClearArea(GifBitmap& bitmap, int left, int top, int width, int height) const {
  const bool fromBackground = Flag(goTransparent) && !FBackground.Pixels.empty();
  for (int y = top; y < top + height; ++y) {
    const std::size_t row = std::size_t(y) * std::size_t(bitmap.Width) + std::size_t(left);
    if (fromBackground)
      std::memcpy(&bitmap.Pixels[row], &FBackground.Pixels[row], std::size_t(width) * 4);
    else
      std::fill_n(bitmap.Pixels.begin() + std::ptrdiff_t(row), width, FBackgroundColor);
  }
}

void TGifCompositor::Paint(const GifStep& step) {
  if (step.Frame < 0 || step.Frame >= int(FPicture.Frames.size())) return;
  const GifFrame& frame = FPicture.Frames[std::size_t(step.Frame)];
  const bool throughMask = Flag(goTransparent);
  if (!FHasBuffers) {
    GifDrawFrame(FTarget, FPicture, frame, throughMask);
    return;
  }
  if (Flag(goClearOnLoop) && step.FirstOfPass) ClearArea(FBackup, 0, 0, FBackup.Width, FBackup.Height);

  switch (step.Disposal) {
    case gdNone:
    case gdDoNotDispose:
    case gdRestoreBackground:
      GifDrawFrame(FBackup, FPicture, frame, throughMask);
      FTarget.Pixels = FBackup.Pixels;
      if (step.Disposal == gdRestoreBackground && !frame.Empty())
        ClearArea(FBackup, frame.Left, frame.Top, frame.Width, frame.Height);
      break;
    case gdRestorePrevious:
      // The backup keeps the picture from before this frame; the next frame starts there.
      if (step.PreviousDisposal == gdRestoreBackground || step.PreviousDisposal == gdRestorePrevious) {
        // The target may differ from the backup now, so compose afresh from the backup.
        FFrameBuffer.Pixels = FBackup.Pixels;
        GifDrawFrame(FFrameBuffer, FPicture, frame, throughMask);
        FTarget.Pixels = FFrameBuffer.Pixels;
      } else {
        GifDrawFrame(FTarget, FPicture, frame, throughMask);
      }
      break;
    default: break;  // disposal values 4..7 mean nothing: nothing is drawn
  }
}

}  // namespace kv
