#include "skin/controls/SkinScrollBars.h"

#include <windowsx.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "framework/Controls.h"
#include "framework/Messages.h"
#include "framework/RangeCtrls.h"
#include "skin/controls/SkinBoxes.h"
#include "skin/core/SkinData.h"
#include "skin/data/BarArithmetic.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/PixelScale.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

// Bars are composed this thick at 96 DPI (scaled at others) and stretched to the real
// thickness.
constexpr int kComposeThickness = 16;
// The arrow button at one end of a bar, pressed or not.
int ArrowFrame(bool vertical, bool second, bool pressed) {
  const TElementKind kind = vertical ? (second ? TElementKind::ekScrollDown : TElementKind::ekScrollUp)
                                     : (second ? TElementKind::ekScrollRight : TElementKind::ekScrollLeft);
  return FrameIndex(kind, pressed ? TStateFlags::csPressed : TStateFlags::csNone);
}

// The skin at the window's DPI.
const TSkinDefinition* ModelOf(const TSkinData* data, HWND window) { return data ? &data->ModelFor(window) : nullptr; }

// The stretched copy of the composed bar, colour on colour as the bars were drawn for.
void StretchToDc(HDC dc, const RECT& target, const TPixelBitmap& bitmap) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bitmap.Width();
  info.bmiHeader.biHeight = -bitmap.Height();  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                bitmap.Width(), bitmap.Height(), bitmap.Pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
  if (oldMode) SetStretchBltMode(dc, oldMode);
}

// Keeps a flag set while the control handles a scroll message, also when that throws.
class TFlagScope {
 public:
  explicit TFlagScope(bool& flag, std::weak_ptr<char> life) : FFlag(flag), FLife(std::move(life)) { FFlag = true; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;
  ~TFlagScope() {
    if (!FLife.expired()) FFlag = false;
  }

 private:
  bool& FFlag;
  std::weak_ptr<char> FLife;
};

// The mouse captured for one window while it lives; given back once.
class TCaptureScope {
 public:
  explicit TCaptureScope(HWND wnd) : FWnd(wnd) { SetCapture(wnd); }
  TCaptureScope(const TCaptureScope&) = delete;
  TCaptureScope& operator=(const TCaptureScope&) = delete;
  ~TCaptureScope() { Release(); }
  void Release() const {
    if (GetCapture() == FWnd) ReleaseCapture();
  }

 private:
  HWND FWnd;
};

}  // namespace

int ArrowSize(int dpi) { return SystemMetricForDpi(SM_CXHSCROLL, dpi); }

bool HasArrows(const TSkinDefinition* model) { return model && model->Scrollbar && !model->Scrollbar->Image.Empty(); }

int BarLength(const RECT& r, bool vertical) { return vertical ? r.bottom - r.top : r.right - r.left; }

UINT RepaintMessage() {
  static const UINT message = RegisterWindowMessageW(L"Kv.ScrollBarRepaint");
  return message;
}

void PostRepaint(HWND wnd, bool& posted) {
  if (!posted && wnd) posted = PostMessageW(wnd, RepaintMessage(), 0, 0) != FALSE;
}

bool TakeRepaint(TMessage& m, bool& posted, TSkinControl& skin) {
  if (m.Msg != RepaintMessage()) return false;
  posted = false;
  skin.PaintSkin(nullptr);
  m.Result = 0;
  return true;
}

TScrollPart PartOfScroll(WPARAM wParam, bool vertical) {
  switch (LOWORD(wParam)) {
    case SB_LINEUP: return vertical ? spUpArrow : spLeftArrow;
    case SB_LINEDOWN: return vertical ? spDownArrow : spRightArrow;
    case SB_THUMBTRACK: return vertical ? spVertThumb : spHorzThumb;
    default: return spNone;
  }
}

int MinimumThumbLength(int dpi) {
  return (GetVersion() & 0x80000000u) ? ArrowSize(dpi) / 2 : ScaleLength(8, int(dpi));
}

