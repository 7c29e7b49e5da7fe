#pragma once
// The skinned window frame onto a device context: the Win32 half of SkinWindowFrame.h.
// Pieces and the caption strip are made as pixels by the portable half; this file only
// measures and draws the caption text, copies the pixels onto the window, makes the
// region handle and reads the window's icon. Only Win32 code includes this.
//
//   PaintSkinFrame         side and bottom pieces, then the caption strip in one copy
//   DrawSkinCaptionButton  one caption button repainting itself (hot, pressed ...)
//   BuildFrameRegion       the window region cut from the pieces' magenta
//   BuildIconBitmap        the window's small icon on magenta, for icon buttons
#include <windows.h>

#include <cstddef>
#include <string_view>

#include "base/win/Handles.h"
#include "skin/data/SkinWindowFrame.h"

namespace kv {

struct TSkinColours;

// What one frame paint leaves behind for the form: hit testing and the next layout read
// the placement, the region is cut from the caption strip (buttons and all).
struct FramePainted {
  bool Painted = false;        // false when painting failed part way (nothing to keep)
  CaptionPlacement Placement;  // where the caption went
  TPixelBitmap Caption;        // the strip as copied to the window, Width x Borders.Top
};

// The whole frame of `window` onto `windowDc` (window coordinates): the left and right
// pieces over the full height, the bottom piece between them, then the caption strip,
// composed off-screen (top piece and Title picture, the caption text, the buttons) and
// copied once. The text is the two-space prefix, a space and `caption` in `captionFont`
// (the DC's font when null) and the title colours of `colours`. `layout` is the previous
// button layout on entry and the new one on return. The DC's text state is given back;
// nothing is thrown. On a mirrored DC (a WS_EX_LAYOUTRTL window) the frame is still
// composed left to right and the DC shows its mirror image; the caption text is drawn
// turned, its lead after it, so that it reads right at the mirrored place.
FramePainted PaintSkinFrame(HDC windowDc, const FrameSkin& skin, const TSkinColours& colours, const FrameWindow& window,
                            std::wstring_view caption, HFONT captionFont, const TPixelBitmap* icon,
                            ButtonLayout& layout) noexcept;

// Caption button `index` of `skin` at `target` of `windowDc` in `state`, magenta left
// out; nothing for an index without a record or an empty target.
void DrawSkinCaptionButton(HDC windowDc, const FrameSkin& skin, std::size_t index, const Rect& target,
                           TStateFlags state, const TPixelBitmap* icon) noexcept;

// The region FrameRegionRects describes; `caption` is the last painted strip, if any.
TRegionHandle BuildFrameRegion(const FrameWindow& window, const FrameSkin& skin, const TPixelBitmap* caption);

// SM_CXSMICON x SM_CYSMICON at the window's DPI, of magenta with the window's small icon
// (else its big one) drawn over it; all magenta when it has none (and `hasIcon`, when
// given, says which).
TPixelBitmap BuildIconBitmap(HWND window, bool* hasIcon = nullptr);

}  // namespace kv
