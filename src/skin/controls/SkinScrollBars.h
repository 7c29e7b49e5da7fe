#pragma once
// Scroll bars drawn from the skin. TSkinScrollBar paints the bars the platform puts into a
// scrollable control's non-client area; TSkinListView is that for list views, with their
// header; TSkinScControl paints a stand-alone scroll-bar control.
//
// The platform keeps scrolling: arrow and page clicks, keys, auto-repeat are its own; the
// skin repaints after each scroll message. A thumb drag is ours (when the control asks for
// it), so that the thumb follows the skin's geometry.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "base/win/Dpi.h"
#include "skin/controls/SkinControl.h"

namespace kv {

class TSkinDefinition;

// Which part of a bar shows pressed.
enum TScrollPart : std::int32_t {
  spNone = 0,
  spLeftArrow = 1,
  spRightArrow = 2,
  spUpArrow = 3,
  spDownArrow = 4,
  spHorzThumb = 5,
  spVertThumb = 6,
};

// What HitTest answers: the scroll code a press there starts (the thumb is SB_THUMBTRACK).
enum TScrollHit : int {
  shNowhere = -1,
  shLineBack = SB_LINEUP,
  shLineForward = SB_LINEDOWN,
  shPageBack = SB_PAGEUP,
  shPageForward = SB_PAGEDOWN,
  shThumb = SB_THUMBTRACK,
};

// One bar's lengths along the bar.
struct TScrollGeometry {
  int ArrowLength = 0;
  int TrackLength = 0;
  int ThumbLength = 0;
  int ThumbOffset = 0;  // from the end of the first arrow
  DWORD StyleBit = 0;   // WS_HSCROLL or WS_VSCROLL
};

// How one bar looks, for the drawing both bar skins share.
struct TScrollBarLook {
  bool Vertical = false;
  bool FirstPressed = false;   // the up or left arrow
  bool SecondPressed = false;  // the down or right arrow
  bool ThumbShown = false;
  int ThumbStart = 0;  // from the bar's start (first arrow included)
  int ThumbLength = 0;
  bool ThumbPressed = false;
  int Dpi = kDefaultDpi;  // the window's: arrow size and composing thickness follow it
};

// The bar composed 16 pixels thick (at 96 DPI, scaled with look.Dpi) from the skin's Scrollbar, HorzScroll / VertScroll and
// thumb elements over ScrollbarColour, stretched onto `bar` of `dc`. False (nothing drawn)
// without a Scrollbar picture.
bool DrawSkinScrollBar(HDC dc, const RECT& bar, const TSkinDefinition& model, const TScrollBarLook& look);

// The least thumb length the platform draws.
int MinimumThumbLength(int dpi);
// The system's arrow-button size at a DPI, a bar's length along its direction, and
// whether the skin has the arrow pictures every bar needs.
int ArrowSize(int dpi);
int BarLength(const RECT& r, bool vertical);
bool HasArrows(const TSkinDefinition* model);
// Asks a bar skin to paint once more when the queue comes round to it: the platform,
// tracking a held arrow, draws its own bar right after each scroll message. One request
// at a time is posted; `posted` is cleared when it arrives.
UINT RepaintMessage();
void PostRepaint(HWND wnd, bool& posted);
// The requested repaint arrived: `skin` paints, `posted` is cleared; true for that message
// (answered, kept from the control), false for any other.
bool TakeRepaint(TMessage& m, bool& posted, TSkinControl& skin);
// The part a scroll message's code shows pressed.
TScrollPart PartOfScroll(WPARAM wParam, bool vertical);

class TSkinScrollBar : public TSkinControl {
 public:
  TSkinScrollBar() : TSkinControl(TControlSkinKind::skScrollBar) {}
  std::string_view ClassName() const override { return "TSkinScrollBar"; }

  // Takes the control's own scroll bars; `handleClicks`: thumb drags are ours.
  void AttachScrollBars(TWinControl* control, TSkinData* skinData, bool handleClicks, TCanvas* canvas);
  // A control skin handed over by classification: `recolor` says whether thumb drags
  // are ours (nothing is recoloured).
  void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) override;
  void Detach() override;
  bool BeforeMessage(TMessage& message) override;
  void AfterMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  void SkinChanged() override;

  // Bar rectangles and the size box, in window coordinates, from the window rectangle at
  // origin.
  void ComputeLayout(const RECT& windowRect);
  // Reads bar `bar` (0 horizontal, 1 vertical) from the platform and places its thumb;
  // nothing while the thumb is dragged.
  void ComputeThumb(const RECT& barRect, int bar);
  void DrawBar(HDC dc, const RECT& barRect, int bar);
  // `c` measured along bar `bar` from its start.
  TScrollHit HitTest(int c, int bar) const;
  // A press on a bar (WM_NCLBUTTONDOWN): true when it hit the thumb and the drag is done.
  bool HandleClick(const TMessage& message);
  // Follows the mouse until the button is released, capture is lost or the window goes.
  // `origin`: where the press was (screen). `scrollMessage`: WM_HSCROLL or WM_VSCROLL.
  void DragThumb(int bar, UINT scrollMessage, POINT origin);

  TScrollPart Part() const { return FPart; }
  bool Dragging() const { return FDragging; }
  bool HandleClicks() const { return FHandleClicks; }
  const RECT& BarRect(int bar) const { return FBarRect[bar & 1]; }
  const RECT& Corner() const { return FCorner; }
  const TScrollGeometry& Geometry(int bar) const { return FGeometry[bar & 1]; }

 protected:
  explicit TSkinScrollBar(TControlSkinKind kind) : TSkinControl(kind) {}

  TScrollPart FPart = spNone;
  LONG_PTR FStyle = 0, FExStyle = 0;
  RECT FCorner{};
  bool FDragging = false;
  bool FHandleClicks = false;
  bool FInVScroll = false, FInHScroll = false;
  SCROLLINFO FInfo[2]{};
  RECT FBarRect[2]{};
  TScrollGeometry FGeometry[2];

 private:
  // The drag ends at the next turn of its loop (capture lost, window going).
  void EndDrag();
  // The window is going: nothing more is drawn or sent to it.
  bool FDestroying = false;
  bool FRepaintPosted = false;
};

class TSkinListView : public TSkinScrollBar {
 public:
  TSkinListView() : TSkinScrollBar(TControlSkinKind::skListView) {}
  std::string_view ClassName() const override { return "TSkinListView"; }

  // The scroll bars (recolor says whether thumb drags are ours), then the header.
  void AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) override;
  // The header's skin, owned by our owner; none without a header window.
  TSkinControl* Header() const { return FHeader; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSkinControl* FHeader = nullptr;
};

class TSkinScControl : public TSkinControl {
 public:
  TSkinScControl() : TSkinControl(TControlSkinKind::skScControl) {}
  std::string_view ClassName() const override { return "TSkinScControl"; }

  bool BeforeMessage(TMessage& message) override;
  void DrawSkin(HDC dc, const RECT& rect) override;
  // The thumb of the whole window as one bar; the range counts both ends.
  void ComputeThumb(const RECT& barRect, bool vertical);

  TScrollPart Part() const { return FPart; }
  int TrackLength() const { return FTrackLength; }
  int ThumbLength() const { return FThumbLength; }
  int ThumbOffset() const { return FThumbOffset; }

 private:
  bool Vertical() const;

  TScrollPart FPart = spNone;
  int FTrackLength = 0, FThumbLength = 0, FThumbOffset = 0;
  bool FRepaintPosted = false;
};

}  // namespace kv