bool DrawSkinScrollBar(HDC dc, const RECT& bar, const TSkinDefinition& model, const TScrollBarLook& look) {
  if (!HasArrows(&model)) return false;
  const int width = bar.right - bar.left, height = bar.bottom - bar.top;
  if (width <= 0 || height <= 0) return true;
  const bool vertical = look.Vertical;
  const int length = vertical ? height : width;
  const int a = ArrowSize(look.Dpi);
  const int thickness = ScaleLength(kComposeThickness, int(look.Dpi));
  TPixelBitmap bitmap(vertical ? thickness : length, vertical ? length : thickness,
                      PixelOf(ResolveColor(model.Colours.ScrollbarColour)));
  const auto along = [vertical, thickness](int from, int to) {
    return vertical ? Rect{0, from, thickness, to} : Rect{from, 0, to, thickness};
  };

  if (const TDataSkinObject* track = vertical ? model.VertScroll.get() : model.HorzScroll.get()) {
    TElementImage image = ElementImage(*track);
    image.FFrameCount = FixedFrameCount(TElementKind::ekScrollTrack);
    DrawElement(bitmap, along(a, length - a), image, FrameIndex(TElementKind::ekScrollTrack, TStateFlags::csNone));
  }

  // A bar shorter than two arrows shares its length between them.
  const int arrow = length < 2 * a ? length / 2 : a;
  TElementImage arrows;
  arrows.FStrip = &model.Scrollbar->Image;
  arrows.FFrameCount = FixedFrameCount(TElementKind::ekScrollLeft);
  arrows.FTransparent = true;
  DrawElementStretched(bitmap, along(0, arrow), arrows, ArrowFrame(vertical, false, look.FirstPressed));
  DrawElementStretched(bitmap, along(length - arrow, length), arrows, ArrowFrame(vertical, true, look.SecondPressed));

  const TDataSkinObject* thumb = vertical ? model.VertScrollThumb.get() : model.HorzScrollThumb.get();
  if (look.ThumbShown && thumb && look.ThumbLength > 0) {
    TElementImage image = ElementImage(*thumb);
    image.FTile = false;
    const int frames = std::max(thumb->FrameCount, 1);
    image.FFrameCount = frames;
    const TStateFlags state = look.ThumbPressed ? TStateFlags::csDragging : TStateFlags::csNone;
    DrawElement(bitmap, along(look.ThumbStart, look.ThumbStart + look.ThumbLength), image,
                StripFrameIndex(TElementKind::ekScrollThumb, state, frames));
  }

  if ((vertical ? width : height) == thickness) {
    CopyToDc(dc, bar.left, bar.top, bitmap);
  } else {
    StretchToDc(dc, bar, bitmap);
  }
  return true;
}

// ---- TSkinScrollBar

void TSkinScrollBar::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  AttachScrollBars(control, skinData, recolor, canvas);
}

void TSkinScrollBar::AttachScrollBars(TWinControl* control, TSkinData* skinData, bool handleClicks, TCanvas* canvas) {
  if (FAttached || !control) return;
  // The bars are non-client: the client area paints as it did.
  const bool buffered = control->DoubleBuffered();
  TSkinControl::AttachControl(control, skinData, false, canvas);
  if (!FAttached) return;
  SetDoubleBuffered(buffered);
  FDragging = FInVScroll = FInHScroll = false;
  FInfo[0].cbSize = FInfo[1].cbSize = sizeof(SCROLLINFO);
  FGeometry[0].StyleBit = WS_HSCROLL;
  FGeometry[1].StyleBit = WS_VSCROLL;
  FHandleClicks = handleClicks;
  // The frame is measured again; the next frame paint is ours.
  SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TSkinScrollBar::Detach() {
  const bool hooked = FAttached && FHandle;
  EndDrag();
  TSkinControl::Detach();
  // The platform's own bars come back.
  if (hooked && !FDestroying && IsWindow(FHandle))
    RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TSkinScrollBar::SkinChanged() {
  TSkinControl::SkinChanged();
  if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}

void TSkinScrollBar::EndDrag() {
  if (!FDragging) return;
  FDragging = false;
  // The drag loop waits for a message: this one wakes it.
  if (FHandle) PostMessageW(FHandle, WM_NULL, 0, 0);
}

bool TSkinScrollBar::BeforeMessage(TMessage& m) {
  if (TakeRepaint(m, FRepaintPosted, *this)) return false;
  switch (m.Msg) {
    case WM_NCCALCSIZE: CallOldProc(m); return false;
    case WM_NCMOUSEMOVE:
      // The platform would redraw a hot part over ours.
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      if (m.Msg == WM_NCLBUTTONDOWN && FHandleClicks && HandleClick(m)) {
        m.Result = 0;
        return false;
      }
      if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return true;
      // The platform tracks the press to its release and draws the bar once more at the
      // end, after its last scroll message: ours goes over that.
      const std::weak_ptr<char> life = Life();
      CallOldProc(m);
      if (!life.expired()) PaintSkin(nullptr);
      return false;
    }
    case WM_HSCROLL:
    case WM_VSCROLL: {
      const bool vertical = m.Msg == WM_VSCROLL;
      FPart = PartOfScroll(m.WParam, vertical);
      const std::weak_ptr<char> life = Life();
      {
        // The platform draws this bar while the control handles the message.
        const TFlagScope scope(vertical ? FInVScroll : FInHScroll, life);
        CallOldProc(m);
      }
      if (life.expired()) return false;
      PaintSkin(nullptr);
      PostRepaint(FHandle, FRepaintPosted);
      return false;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(m.LParam) != FHandle) EndDrag();
      return true;
    case WM_CANCELMODE:
    case WM_KILLFOCUS: EndDrag(); return true;
    case WM_DESTROY:
      FDestroying = true;
      EndDrag();
      return true;
    default: return true;
  }
}

void TSkinScrollBar::AfterMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_NCPAINT: PaintSkin(nullptr); break;
    case WM_PRINT:
      // Only a print of the frame has room for the bars.
      if (m.LParam & PRF_NONCLIENT) PaintSkin(reinterpret_cast<HDC>(m.WParam));
      break;
    case WM_PAINT:
      // A DC handed in holds the client area alone.
      if (!m.WParam) PaintSkin(nullptr);
      break;
    default: TSkinControl::AfterMessage(m); break;
  }
}

