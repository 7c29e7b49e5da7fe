#include "skin/controls/SkinRanges.h"

#include <algorithm>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "framework/Messages.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

// The skin at the window's DPI.
const TSkinDefinition* ModelOf(const TSkinData* data, HWND window) { return data ? &data->ModelFor(window) : nullptr; }

const TSkinColours& ColoursOf(const TSkinData* data) {
  static const TSkinColours defaults;
  return data ? data->Model().Colours : defaults;
}

// One arrow line as the platform draws lines: the last point is left out.
void Line(HDC dc, int x, int y, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x + x0, y + y0, nullptr);
  LineTo(dc, x + x1, y + y1);
}

// The fallback arrows, as offsets from the button's centre (y grows downward).
void DrawArrow(HDC dc, const RECT& r, bool second, bool horizontal) {
  const int x = r.left + (r.right - r.left) / 2;
  const int y = r.top + (r.bottom - r.top) / 2 - (horizontal ? 0 : 2);
  if (horizontal) {
    const int s = second ? -1 : 1;  // the right arrow is the left one mirrored
    const POINT points[5] = {{x, y}, {x + s, y + 2}, {x + s, y - 2}, {x - s, y}, {x + s, y + 2}};
    Polyline(dc, points, 5);
  } else if (!second) {
    Line(dc, x, y, 0, 0, 0, -1);
    Line(dc, x, y, 1, 1, 4, 4);
    Line(dc, x, y, 0, 1, 3, 4);
    Line(dc, x, y, 0, 2, 2, 4);
    Line(dc, x, y, -1, 1, -4, 4);
    Line(dc, x, y, 0, 2, -3, 4);
    Line(dc, x, y, 0, 1, -2, 4);
  } else {
    Line(dc, x, y, 0, 3, 0, 4);
    Line(dc, x, y, 1, 2, 4, -1);
    Line(dc, x, y, 0, 2, 3, -1);
    Line(dc, x, y, 0, 1, 2, 0);
    Line(dc, x, y, -1, 2, -4, -1);
    Line(dc, x, y, 0, 2, -3, -1);
    Line(dc, x, y, 0, 1, -2, 0);
  }
}

}  // namespace

// ---- track bar

bool TSkinTrackBar::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_NOTIFY:
    case CN_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
      // A tooltip of the track bar notifies it too: only the bar's own drawing is ours.
      if (!header || header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != FHandle) return true;
      message.Result = TrackCustomDraw(*reinterpret_cast<const NMCUSTOMDRAW*>(message.LParam));
      return false;
    }
    default: return true;
  }
}

LRESULT TSkinTrackBar::TrackCustomDraw(const NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT || draw.dwItemSpec != TBCD_THUMB) return CDRF_DODEFAULT;
  DrawThumb(draw.hdc, draw.uItemState);
  return CDRF_SKIPDEFAULT;
}

