// The stand-alone scroll-bar control: arrows, track and thumb drawn from the skin after
// the platform's own painting, which keeps the scrolling.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "framework/Messages.h"
#include "framework/RangeCtrls.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinData.h"
#include "skin/data/BarArithmetic.h"
#include "skin/data/SkinDefinition.h"

namespace kv {

namespace {

// The skin at the window's DPI.
const TSkinDefinition* ModelOf(const TSkinData* data, HWND window) { return data ? &data->ModelFor(window) : nullptr; }

}  // namespace

bool TSkinScControl::Vertical() const {
  if (const auto* bar = dynamic_cast<const TScrollBar*>(FControl)) return bar->Kind() == sbVertical;
  return FHandle && (GetWindowLongPtrW(FHandle, GWL_STYLE) & SBS_VERT) != 0;
}

bool TSkinScControl::BeforeMessage(TMessage& m) {
  if (TakeRepaint(m, FRepaintPosted, *this)) return false;
  switch (m.Msg) {
    case WM_NCMOUSEMOVE:
      if (m.WParam == HTHSCROLL || m.WParam == HTVSCROLL) {
        m.Result = 0;
        return false;
      }
      return true;
    case WM_SETFOCUS: {
      // The platform marks a focused bar with a blinking caret the shape of its own thumb,
      // which is not where ours is drawn: the caret goes.
      const std::weak_ptr<char> life = Life();
      CallOldProc(m);
      if (life.expired()) return false;
      if (GetFocus() == FHandle) DestroyCaret();
      FFocused = true;
      PaintSkin(nullptr);
      return false;
    }
    case SBM_SETSCROLLINFO:
    case CN_HSCROLL:
    case CN_VSCROLL:
    // The platform redraws the bar itself when its tracking ends and, themed, when the
    // mouse comes and goes: the skin is painted again after each.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE: {
      if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) FPart = PartOfScroll(m.WParam, m.Msg == CN_VSCROLL);
      const std::weak_ptr<char> life = Life();
      CallOldProc(m);
      if (life.expired()) return false;
      PaintSkin(nullptr);
      if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) PostRepaint(FHandle, FRepaintPosted);
      return false;
    }
    default: return true;
  }
}

void TSkinScControl::ComputeThumb(const RECT& barRect, bool vertical) {
  if (!FHandle) return;
  int minimum, maximum, position;
  std::int64_t page;  // a platform page is unsigned
  if (const auto* bar = dynamic_cast<const TScrollBar*>(FControl)) {
    minimum = bar->Min();
    maximum = bar->Max();
    page = bar->PageSize();
    position = bar->Position();
  } else {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!SendMessageW(FHandle, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info))) return;
    minimum = info.nMin;
    maximum = info.nMax;
    page = info.nPage;
    position = info.nPos;
  }
  const int dpi = WindowDpi(FHandle);
  const int a = ArrowSize(dpi);
  const int l = BarLength(barRect, vertical) - 2 * a;
  TThumbSpan span;
  if (!PlaceThumb(minimum, maximum, page, position, l, MinimumThumbLength(dpi), SystemMetricForDpi(SM_CXHTHUMB, dpi),
                  true, span))
    return;
  FTrackLength = l;
  FThumbLength = span.Length;
  FThumbOffset = span.Offset;
}

void TSkinScControl::DrawSkin(HDC dc, const RECT& rect) {
  const TSkinDefinition* model = ModelOf(FSkinData, FHandle);
  if (!HasArrows(model)) return;
  const bool vertical = Vertical();
  ComputeThumb(rect, vertical);
  const int dpi = WindowDpi(FHandle);
  const int a = ArrowSize(dpi);
  const int length = BarLength(rect, vertical);
  TScrollBarLook look;
  look.Vertical = vertical;
  look.FirstPressed = FPart == (vertical ? spUpArrow : spLeftArrow);
  look.SecondPressed = FPart == (vertical ? spDownArrow : spRightArrow);
  look.ThumbShown = FTrackLength >= FThumbLength && FThumbOffset + FThumbLength <= length - 2 * a;
  look.ThumbStart = (length < 2 * a ? length / 2 : a) + FThumbOffset;
  look.ThumbLength = FThumbLength;
  look.ThumbPressed = FPart == spHorzThumb || FPart == spVertThumb;
  look.Dpi = dpi;
  DrawSkinScrollBar(dc, rect, *model, look);
  // The platform's cue, a caret, went at the focus (above): the ring stands for it.
  RECT cue = rect;
  InflateRect(&cue, -1, -1);
  DrawFocusCue(dc, cue);
}

}  // namespace kv