void TSkinScrollBar::DrawSkin(HDC dc, const RECT& rect) {
  if (!FHandle || FDestroying || !HasArrows(ModelOf(FSkinData, FHandle))) return;
  FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  if (FInVScroll) FStyle |= WS_VSCROLL;
  if (FInHScroll) FStyle |= WS_HSCROLL;
  const bool horizontal = (FStyle & WS_HSCROLL) != 0, vertical = (FStyle & WS_VSCROLL) != 0;
  if (!horizontal && !vertical) return;
  ComputeLayout(rect);
  if (horizontal && !IsRectEmpty(&FBarRect[0])) DrawBar(dc, FBarRect[0], 0);
  if (vertical && !IsRectEmpty(&FBarRect[1])) DrawBar(dc, FBarRect[1], 1);
  if (horizontal && vertical && !IsRectEmpty(&FCorner)) FillFace(dc, FCorner);
}

void TSkinScrollBar::ComputeLayout(const RECT& r) {
  const int a = ArrowSize(WindowDpi(FHandle));
  RECT c{};
  GetClientRect(FHandle, &c);
  const bool horizontal = (FStyle & WS_HSCROLL) != 0, vertical = (FStyle & WS_VSCROLL) != 0;
  // The non-client width outside the bar, split evenly.
  int e = 0;
  if (vertical) {
    e = (r.right - c.right - a) / 2;
  } else if (horizontal) {
    e = (r.bottom - c.bottom - a) / 2;
  }
  FGeometry[0].ArrowLength = FGeometry[1].ArrowLength = a;
  FBarRect[0] = FBarRect[1] = FCorner = RECT{};
  if ((FExStyle & WS_EX_LEFTSCROLLBAR) == 0) {
    if (horizontal && vertical) {
      FBarRect[0] = {r.left + e, r.bottom - e - a, r.right - e - a, r.bottom - e};
      FBarRect[1] = {r.right - e - a, e, r.right - e, r.bottom - e - a};
      FCorner = {r.right - e - a, FBarRect[0].top, r.right - e, FBarRect[0].bottom};
    } else if (horizontal) {
      FBarRect[0] = {r.left + e, r.bottom - e - a, r.right - e, r.bottom - e};
    } else {
      FBarRect[1] = {r.right - e - a, e, r.right - e, r.bottom - e};
    }
  } else {
    if (horizontal && vertical) {
      FBarRect[0] = {a + e, r.bottom - e - a, r.right - e, r.bottom - e};
      FBarRect[1] = {e, e, a + e, r.bottom - e - a};
      FCorner = {e, FBarRect[0].top, a + e, FBarRect[0].bottom};
    } else if (horizontal) {
      FBarRect[0] = {e, r.bottom - e - a, r.right - e, r.bottom - e};
    } else {
      FBarRect[1] = {e, e, a + e, r.bottom - e};
    }
  }
}

