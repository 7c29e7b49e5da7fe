#include "skin/data/SkinWindowFrame.h"

#include <algorithm>

#include "skin/data/SkinDefinition.h"

namespace kv {

namespace {

using enum TCaptionFlags;

// Skins can say any int; coordinates are held this far out, where no window reaches,
// so sums and widths of them never overflow.
constexpr std::int64_t kFar = std::int64_t(1) << 28;
int Coordinate(std::int64_t v) { return int(std::clamp(v, -kFar, kFar)); }

bool IconButton(const TDataSkinSysButton& button) { return button.Action == 3 || button.Action == 11; }

// The two visibility columns differ only where the first also asks for the system menu
// (0, 6, 8) or is the menu bar's (100).
enum class TVisibilityColumn { vcFirst, vcSecond };

bool VisibilityAllows(int value, TVisibilityColumn column, const TDataSkinSysButton& button,
                      const FrameWindow& window) {
  const bool first = column == TVisibilityColumn::vcFirst;
  const bool sysMenu = HasFlag(window.CaptionFlags, cfSysMenu);
  const bool maxBox = HasFlag(window.CaptionFlags, cfMaxBox);
  const bool minBox = HasFlag(window.CaptionFlags, cfMinBox);
  if (value >= 200 && value <= 2000) return true;
  switch (value) {
    case 0:
      if (!first) return true;
      return window.FrameType != TFrameType::ftPlain && (button.Action != 0 || sysMenu);
    case 1: return window.Maximized;
    case 2: return !window.Maximized;
    case 3: return window.Active;
    case 4: return !window.Active;
    case 6: return maxBox && (sysMenu || !first);
    case 7: return !maxBox;
    case 8: return minBox && (sysMenu || !first);
    case 9: return !minBox;
    case 100:
      // (For the second column IsButtonVisible repeats the first instead.)
      return window.ActiveMdiChildMaximized && window.MenuBarHeight > 0;
    default: return false;  // 5, 10, 11 and anything unknown
  }
}

Rect Placed(std::int64_t x, std::int64_t y, int width, int height) {
  const int left = Coordinate(x), top = Coordinate(y);
  return {left, top, left + width, top + height};
}

TElementImage ButtonImage(const TDataSkinSysButton& button) {
  TElementImage image;
  image.FStrip = &button.Image;
  image.FFrameCount = button.FrameCount;
  image.FTransparent = true;
  return image;
}

// A frame drawn whole over `target` with magenta left out, when the strip has it.
void DrawFrameKeyed(TPixelBitmap& canvas, const Rect& target, const TElementImage& image, int frame) {
  if (!CanDraw(target, image, frame)) return;
  DrawFrameStretched(canvas, target, *image.FStrip, TDrawFlags::dfTransparent, image.FFrameCount, frame);
}

TStateFlags WindowState(const FrameWindow& window) {
  return window.Active ? TStateFlags::csNone : TStateFlags::csInactive;
}

// Batches of one rectangle each: plain rectangles may overlap one another and the
// bitmap runs, and a region made from one batch wants its rectangles apart.
void AddRect(std::vector<TRegionBatch>& batches, const Rect& r) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  TRegionBatch batch;
  batch.FRects.push_back(r);
  batch.FBounds = r;
  batches.push_back(std::move(batch));
}

// The pixels of `piece` that are not magenta, at (x, y).
void AddOpaque(std::vector<TRegionBatch>& batches, const TPixelBitmap& piece, int x, int y) {
  for (TRegionBatch& batch : BitmapToRegionRects(piece, x, y, 1, 1, 1, kKeyColor))
    if (!batch.FRects.empty()) batches.push_back(std::move(batch));
}

bool Keyed(const TDataSkinBorder* record) { return record && record->Trans == 1; }

}  // namespace

const TDataSkinBorder* FrameSkin::Edge(TFrameEdge edge) const {
  switch (edge) {
    case TFrameEdge::feLeft: return Left;
    case TFrameEdge::feRight: return Right;
    case TFrameEdge::feTop: return Top;
    case TFrameEdge::feBottom: return Bottom;
  }
  return nullptr;
}

