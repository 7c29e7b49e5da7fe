#pragma once
// Frames composed into 32-bit pixels the way the painter shows them, disposal included.
// The painter copies Target() to its bitmap after each Paint; nothing here touches a
// device context, so every pixel of the composition is testable.
//
//   GifBitmap        a 32-bit picture, 0xAARRGGBB per pixel (alpha 0xFF: opaque)
//   GifDrawFrame     one frame onto a bitmap of the logical screen, through its mask or not
//   TGifCompositor   the backup, frame and background buffers of a painter
#include <cstdint>
#include <vector>

#include "pictures/GifPicture.h"
#include "pictures/GifPlayback.h"

namespace kv {

struct GifBitmap {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;  // row by row from the top

  GifBitmap() = default;
  GifBitmap(int width, int height, std::uint32_t fill)
      : Width(width), Height(height), Pixels(std::size_t(width) * std::size_t(height), fill) {}
  std::uint32_t At(int x, int y) const { return Pixels[std::size_t(y) * std::size_t(Width) + std::size_t(x)]; }
};

constexpr std::uint32_t GifArgb(GifRgb c) {
  return 0xFF000000u | (std::uint32_t(c.R) << 16) | (std::uint32_t(c.G) << 8) | c.B;
}

// The colour of the background index in the global table; opaque black when there is no
// such entry.
std::uint32_t GifBackgroundColor(const GifPicture& picture);

// Whether a painter needs the three buffers: some frame asks for disposal 2 or 3, or the
// options ask for a clear at every pass.
bool GifNeedsBuffers(const GifPicture& picture, std::uint16_t options);

// Draws `frame` at its bounds. Through the mask, pixels of the transparent index are left
// alone; otherwise they get their table colour. Indexes past the table are drawn black.
// `target` must have the logical screen's size.
void GifDrawFrame(GifBitmap& target, const GifPicture& picture, const GifFrame& frame, bool throughMask);

class TGifCompositor {
 public:
  // `picture` must outlive the compositor.
  // `underneath` is what the target showed below the picture when the painter began
  // (logical screen size); it is the starting picture and, with goTransparent, what
  // "restore to background" brings back. Otherwise `backgroundColor` fills those areas.
  TGifCompositor(const GifPicture& picture, std::uint16_t options, const GifBitmap& underneath,
                 std::uint32_t backgroundColor);

  // Shows the step's frame: afterwards Target() is what the screen should show.
  void Paint(const GifStep& step);

  const GifBitmap& Target() const { return FTarget; }
  bool HasBuffers() const { return FHasBuffers; }

 private:
  bool Flag(std::uint16_t bit) const { return (FOptions & bit) != 0; }
  void ClearArea(GifBitmap& bitmap, int left, int top, int width, int height) const;

  const GifPicture& FPicture;
  std::uint16_t FOptions;
  bool FHasBuffers;
  std::uint32_t FBackgroundColor;
  GifBitmap FTarget;
  GifBitmap FBackup;       // the composed picture between frames
  GifBitmap FFrameBuffer;  // scratch for "restore previous" after a cleared frame
  GifBitmap FBackground;   // what was underneath; kept only with goTransparent
};

}  // namespace kv