void TSkinScrollBar::ComputeThumb(const RECT& barRect, int bar) {
  // While dragging, the thumb stays where the mouse put it.
  if (FDragging || !FHandle) return;
  bar &= 1;
  const int dpi = WindowDpi(FHandle);
  const int a = ArrowSize(dpi);
  const int length = BarLength(barRect, bar == 1);
  const int l = length - 2 * a;
  SCROLLINFO& info = FInfo[bar];
  info.cbSize = sizeof(SCROLLINFO);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(FHandle, bar == 1 ? SB_VERT : SB_HORZ, &info)) return;
  TThumbSpan span;
  if (!PlaceThumb(info.nMin, info.nMax, info.nPage, info.nPos, l, MinimumThumbLength(dpi),
                  SystemMetricForDpi(SM_CXHTHUMB, dpi), false, span))
    return;  // the previous geometry stands
  FGeometry[bar].TrackLength = l;
  FGeometry[bar].ThumbLength = span.Length;
  FGeometry[bar].ThumbOffset = span.Offset;
}

void TSkinScrollBar::DrawBar(HDC dc, const RECT& barRect, int bar) {
  bar &= 1;
  const bool vertical = bar == 1;
  if (vertical ? FInVScroll : FInHScroll) return;  // the platform is drawing it
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  if (!HasArrows(model)) return;
  ComputeThumb(barRect, bar);
  const int dpi = WindowDpi(FHandle);
  const int a = ArrowSize(dpi);
  const int length = BarLength(barRect, vertical);
  const int arrow = length < 2 * a ? length / 2 : a;
  const TScrollGeometry& g = FGeometry[bar];
  TScrollBarLook look;
  look.Vertical = vertical;
  look.FirstPressed = FPart == (vertical ? spUpArrow : spLeftArrow);
  look.SecondPressed = FPart == (vertical ? spDownArrow : spRightArrow);
  // A geometry kept from an earlier size must still fit the track.
  look.ThumbShown =
      g.TrackLength >= g.ThumbLength && g.ThumbOffset >= 0 && g.ThumbOffset + g.ThumbLength <= length - 2 * a;
  look.ThumbStart = arrow + g.ThumbOffset;
  look.ThumbLength = g.ThumbLength;
  look.ThumbPressed = FPart == (vertical ? spVertThumb : spHorzThumb);
  look.Dpi = dpi;
  DrawSkinScrollBar(dc, barRect, *model, look);
}

TScrollHit TSkinScrollBar::HitTest(int c, int bar) const {
  const TScrollGeometry& g = FGeometry[bar & 1];
  const int a = g.ArrowLength;
  if (c < a) return shLineBack;
  if (c < a + g.ThumbOffset) return shPageBack;
  if (c < a + g.ThumbOffset + g.ThumbLength) return shThumb;
  if (c < a + g.TrackLength) return shPageForward;
  if (c < 2 * a + g.TrackLength) return shLineForward;
  return shNowhere;
}

bool TSkinScrollBar::HandleClick(const TMessage& m) {
  if (m.WParam != HTHSCROLL && m.WParam != HTVSCROLL) return false;
  // Without the skin's bars the platform keeps its own.
  if (!FHandle || FDragging || !HasArrows(ModelOf(FSkinData, FHandle))) return false;
  const int bar = m.WParam == HTVSCROLL ? 1 : 0;
  // A bar the program switched off does not move for the platform either.
  SCROLLBARINFO state{};
  state.cbSize = sizeof(state);
  // (Some platforms mark only both arrows.)
  if (GetScrollBarInfo(FHandle, bar == 1 ? OBJID_VSCROLL : OBJID_HSCROLL, &state) &&
      ((state.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) ||
       (state.rgstate[1] & state.rgstate[5] & STATE_SYSTEM_UNAVAILABLE)))
    return false;
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  RECT w;
  if (!GetWindowRect(FHandle, &w)) return false;
  // The geometry as the bar is now, not as it was last painted.
  FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  ComputeLayout(RECT{0, 0, w.right - w.left, w.bottom - w.top});
  const RECT& barRect = FBarRect[bar];
  if (IsRectEmpty(&barRect)) return false;
  ComputeThumb(barRect, bar);
  const int c = bar == 1 ? p.y - w.top - barRect.top : p.x - w.left - barRect.left;
  if (HitTest(c, bar) != shThumb) return false;
  FPart = bar == 1 ? spVertThumb : spHorzThumb;
  PaintSkin(nullptr);
  DragThumb(bar, bar == 1 ? WM_VSCROLL : WM_HSCROLL, p);
  return true;
}

