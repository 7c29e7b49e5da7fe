#pragma once
// `skintool preview`: a window as the skin engine would draw it, without Windows. The
// frame comes from the engine's own portable layout (SkinWindowFrame.h): border pieces,
// caption strip, caption buttons and the window region, which shows the desktop colour
// where the frame's magenta cuts the window. Inside, a menu bar (when the skin has a bar
// picture) and one of each main control kind, drawn from the skin's pictures by the frame
// rules of SkinFrames.h. Text is drawn in a small built-in bitmap font.
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/PixelBitmap.h"
#include "skin/data/SkinWindowFrame.h"

namespace kv {

class TSkinDefinition;

inline constexpr int kPreviewDefaultWidth = 480;
inline constexpr int kPreviewDefaultHeight = 360;
inline constexpr int kPreviewMaxSide = 4096;
inline constexpr std::uint32_t kPreviewDesktop = 0x3A6E82;  // where the region leaves the window out
// What the platform's metrics give on a standard display; the engine asks the system.
inline constexpr int kPreviewMenuBarHeight = 19;  // SM_CYMENU
inline constexpr int kPreviewArrowSize = 16;      // SM_CXHSCROLL
inline constexpr int kPreviewIconSize = 16;       // SM_CXSMICON

struct TPreviewOptions {
  int FWidth = kPreviewDefaultWidth;  // the whole window, frame included
  int FHeight = kPreviewDefaultHeight;
  bool FInactive = false;
  int FDpi = 96;  // the skin scaled as for a window at this DPI (the size is in its pixels)
  std::string FCaption = "Koravent preview";  // UTF-8; characters outside ASCII show as boxes
};

// One sample control and where it went (window coordinates).
struct TPreviewControl {
  std::string FName;  // e.g. "button hot", "tabs"
  Rect FBounds;
};

struct TSkinPreview {
  TPixelBitmap FPicture;  // FWidth x FHeight: the window over the desktop colour
  FrameWindow FWindow;    // what the frame was laid out for
  CaptionPlacement FCaption;
  ButtonLayout FButtons;
  TPixelBitmap FCaptionStrip;  // the painted caption strip, Width x Borders.Top
  Rect FMenuBar;               // empty without a menu-bar picture
  Rect FClient;
  std::vector<TPreviewControl> FControls;
};

// The border widths the form skin takes from the edge pictures: the side pictures' frame
// width, the top and bottom pictures' frame height; 0 without a picture.
Margins PreviewBorders(const TSkinDefinition& model);

// The window of `options` in `model`. An empty picture when the size is out of range
// (below 1 or above kPreviewMaxSide).
TSkinPreview RenderSkinPreview(const TSkinDefinition& model, const TPreviewOptions& options);

// Text in the preview's font: its extent, and the text drawn with its top-left at (x, y),
// clipped to `clip`.
Extent PreviewTextExtent(std::string_view utf8);
void DrawPreviewText(TPixelBitmap& canvas, int x, int y, std::string_view utf8, std::uint32_t pixel, const Rect& clip);

// "480x360" → width and height; false for anything else or a side out of range.
bool ParsePreviewSize(std::string_view text, int& width, int& height);

// The whole command: reads the container at `in`, scales it to options.FDpi as the program
// does (double-size pictures included), renders it and writes `out` (PNG, or
// BMP for a .bmp name). 0 on success; 1 with the reason on `err` and no file written when
// the container cannot be read, PNG is unavailable or the file cannot be written.
int PreviewSkin(const std::filesystem::path& in, const std::filesystem::path& out, const TPreviewOptions& options,
                std::ostream& report, std::ostream& err);

}  // namespace kv
