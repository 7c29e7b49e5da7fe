#include "skin/controls/SkinChecks.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "base/win/Dc.h"
#include "framework/Controls.h"
#include "skin/core/SkinData.h"
#include "skin/core/SkinMessages.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"

namespace kv {

namespace {

// The platform's mark sits in a column this wide; smaller skin cells are centred in it.
constexpr int kMarkColumn = 14;

bool RepaintsMark(UINT msg) {
  switch (msg) {
    case BM_SETCHECK:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case CM_EXIT:
    case SM_REFRESHMARK: return true;
    default: return false;
  }
}

// What the platform's button paints at once, outside WM_PAINT: its mark, pushed look or
// focus for a changed state.
bool PaintsAtOnce(UINT msg) {
  switch (msg) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE: return true;
    default: return false;
  }
}

// A framework control's published "Checked" decides over what the window says: the
// window may not have been told yet.
std::optional<bool> CheckedProperty(const TWinControl* control) {
  if (!control) return std::nullopt;
  const std::optional<std::string> text = GetPropertyText(*control, "Checked");
  if (!text) return std::nullopt;
  std::string lower = *text;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower == "true";
}

const TDataSkinButton* ButtonsOf(const TSkinData* data, HWND window) {
  return data ? data->ModelFor(window).Buttons.get() : nullptr;
}

// The skin has a mark of this kind to paint: else the platform's look stays, painted as usual.
bool HasMark(const TSkinData* data, HWND window, bool radio) {
  const TDataSkinButton* buttons = ButtonsOf(data, window);
  if (!buttons) return false;
  const TElementImage image = radio ? RadioButtonImage(*buttons) : CheckBoxImage(*buttons);
  return image.FStrip && !image.FStrip->Empty();
}

// The platform's box is a row taller than most skins' cells, and its pushed look would
// show there while the button is held: for as long as this lives the button is unpushed,
// each change made with the window's drawing held so that neither paints at once.
class TUnpushed {
 public:
  using TCall = std::function<void(TMessage&)>;
  TUnpushed(HWND wnd, TCall callOld)
      : FWnd(wnd), FCallOld(std::move(callOld)), FPushed((SendMessageW(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0) {
    if (FPushed) SetPushed(false);
  }
  TUnpushed(const TUnpushed&) = delete;
  TUnpushed& operator=(const TUnpushed&) = delete;
  ~TUnpushed() {
    if (FPushed && IsWindow(FWnd)) SetPushed(true);
  }

 private:
  void SetPushed(bool on) {
    SendMessageW(FWnd, WM_SETREDRAW, FALSE, 0);
    TMessage state{BM_SETSTATE, WPARAM(on), 0, 0};
    FCallOld(state);
    SendMessageW(FWnd, WM_SETREDRAW, TRUE, 0);
  }
  HWND FWnd;
  TCall FCallOld;
  bool FPushed;
};

}  // namespace

RECT CheckMarkRect(const RECT& rect, int cellWidth, int cellHeight, bool boxOnRight) {
  RECT mark;
  mark.top = rect.top + (rect.bottom - rect.top - cellHeight) / 2;
  mark.bottom = mark.top + cellHeight;
  const int edge = (kMarkColumn - cellWidth) / 2;
  if (boxOnRight) {
    mark.right = cellWidth <= kMarkColumn ? rect.right - edge : rect.right - 1;
    mark.left = mark.right - cellWidth;
  } else {
    mark.left = cellWidth <= kMarkColumn ? rect.left + edge : rect.left;
    mark.right = mark.left + cellWidth;
  }
  return mark;
}

namespace {

// What one DrawSkin paints: which frame of which strip, and where.
struct TMarkPlan {
  const TPixelBitmap* Strip = nullptr;
  int FrameCount = 1;
  int Frame = 1;
  RECT Mark{};
};

std::optional<TMarkPlan> PlanMark(HWND wnd, const RECT& rect, const TElementImage& image, TElementKind kind,
                                  TStateFlags state) {
  if (!image.FStrip || image.FStrip->Empty()) return std::nullopt;  // the platform's look stays
  TMarkPlan plan;
  plan.Strip = image.FStrip;
  plan.FrameCount = std::max(image.FFrameCount, 1);
  const int cellWidth = image.FStrip->Width() / plan.FrameCount, cellHeight = image.FStrip->Height();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (style & WS_DISABLED) state |= TStateFlags::csDisabled;
  plan.Frame = StripFrameIndex(kind, state, plan.FrameCount);
  plan.Mark = CheckMarkRect(rect, cellWidth, cellHeight, (style & BS_LEFTTEXT) != 0);
  return plan;
}

}  // namespace

// ---- check box

bool TSkinCheckBox::BeforeMessage(TMessage& message) {
  if (!HasMark(FSkinData, FHandle, false)) return true;
  if (ComposePaintMessages(message)) return false;
  return PaintsAtOnce(message.Msg) ? PassHeld(message) : true;
}

void TSkinCheckBox::AfterMessage(TMessage& message) {
  if (RepaintsMark(message.Msg)) {
    Redraw();
    return;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinCheckBox::PaintOwn(HDC dc) {
  const TUnpushed unpushed(FHandle, [this](TMessage& m) { CallOldProc(m); });
  TSkinControl::PaintOwn(dc);
}

void TSkinCheckBox::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinButton* buttons = ButtonsOf(FSkinData, FHandle);
  if (!buttons || !FHandle) return;
  const LRESULT buttonState = SendMessageW(FHandle, BM_GETSTATE, 0, 0);
  bool checked = (buttonState & BST_CHECKED) != 0;
  if (const std::optional<bool> property = CheckedProperty(FControl)) checked = *property;
  TStateFlags state = checked ? TStateFlags::csChecked : TStateFlags::csNone;
  if (buttonState & BST_INDETERMINATE) state |= TStateFlags::csIndeterminate;
  const std::optional<TMarkPlan> plan =
      PlanMark(FHandle, rect, CheckBoxImage(*buttons), TElementKind::ekCheckBox, state);
  if (!plan) return;
  FEnabled = IsWindowEnabled(FHandle) != FALSE;
  const TBufferDc buffer(dc, plan->Mark);
  FillFace(buffer.Get(), plan->Mark);
  DrawFrameTransparent(buffer.Get(), plan->Mark, *plan->Strip, plan->FrameCount, plan->Frame);
}

// ---- radio button

bool TSkinRadioButton::BeforeMessage(TMessage& message) {
  if (!HasMark(FSkinData, FHandle, true)) return true;
  if (ComposePaintMessages(message)) return false;
  return PaintsAtOnce(message.Msg) ? PassHeld(message) : true;
}

void TSkinRadioButton::AfterMessage(TMessage& message) {
  if (RepaintsMark(message.Msg)) {
    Redraw();
    return;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinRadioButton::PaintOwn(HDC dc) {
  const TUnpushed unpushed(FHandle, [this](TMessage& m) { CallOldProc(m); });
  TSkinControl::PaintOwn(dc);
}

void TSkinRadioButton::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinButton* buttons = ButtonsOf(FSkinData, FHandle);
  if (!buttons || !FHandle) return;
  const bool checked = (SendMessageW(FHandle, BM_GETCHECK, 0, 0) & BST_CHECKED) != 0;
  const std::optional<TMarkPlan> plan = PlanMark(FHandle, rect, RadioButtonImage(*buttons), TElementKind::ekRadioButton,
                                                 checked ? TStateFlags::csChecked : TStateFlags::csNone);
  if (!plan) return;
  FEnabled = IsWindowEnabled(FHandle) != FALSE;
  const TBufferDc buffer(dc, plan->Mark);
  FillFace(buffer.Get(), plan->Mark);
  DrawFrameTransparent(buffer.Get(), plan->Mark, *plan->Strip, plan->FrameCount, plan->Frame);
}

}  // namespace kv