void TSkinScrollBar::DragThumb(int bar, UINT scrollMessage, POINT origin) {
  bar &= 1;
  const HWND wnd = FHandle;
  if (!wnd) return;
  const std::weak_ptr<char> life = Life();
  FDragging = true;
  const TScrollGeometry start = FGeometry[bar];
  int last = FInfo[bar].nPos;
  // Every mouse message comes to us until the release, wherever the mouse goes; the
  // capture is given back however the drag ends (also when this skin is freed in it).
  const TCaptureScope capture(wnd);

  // One mouse position (screen) during the drag: the thumb follows, the control scrolls.
  const auto follow = [&](POINT p) {
    const std::int64_t moved = bar == 1 ? std::int64_t(p.y) - origin.y : std::int64_t(p.x) - origin.x;
    SCROLLINFO& info = FInfo[bar];
    const int l = start.TrackLength, t = start.ThumbLength;
    const std::int64_t offset = start.ThumbOffset + moved;
    const int position = DragPosition(info.nMin, info.nMax, info.nPage, offset, l, t);
    if (position != last) {
      info.nPos = info.nTrackPos = position;
      // Shown inside the track whatever the position mapping allows.
      FGeometry[bar].ThumbOffset = int(std::clamp<std::int64_t>(offset, 0, std::max(l - t, 0)));
      SCROLLINFO set{};
      set.cbSize = sizeof(set);
      set.fMask = SIF_POS;
      set.nPos = position;
      SetScrollInfo(wnd, bar == 1 ? SB_VERT : SB_HORZ, &set, FALSE);
      SendMessageW(wnd, scrollMessage, MAKEWPARAM(SB_THUMBTRACK, position), 0);
    }
    last = position;
  };

  try {
    MSG msg;
    // Waits for each message: a held thumb costs nothing while the mouse rests.
    while (!life.expired() && FDragging) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // the program is ending: the main loop's to see
        break;
      }
      if (got == -1) break;
      if (msg.message == WM_LBUTTONUP || msg.message == WM_NCLBUTTONUP) break;
      // The release went elsewhere (another program took it, the button came up while
      // the system was busy): the first move without the button ends the drag.
      if (msg.message == WM_MOUSEMOVE && !(msg.wParam & MK_LBUTTON)) break;
      const bool move = msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE;
      if (!move) TranslateMessage(&msg);
      DispatchMessageW(&msg);
      if (life.expired() || !FDragging || !IsWindow(wnd) || GetCapture() != wnd) break;
      if (move) {
        POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        if (msg.message == WM_MOUSEMOVE) ClientToScreen(msg.hwnd, &p);
        follow(p);
      }
    }
  } catch (...) {
    if (!life.expired()) FDragging = false;
    capture.Release();
    HandleCurrentException();
  }
  const bool alive = !life.expired();
  if (alive) FDragging = false;
  capture.Release();
  if (!IsWindow(wnd) || (alive && FDestroying)) return;
  // Released or cut short: the control ends where the thumb was last put.
  SendMessageW(wnd, scrollMessage, MAKEWPARAM(SB_THUMBPOSITION, last), 0);
  PostMessageW(wnd, scrollMessage, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
}

// ---- TSkinListView

void TSkinListView::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (FAttached) return;
  AttachScrollBars(control, skinData, recolor, canvas);
  if (!FAttached || FHeader) return;
  const auto header = reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
  if (!header) return;
  TSkinControl* skin = MakeChildSkin<TSkinHeader>();
  if (!skin) return;
  WatchReference(FHeader, skin);
  skin->AttachWindow(header, skinData, canvas);
}

void TSkinListView::Notification(TComponent* component, TOperation operation) {
  TSkinScrollBar::Notification(component, operation);
  if (operation == opRemove && component == FHeader) FHeader = nullptr;
}

}  // namespace kv