FrameSkin FrameSkinOf(const TSkinDefinition& skin) {
  FrameSkin frame;
  frame.Left = skin.BorderLeft.get();
  frame.Right = skin.BorderRight.get();
  frame.Top = skin.BorderTop.get();
  frame.Bottom = skin.BorderBottom.get();
  frame.Title = skin.Title.get();
  frame.Buttons = skin.SysButtons;
  frame.MenuBar = skin.MenuBar.get();
  return frame;
}

namespace {

// A strip's frame size along its frames: width for side pieces, height for the others.
int PieceSize(const TDataSkinBorder* record, bool across) {
  if (!record || record->Image.Empty()) return 0;
  return (across ? record->Image.Width() : record->Image.Height()) / std::max(record->FrameCount, 1);
}

}  // namespace

Margins FrameBordersOf(const FrameSkin& skin) {
  return {PieceSize(skin.Left, true), PieceSize(skin.Top, false), PieceSize(skin.Right, true),
          PieceSize(skin.Bottom, false)};
}

bool IsButtonVisible(const TDataSkinSysButton& button, const FrameWindow& window) {
  const bool first = VisibilityAllows(button.Visibility, TVisibilityColumn::vcFirst, button, window);
  const bool second = button.Visibility1 == 100
                          ? first
                          : VisibilityAllows(button.Visibility1, TVisibilityColumn::vcSecond, button, window);
  if (!first || !second) return false;
  if (button.Action == 1 && !HasFlag(window.CaptionFlags, cfMaxBox)) return false;
  if (button.Action == 2 && !HasFlag(window.CaptionFlags, cfMinBox)) return false;
  return true;
}

ButtonLayout LayoutButtons(const FrameSkin& skin, const FrameWindow& window, const Rect& captionText,
                           const ButtonLayout& previous) {
  ButtonLayout layout;
  layout.Buttons.reserve(skin.Buttons.size());
  const std::int64_t menuBarShift = skin.MenuBar ? skin.MenuBar->LeftWidth : 0;
  for (std::size_t i = 0; i < skin.Buttons.size(); ++i) {
    ButtonPlace place;
    if (i < previous.Buttons.size()) place.Bounds = previous.Buttons[i].Bounds;
    const TDataSkinSysButton* button = skin.Buttons[i].get();
    place.Visible = button && IsButtonVisible(*button, window);
    if (place.Visible && !button->Image.Empty()) {
      const int w = button->Image.Width() / std::max(button->FrameCount, 1);
      const int h = button->Image.Height();
      const std::int64_t x = button->XCoord, y = button->YCoord;
      switch (button->Align) {
        case 0: place.Bounds = Placed(x, y, w, h); break;
        case 1:
          place.Bounds = Placed(std::int64_t(window.Width) - x, y, w, h);
          layout.RightmostLeft = std::max(layout.RightmostLeft, place.Bounds.Left);
          break;
        case 2:
        case 8: place.Bounds = Placed(std::int64_t(captionText.Left) - w - x, y, w, h); break;
        case 3:
        case 9: place.Bounds = Placed(std::int64_t(captionText.Right) + x, y, w, h); break;
        case 100: {
          const int row = window.MenuRowHeight > 0 ? std::min(window.MenuRowHeight, window.MenuBarHeight)
                                                   : window.MenuBarHeight;
          const std::int64_t top = window.Borders.Top + (std::int64_t(row) - h) / 2;
          const std::int64_t left = window.RightToLeft
                                        ? std::int64_t(window.Borders.Left) + x + menuBarShift
                                        : std::int64_t(window.Width) - window.Borders.Right - x - menuBarShift;
          place.Bounds = Placed(left, top, w, h);
          break;
        }
        default: place.Bounds = Placed(0, 0, w, h); break;
      }
    }
    layout.Buttons.push_back(place);
  }
  return layout;
}

