#include "skin/gdi/SkinFrameGdi.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "skin/data/SkinDefinition.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

// Two spaces of caption prefix and one of separation keep the text off the icon.
constexpr std::wstring_view kCaptionLead = L"   ";

RECT ToRect(const Rect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

// A side piece: painted plain (its magenta is cut off by the region) and kept, since its
// top rows are the caption strip's end columns.
TPixelBitmap PaintPiece(HDC dc, TFrameEdge edge, const TDataSkinBorder* record, const Rect& at, bool active) {
  if (!record || at.Width() <= 0 || at.Height() <= 0) return TPixelBitmap();
  TPixelBitmap piece = RenderBorderPiece(edge, at.Width(), at.Height(), *record, active);
  CopyToWindowDc(dc, at.Left, at.Top, piece);
  return piece;
}

COLORREF TitleColour(const TSkinColours& colours, bool active) {
  return ResolveColor(active ? colours.TitleTextActiveColour : colours.TitleTextNoActiveColour);
}

}  // namespace

FramePainted PaintSkinFrame(HDC windowDc, const FrameSkin& skin, const TSkinColours& colours, const FrameWindow& window,
                            std::wstring_view caption, HFONT captionFont, const TPixelBitmap* icon,
                            ButtonLayout& layout) noexcept {
  FramePainted result;
  try {
    const int W = window.Width, H = window.Height;
    const Margins& b = window.Borders;
    if (!windowDc || W <= 0 || H <= 0 || window.FrameType == TFrameType::ftCaptionless) return result;

    const TPixelBitmap left = PaintPiece(windowDc, TFrameEdge::feLeft, skin.Left, {0, 0, b.Left, H}, window.Active);
    const TPixelBitmap right =
        PaintPiece(windowDc, TFrameEdge::feRight, skin.Right, {W - b.Right, 0, W, H}, window.Active);
    PaintPiece(windowDc, TFrameEdge::feBottom, skin.Bottom, {b.Left, H - b.Bottom, W - b.Right, H}, window.Active);
    if (b.Top <= 0) {
      result.Painted = true;
      return result;
    }

    // The strip starts as the window shows it, with the side pieces' top rows over it
    // (in case the DC cannot be read back).
    const Rect stripArea{0, 0, W, b.Top};
    TPixelBitmap strip = ReadDcPixels(windowDc, stripArea);
    if (strip.Width() != W || strip.Height() != b.Top) strip = TPixelBitmap(W, b.Top);
    if (!left.Empty()) CopyPixels(strip, 0, 0, left, {0, 0, left.Width(), b.Top});
    if (!right.Empty()) CopyPixels(strip, W - b.Right, 0, right, {0, 0, right.Width(), b.Top});

    // The strip is composed left to right; a mirrored window DC turns it round with the
    // buffer's copy, the text included, which is therefore drawn turned (below).
    const bool mirrored = IsMirroredDc(windowDc);
    const TBufferDc buffer(windowDc, ToRect(stripArea));
    const HDC dc = buffer.Get();
    if (buffer.Buffered()) SetLayout(dc, 0);
    CaptionPlacement& placement = result.Placement;
    {
      // Unbuffered, dc is the caller's: its text state goes back.
      const TTextStateGuard textState(dc);
      const TSelectGuard fontSelect(dc, captionFont);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, TitleColour(colours, window.Active));
      // Mirrored, the lead keeps the text off the icon at its right.
      std::wstring text(mirrored ? L"" : kCaptionLead);
      text.append(caption);
      if (mirrored) text.append(kCaptionLead);
      RECT measured{0, 0, 0, 0};
      DrawTextW(dc, text.c_str(), int(text.size()), &measured, DT_CALCRECT | DT_NOCLIP);
      static const TDataSkinTitle kNoTitle;
      placement = PlaceCaption({b.Left, 0, W - b.Right, b.Top},
                               {int(measured.right - measured.left), int(measured.bottom - measured.top)},
                               skin.Title ? *skin.Title : kNoTitle, window, layout.RightmostLeft);

      DrawCaptionBackground(strip, skin, window, placement);
      CopyToDc(dc, 0, 0, strip);
      const Rect& inner = placement.Inner;
      if (inner.Width() > 0 && inner.Height() > 0) {
        RECT textRect = ToRect(inner);
        const bool turned = mirrored && buffer.Buffered();
        // Turned, the text starts at the rectangle's right, as the mirror image has it.
        const UINT format = DT_SINGLELINE | DT_END_ELLIPSIS | (window.RightToLeft || turned ? DT_RIGHT : 0);
        if (turned) MirrorDcColumns(dc, inner);
        DrawTextW(dc, text.c_str(), int(text.size()), &textRect, format);
        if (turned) MirrorDcColumns(dc, inner);
        // The buttons go over the text: the strip is read back with it.
        TPixelBitmap withText = ReadDcPixels(dc, stripArea);
        if (withText.Width() == W && withText.Height() == b.Top) strip = std::move(withText);
      }
    }

    layout = LayoutButtons(skin, window, placement.Text, layout);
    DrawCaptionButtons(strip, skin, window, layout, icon);
    CopyToDc(dc, 0, 0, strip);
    result.Caption = std::move(strip);
    result.Painted = true;
  } catch (...) {
    // A frame that cannot be painted now is painted at the next WM_NCPAINT.
    result = FramePainted();
  }
  return result;
}