void TSkinTrackBar::DrawThumb(HDC dc, UINT itemState) {
  if (!dc || !FHandle) return;
  RECT thumb{};
  SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  const TDataSkinObject* element = nullptr;
  if (model) {
    const bool vertical = (GetWindowLongPtrW(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    element = vertical && model->TrackbarThumbVert ? model->TrackbarThumbVert.get() : model->TrackbarThumbHorz.get();
  }
  if (element && !element->Image.Empty()) {
    // The frame table decides what a dragged or hot thumb shows.
    TStateFlags state = TStateFlags::csNone;
    if (itemState & CDIS_HOT) state |= TStateFlags::csHot;
    if (itemState & CDIS_SELECTED) state |= TStateFlags::csPressed;
    const int frames = FixedFrameCount(TElementKind::ekTrackbarThumb);
    DrawFrameTransparent(dc, thumb, element->Image, frames,
                         StripFrameIndex(TElementKind::ekTrackbarThumb, state, frames));
    return;
  }
  // The DC's own brush fills it, so the thumb keeps the platform's face.
  const TPenHandle pen(CreatePen(PS_SOLID, 1, ResolveColor(ColoursOf(FSkinData).ButtonShadowColour)));
  if (!pen) return;
  const TSelectGuard selectPen(dc, pen.Get());
  Rectangle(dc, thumb.left, thumb.top, thumb.right, thumb.bottom);
}

// ---- up-down

bool TSkinUpDown::BeforeMessage(TMessage& message) {
  if (TakePaintMessages(message)) return false;
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP: {
      const bool down = message.Msg != WM_LBUTTONUP;
      if (!down) FState &= std::uint8_t(~sbPressed);
      const std::weak_ptr<char> alive = FAlive;
      CallOldProc(message);
      if (alive.expired()) return false;
      if (down) FState |= sbPressed;
      PaintSkin(nullptr);
      return false;
    }
    default: return true;
  }
}

void TSkinUpDown::DrawSkin(HDC dc, const RECT& rect) {
  if (!FHandle) return;
  RECT c;
  if (!GetClientRect(FHandle, &c)) return;
  const int width = c.right - c.left, height = c.bottom - c.top;
  if (width <= 0 || height <= 0) return;
  HDC buffer = ScratchDc(width, height);
  if (!buffer) return;
  FillFace(buffer, RECT{0, 0, width, height});
  if (FInset) InflateRect(&c, -1, -1);

  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(FHandle, &p);
  const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FEnabled = (style & WS_DISABLED) == 0;

  // The half under the cursor shows the press (or hover); the other stays plain.
  TStateFlags under = TStateFlags::csNone, other = TStateFlags::csNone;
  if (!FEnabled) {
    under = other = TStateFlags::csDisabled;
  } else if (FState & sbPressed) {
    under = TStateFlags::csPressed;
  } else if (FState & sbHot) {
    under = TStateFlags::csHot;
  }

  const bool horizontal = FHorizontal || (style & UDS_HORZ) != 0;
  RECT first = c, second = c;
  bool overFirst;
  if (horizontal) {
    const int half = (c.right - c.left) / 2;
    first.right = second.left = c.left + half;
    overFirst = p.x < half;
  } else {
    const int half = (c.bottom - c.top) / 2;
    first.bottom = second.top = c.top + half;
    overFirst = p.y < half;
  }
  DrawButton(buffer, first, false, horizontal, overFirst ? under : other);
  DrawButton(buffer, second, true, horizontal, overFirst ? other : under);
  BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
}

void TSkinUpDown::DrawButton(HDC dc, const RECT& button, bool second, bool horizontal, TStateFlags state) {
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  const TDataSkinBorder* element = nullptr;
  if (model) element = horizontal ? model->UpDownHorz.get() : model->UpDownVert.get();
  const TElementKind kind = second ? TElementKind::ekUpDownSecond : TElementKind::ekUpDownFirst;

  if (element && !element->Image2.Empty()) {
    const int frames = FixedFrameCount(kind);
    const int frame = FrameIndex(kind, state);
    DrawFrameTransparent(dc, button, element->Image, frames, frame);
    const TPixelBitmap& glyphs = element->Image2;
    const int cellWidth = glyphs.Width() / frames, cellHeight = glyphs.Height();
    const int left = button.left + (button.right - button.left - cellWidth) / 2;
    const int top = button.top + (button.bottom - button.top - cellHeight) / 2;
    DrawFrameTransparent(dc, RECT{left, top, left + cellWidth, top + cellHeight}, glyphs, frames, frame);
    return;
  }

  const TSkinColours& colours = ColoursOf(FSkinData);
  const bool sunk = !HasFlag(state, TStateFlags::csDisabled) &&
                    (HasFlag(state, TStateFlags::csPressed) || HasFlag(state, TStateFlags::csHot));
  const TBrushHandle brush(
      CreateSolidBrush(ResolveColor(sunk ? colours.ButtonShadowColour : colours.ButtonFaceColour)));
  const TPenHandle pen(CreatePen(PS_SOLID, 1, ResolveColor(colours.ButtonDkShadowColour)));
  if (!brush || !pen) return;
  const TSelectGuard selectBrush(dc, brush.Get());
  const TSelectGuard selectPen(dc, pen.Get());
  Rectangle(dc, button.left, button.top, button.right, button.bottom);
  DrawArrow(dc, button, second, horizontal);
}

}  // namespace kv