int MenuBarButtonsReserve(const FrameSkin& skin, const FrameWindow& window) {
  const ButtonLayout layout = LayoutButtons(skin, window, {}, ButtonLayout{});
  std::int64_t reserve = 0;
  for (std::size_t i = 0; i < layout.Buttons.size(); ++i) {
    const TDataSkinSysButton* button = skin.Buttons[i].get();
    if (!button || button->Visibility != 100 || button->Align != 100 || button->Image.Empty()) continue;
    if (!layout.Buttons[i].Visible) continue;
    const Rect& b = layout.Buttons[i].Bounds;
    reserve = std::max(reserve, window.RightToLeft ? std::int64_t(b.Right) - window.Borders.Left
                                                   : std::int64_t(window.Width) - window.Borders.Right - b.Left);
  }
  return int(std::min(reserve, kFar));
}

void DrawCaptionButton(TPixelBitmap& canvas, const Rect& target, const TDataSkinSysButton& button, TStateFlags state,
                       const TPixelBitmap* icon) {
  if (IconButton(button)) {
    if (!icon) return;
    TElementImage whole;
    whole.FStrip = icon;
    whole.FTransparent = true;
    DrawFrameKeyed(canvas, target, whole, 1);
    return;
  }
  const TElementKind kind = button.Visibility == 100 ? TElementKind::ekMdiButton : TElementKind::ekCaptionButton;
  DrawFrameKeyed(canvas, target, ButtonImage(button), StripFrameIndex(kind, state, button.FrameCount));
}

CaptionPlacement PlaceCaption(const Rect& strip, Extent measured, const TDataSkinTitle& title,
                              const FrameWindow& window, int rightmostButtonLeft) {
  const std::int64_t textWidth = std::int64_t(measured.Width) + title.TextBackLeft + title.TextBackRight;
  const std::int64_t textHeight = measured.Height;
  const std::int64_t stripWidth = strip.Width(), stripHeight = strip.Height();
  const int alignment = window.RightToLeft ? 2 : title.TextAlignment;
  std::int64_t across = 0;
  switch (alignment) {
    case 0: across = title.LeftWidth; break;
    case 1: across = (stripWidth - textWidth) / 2; break;
    case 2: across = stripWidth - title.RightWidth - textWidth; break;
    default: break;
  }
  const std::int64_t down = (stripHeight - textHeight) / 2 + std::int64_t(title.TopHeight) / 2;

  CaptionPlacement placement;
  Rect& text = placement.Text;
  text.Left = Coordinate(strip.Left + across);
  text.Top = Coordinate(strip.Top + down);
  text.Right = Coordinate(text.Left + textWidth);
  text.Bottom = Coordinate(text.Top + textHeight);
  if (!window.Popup) {
    text.Right = std::min(text.Right, Coordinate(std::int64_t(strip.Right) - title.RightWidth));
  } else {
    const int reach = Coordinate(std::int64_t(rightmostButtonLeft) - 5);
    text.Right = std::max(text.Right, reach);
  }
  placement.Back = {text.Left, strip.Top, text.Right, strip.Bottom};
  placement.Inner = {Coordinate(std::int64_t(text.Left) + title.TextBackLeft), text.Top,
                     Coordinate(std::int64_t(text.Right) - title.TextBackRight), text.Bottom};
  return placement;
}

TPixelBitmap RenderBorderPiece(TFrameEdge edge, int width, int height, const TDataSkinBorder& record, bool active) {
  if (width <= 0 || height <= 0) return TPixelBitmap();
  TPixelBitmap piece(width, height);
  TElementImage image;
  image.FStrip = &record.Image;
  image.FFrameCount = record.FrameCount;
  image.FMargins = record.GetMargins();
  image.FTile = record.Tile != 1;  // Tile holds the edge's stretch switch
  image.FVertical = edge == TFrameEdge::feTop || edge == TFrameEdge::feBottom;
  const TStateFlags state = active ? TStateFlags::csNone : TStateFlags::csInactive;
  DrawElement(piece, piece.Bounds(), image, StripFrameIndex(TElementKind::ekFramePiece, state, record.FrameCount));
  return piece;
}