void DrawSkinCaptionButton(HDC windowDc, const FrameSkin& skin, std::size_t index, const Rect& target,
                           TStateFlags state, const TPixelBitmap* icon) noexcept {
  try {
    if (!windowDc || index >= skin.Buttons.size() || !skin.Buttons[index]) return;
    if (target.Width() <= 0 || target.Height() <= 0) return;
    // Drawn on magenta so that the keyed copy leaves what the picture leaves out.
    TPixelBitmap face(target.Width(), target.Height(), PixelOf(kKeyColor));
    DrawCaptionButton(face, face.Bounds(), *skin.Buttons[index], state, icon);
    TransparentBlit(windowDc, target, face);
  } catch (...) {
    // The whole frame repaints the button next time.
  }
}

TRegionHandle BuildFrameRegion(const FrameWindow& window, const FrameSkin& skin, const TPixelBitmap* caption) {
  return RegionFromRects(FrameRegionRects(window, skin, caption));
}

namespace {

// The icon at w x h over a plain background; empty when the system refuses.
TPixelBitmap DrawnIcon(HICON icon, int w, int h, std::uint32_t background) {
  const TMemoryDc dc(CreateCompatibleDC(nullptr));
  const TBitmapHandle bitmap(CreateBufferBitmap(w, h));
  if (!dc || !bitmap) return TPixelBitmap();
  const TSelectGuard select(dc.Get(), bitmap.Get());
  if (!select.Ok()) return TPixelBitmap();
  CopyToDc(dc.Get(), 0, 0, TPixelBitmap(w, h, background));
  if (!DrawIconEx(dc.Get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL)) return TPixelBitmap();
  return ReadDcPixels(dc.Get(), {0, 0, w, h});
}

}  // namespace

TPixelBitmap BuildIconBitmap(HWND window, bool* hasIcon) {
  if (hasIcon) *hasIcon = false;
  const int dpi = WindowDpi(window);
  const int w = SystemMetricForDpi(SM_CXSMICON, dpi), h = SystemMetricForDpi(SM_CYSMICON, dpi);
  if (w <= 0 || h <= 0) return TPixelBitmap();
  TPixelBitmap blank(w, h, PixelOf(kKeyColor));
  HICON icon = window ? reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)) : nullptr;
  if (!icon && window) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
  if (!icon) return blank;

  // Drawn once on black and once on white, the two tell each pixel's coverage: half
  // covered or more is the icon's colour, less is left out. Soft icon edges thus end in
  // their own colour instead of a blend with the magenta key.
  const TPixelBitmap onBlack = DrawnIcon(icon, w, h, 0x000000);
  const TPixelBitmap onWhite = DrawnIcon(icon, w, h, 0xFFFFFF);
  if (onBlack.Width() != w || onWhite.Width() != w) return blank;
  TPixelBitmap drawn = blank;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t b = onBlack.Pixel(x, y), white = onWhite.Pixel(x, y);
      int alpha = 255;  // from the channel that let most of the white through
      for (int shift = 0; shift <= 16; shift += 8)
        alpha = std::min(alpha, 255 - int((white >> shift) & 0xFF) + int((b >> shift) & 0xFF));
      if (alpha < 128) continue;
      std::uint32_t p = 0;
      for (int shift = 0; shift <= 16; shift += 8)
        p |= std::uint32_t(std::min(255, int((b >> shift) & 0xFF) * 255 / alpha)) << shift;
      drawn.SetPixel(x, y, p == PixelOf(kKeyColor) ? p ^ 1 : p);
    }
  if (hasIcon) *hasIcon = true;
  return drawn;
}

}  // namespace kv
