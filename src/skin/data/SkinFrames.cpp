#include "skin/data/SkinFrames.h"

#include "skin/data/SkinDefinition.h"

namespace kv {

namespace {

using enum TStateFlags;

// Normal 1, pressed 2, disabled 3, hot 4; focus shows as hot where `focusShows`.
int FourStateFrame(TStateFlags state, bool focusShows) {
  if (HasFlag(state, csDisabled)) return 3;
  if (HasFlag(state, csPressed)) return 2;
  if (HasFlag(state, csHot) || (focusShows && HasFlag(state, csFocused))) return 4;
  return 1;
}

TElementImage ImageOf(const TDataSkinObject& record, const TPixelBitmap& strip) {
  TElementImage image;
  image.FStrip = &strip;
  image.FFrameCount = record.FrameCount;
  image.FMargins = record.GetMargins();
  image.FTile = record.Tile == 1;
  image.FTransparent = record.Trans == 1;
  return image;
}

TElementImage GlyphImageOf(const TDataSkinButton& record, const TPixelBitmap& strip, int frameCount) {
  TElementImage image;
  image.FStrip = &strip;
  image.FFrameCount = frameCount;
  image.FTransparent = record.Trans == 1;
  return image;
}

}  // namespace

int FrameIndex(TElementKind kind, TStateFlags state) {
  const bool disabled = HasFlag(state, csDisabled);
  const bool checked = HasFlag(state, csChecked);
  switch (kind) {
    case TElementKind::ekPushButton: return HasFlag(state, csLatched) ? 2 : FourStateFrame(state, true);
    case TElementKind::ekComboButton:
    case TElementKind::ekSunkEdge:
    case TElementKind::ekComboArrow:
      // Disabled counts only when nothing else does.
      if (HasFlag(state, csPressed) || HasFlag(state, csHot) || HasFlag(state, csFocused))
        return FourStateFrame(TStateFlags(unsigned(state) & ~unsigned(csDisabled)), true);
      return FourStateFrame(state, true);
    case TElementKind::ekUpDownFirst: return FourStateFrame(state, false);
    case TElementKind::ekUpDownSecond: return 4 + FourStateFrame(state, false);
    case TElementKind::ekCheckBox:
      if ((disabled && checked) || HasFlag(state, csIndeterminate)) return 4;
      return disabled ? 3 : checked ? 2 : 1;
    case TElementKind::ekRadioButton:
      if (disabled) return checked ? 4 : 3;
      return checked ? 2 : 1;
    case TElementKind::ekTab: return HasFlag(state, csSelected) ? 2 : 1;
    case TElementKind::ekTabPage: return 1;
    case TElementKind::ekScrollThumb: return HasFlag(state, csDragging) || HasFlag(state, csPressed) ? 2 : 1;
    case TElementKind::ekProgressBar: return 1;
    case TElementKind::ekProgressFill: return 2;
    case TElementKind::ekStatusLowered: return 1;
    case TElementKind::ekStatusRaised: return 2;
    case TElementKind::ekStatusFlat: return 3;
    case TElementKind::ekHeader:
    case TElementKind::ekScrollTrack: return 1;
    case TElementKind::ekTrackbarThumb: return 2;
    case TElementKind::ekCaptionButton:
      if (HasFlag(state, csPressed)) return 2;
      if (HasFlag(state, csHot)) return 3;
      return HasFlag(state, csInactive) ? 4 : 1;
    case TElementKind::ekMdiButton:
      if (HasFlag(state, csPressed)) return 2;
      return HasFlag(state, csHot) ? 4 : 1;
    case TElementKind::ekFramePiece: return HasFlag(state, csInactive) ? 2 : 1;
    case TElementKind::ekScrollLeft: return 1 + (HasFlag(state, csPressed) ? 1 : 0);
    case TElementKind::ekScrollRight: return 5 + (HasFlag(state, csPressed) ? 1 : 0);
    case TElementKind::ekScrollUp: return 9 + (HasFlag(state, csPressed) ? 1 : 0);
    case TElementKind::ekScrollDown: return 13 + (HasFlag(state, csPressed) ? 1 : 0);
    case TElementKind::ekMenuItem: return HasFlag(state, csSelected) ? 4 : 1;
    case TElementKind::ekMenuSeparator: return 2;
    case TElementKind::ekSizeGrip: return 5;
  }
  return 1;
}

int StripFrameIndex(TElementKind kind, TStateFlags state, int frameCount) {
  const int frame = FrameIndex(kind, state);
  return frame <= std::max(frameCount, 1) ? frame : 1;
}

int FixedFrameCount(TElementKind kind) {
  switch (kind) {
    case TElementKind::ekScrollLeft:
    case TElementKind::ekScrollRight:
    case TElementKind::ekScrollUp:
    case TElementKind::ekScrollDown: return 23;
    case TElementKind::ekPushButton:
    case TElementKind::ekComboArrow:
    case TElementKind::ekTab:
    case TElementKind::ekHeader:
    case TElementKind::ekMenuItem:
    case TElementKind::ekMenuSeparator:
    case TElementKind::ekTrackbarThumb: return 5;
    case TElementKind::ekComboButton:
    case TElementKind::ekSunkEdge:
    case TElementKind::ekScrollTrack: return 4;
    case TElementKind::ekUpDownFirst:
    case TElementKind::ekUpDownSecond: return 8;
    case TElementKind::ekProgressBar:
    case TElementKind::ekProgressFill: return 2;
    case TElementKind::ekStatusLowered:
    case TElementKind::ekStatusRaised:
    case TElementKind::ekStatusFlat: return 3;
    case TElementKind::ekTabPage: return 1;
    case TElementKind::ekSizeGrip:
    case TElementKind::ekCheckBox:
    case TElementKind::ekRadioButton:
    case TElementKind::ekScrollThumb:
    case TElementKind::ekCaptionButton:
    case TElementKind::ekMdiButton:
    case TElementKind::ekFramePiece: return 0;
  }
  return 0;
}

TElementImage ElementImage(const TDataSkinObject& record) { return ImageOf(record, record.Image); }

TElementImage SecondElementImage(const TDataSkinBorder& record) { return ImageOf(record, record.Image2); }

TElementImage CheckBoxImage(const TDataSkinButton& record) {
  return GlyphImageOf(record, record.CheckImage, record.CheckFrameCount);
}

TElementImage RadioButtonImage(const TDataSkinButton& record) {
  return GlyphImageOf(record, record.RadioImage, record.RadioFrameCount);
}

void DrawElement(TPixelBitmap& canvas, const Rect& target, const TElementImage& image, int frame) {
  if (!CanDraw(target, image, frame)) return;
  DrawSkinImage(canvas, target, *image.FStrip, image.Flags(), image.FFrameCount, frame, image.FMargins);
}

void DrawElementStretched(TPixelBitmap& canvas, const Rect& target, const TElementImage& image, int frame) {
  // With no margins the whole frame is the nine-slice centre; unlike DrawFrameStretched
  // this also takes stacked strips.
  DrawElement(canvas, target, image.Whole(), frame);
}

}  // namespace kv