void DrawCaptionBackground(TPixelBitmap& caption, const FrameSkin& skin, const FrameWindow& window,
                           const CaptionPlacement& placement) {
  const Margins& b = window.Borders;
  if (skin.Top) {
    const TPixelBitmap top =
        RenderBorderPiece(TFrameEdge::feTop, window.Width - b.Left - b.Right, b.Top, *skin.Top, window.Active);
    CopyPixels(caption, b.Left, 0, top, top.Bounds());
  }
  if (!skin.Title || skin.Title->Image.Empty()) return;
  // Two frames stacked, whatever the record says.
  constexpr int kTitleFrames = 2;
  const TDataSkinTitle& title = *skin.Title;
  TElementImage image;
  image.FStrip = &title.Image;
  image.FFrameCount = kTitleFrames;
  image.FVertical = true;
  const int frame = StripFrameIndex(TElementKind::ekFramePiece, WindowState(window), kTitleFrames);
  if (!CanDraw(placement.Back, image, frame)) return;
  DrawThreeSliceTiled(caption, placement.Back, title.Image, TDrawFlags::dfVertical | TDrawFlags::dfTransparent,
                      kTitleFrames, frame, {title.TextBackLeft, 0, title.TextBackRight, 0});
}

void DrawCaptionButtons(TPixelBitmap& caption, const FrameSkin& skin, const FrameWindow& window,
                        const ButtonLayout& layout, const TPixelBitmap* icon) {
  const std::size_t count = std::min(skin.Buttons.size(), layout.Buttons.size());
  for (std::size_t i = 0; i < count; ++i) {
    const TDataSkinSysButton* button = skin.Buttons[i].get();
    if (!button || !layout.Buttons[i].Visible || button->Image.Empty() || button->Visibility == 100) continue;
    DrawCaptionButton(caption, layout.Buttons[i].Bounds, *button, WindowState(window), icon);
  }
}

std::vector<TRegionBatch> FrameRegionRects(const FrameWindow& window, const FrameSkin& skin,
                                           const TPixelBitmap* caption) {
  std::vector<TRegionBatch> batches;
  const int W = window.Width, H = window.Height;
  if (W <= 0 || H <= 0) return batches;
  if (!Keyed(skin.Left) && !Keyed(skin.Right) && !Keyed(skin.Top) && !Keyed(skin.Bottom)) {
    AddRect(batches, {0, 0, W, H});
    return batches;
  }
  const int L = window.Borders.Left, T = window.Borders.Top, R = window.Borders.Right, B = window.Borders.Bottom;
  AddRect(batches, {L, T, W - R, H - B});
  if (window.FrameType == TFrameType::ftCaptionless) return batches;

  if (Keyed(skin.Left) && H > 1) {
    AddOpaque(batches, RenderBorderPiece(TFrameEdge::feLeft, L, H, *skin.Left, window.Active), 0, 0);
  } else {
    AddRect(batches, {0, 0, L, H});
  }
  if (Keyed(skin.Right) && H > 1) {
    AddOpaque(batches, RenderBorderPiece(TFrameEdge::feRight, R, H, *skin.Right, window.Active), W - R, 0);
  } else {
    AddRect(batches, {W - R, 0, W, H});
  }
  const int between = W - L - R;
  if (Keyed(skin.Bottom) && B >= 2) {
    AddOpaque(batches, RenderBorderPiece(TFrameEdge::feBottom, between, B, *skin.Bottom, window.Active), L, H - B);
  } else {
    AddRect(batches, {L, H - B, W - R, H});
  }
  if (Keyed(skin.Top) && T > 1 && between > 0) {
    if (caption && caption->Width() == W && caption->Height() == T) {
      TPixelBitmap top(between, T);
      CopyPixels(top, 0, 0, *caption, {L, 0, W - R, T});
      AddOpaque(batches, top, L, 0);
    } else {
      AddOpaque(batches, RenderBorderPiece(TFrameEdge::feTop, between, T, *skin.Top, window.Active), L, 0);
    }
  } else {
    AddRect(batches, {L, 0, W - R, T});
  }
  return batches;
}

bool RegionRebuildNeeded(Extent window, Extent built, TRegionFlags flags) {
  if (window.Width <= 0 || window.Height <= 0) return false;
  if (window != built) return true;
  return HasFlag(flags, TRegionFlags::rfMdiChild) || HasFlag(flags, TRegionFlags::rfRefreshing);
}

}  // namespace kv
