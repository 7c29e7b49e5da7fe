#include "skin/controls/SkinEdits.h"

#include <algorithm>

#include "base/win/Dc.h"
#include "base/win/Handles.h"
#include "base/win/Dpi.h"
#include "framework/Graphics.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinRanges.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

constexpr COLORREF kWhite = 0xFFFFFF;

COLORREF ShadowColour(const TSkinData* skinData) {
  return ResolveColor(skinData ? skinData->Model().Colours.ButtonShadowColour : TSkinColours().ButtonShadowColour);
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

void FrameWith(HDC dc, const RECT& rect, COLORREF colour) {
  const TBrushHandle brush(CreateSolidBrush(colour));
  if (brush) ::FrameRect(dc, &rect, brush.Get());
}

// The shared work canvas lent to one DC for a moment; whatever it was bound to before is
// given back, since a draw of ours can run inside another skin's.
class TCanvasLoan {
 public:
  TCanvasLoan(TCanvas* shared, HDC dc) : FCanvas(shared ? *shared : FOwn), FPrevious(FCanvas.Handle()) {
    FCanvas.SetHandle(dc);
  }
  TCanvasLoan(const TCanvasLoan&) = delete;
  TCanvasLoan& operator=(const TCanvasLoan&) = delete;
  ~TCanvasLoan() { FCanvas.SetHandle(FPrevious); }
  TCanvas& Canvas() { return FCanvas; }

 private:
  TCanvas FOwn;  // when no shared canvas was given
  TCanvas& FCanvas;
  HDC FPrevious;
};

// The frame colour drawn with the canvas's brush, its own colour put back afterwards.
void FrameWithCanvas(TCanvas& canvas, const RECT& rect, COLORREF colour) {
  const TColor saved = canvas.Brush().Color();
  const TBrushStyle savedStyle = canvas.Brush().Style();
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(colour);
  canvas.FrameRect(rect);
  canvas.Brush().SetColor(saved);
  canvas.Brush().SetStyle(savedStyle);
}

// An off-screen copy of `area` of dc, starting as what dc shows there, so that
// transparent skin parts keep what the control painted; it goes back in one transfer
// through dc's clipping.
class TComposeDc {
 public:
  TComposeDc(HDC target, const RECT& area) : FBuffer(target, area) {
    if (FBuffer.Buffered())
      BitBlt(FBuffer.Get(), area.left, area.top, Width(area), Height(area), target, area.left, area.top, SRCCOPY);
  }
  HDC Get() const { return FBuffer.Get(); }

 private:
  TBufferDc FBuffer;
};

bool Usable(const TDataSkinObject* element) { return element && !element->Image.Empty(); }

bool IsSpinButtonClass(HWND wnd) {
  wchar_t name[64] = {};
  if (!GetClassNameW(wnd, name, 64)) return false;
  return lstrcmpiW(name, L"msctls_updown32") == 0 || lstrcmpiW(name, L"TSpinButton") == 0;
}

}  // namespace

// ---- TSkinEdit

void TSkinEdit::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == FUpDown) FUpDown = nullptr;
}

bool TSkinEdit::BeforeMessage(TMessage& message) {
  if (message.Msg == WM_PRINT && message.WParam != 0) {
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    FPrinting.emplace_back(dc, SaveDC(dc));
  }
  // A flat edit draws its line inside its client area, where our ring goes: composed, the
  // line never shows. A single-line edit paints itself at once when the focus comes.
  switch (message.Msg) {
    case WM_PAINT:
    case WM_ERASEBKGND:
      if (HasInnerBorder() && ComposePaintMessages(message)) return false;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (HasInnerBorder()) return PassHeld(message);
      break;
    default: break;
  }
  return TSkinControl::BeforeMessage(message);
}

void TSkinEdit::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // A paint into a DC of someone else's (a double-buffered parent) is not the screen.
      if (message.WParam == 0) PaintSkin(nullptr);
      break;
    case WM_PRINT: {
      const auto dc = reinterpret_cast<HDC>(message.WParam);
      // The caller's DC as it was handed in: the edit's own clipping would hide the frame.
      if (!FPrinting.empty() && FPrinting.back().first == dc) {
        if (FPrinting.back().second) RestoreDC(dc, FPrinting.back().second);
        FPrinting.pop_back();
      }
      PrintFrame(dc);
      break;
    }
    default: TSkinControl::AfterMessage(message); break;
  }
}

void TSkinEdit::DrawSkin(HDC dc, const RECT& rect) {
  // A spin button may be made after the edit first paints: look again until one is found.
  if (!FUpDown && FHandle) FindSpinButton(FHandle);
  RECT client;
  if (!FHandle || !GetClientRect(FHandle, &client)) return;
  if (Width(client) == Width(rect) || Height(client) == Height(rect)) {
    // The edit draws a one-pixel border inside its client area, after us: ours goes over it.
    if (HasInnerBorder()) FrameWith(dc, rect, ShadowColour(FSkinData));
    return;
  }
  // Two rings that do not overlap: each pixel is written once, so nothing flickers.
  FrameWith(dc, rect, ShadowColour(FSkinData));
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  FrameWith(dc, inner, kWhite);
}

void TSkinEdit::PrintFrame(HDC dc) {
  if (!dc || !FHandle) return;
  try {
    RECT window, client;
    if (!GetWindowRect(FHandle, &window) || !GetClientRect(FHandle, &client)) return;
    OffsetRect(&window, -window.left, -window.top);
    if (Width(client) == Width(window) && Height(client) == Height(window) && HasInnerBorder()) {
      TCanvasLoan loan(FCanvas, dc);
      FrameWithCanvas(loan.Canvas(), window, ShadowColour(FSkinData));
      return;
    }
    if (Width(client) + 2 >= Width(window) || Height(client) + 2 >= Height(window)) return;
    // The brush the printing DC holds, before the canvas selects anything of its own.
    const auto dcBrush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    TCanvasLoan loan(FCanvas, dc);
    RECT inner = window;
    InflateRect(&inner, -1, -1);
    if (dcBrush) ::FrameRect(dc, &inner, dcBrush);
    FrameWithCanvas(loan.Canvas(), window, ShadowColour(FSkinData));
  } catch (...) {
    // Printing errors leave the picture as the edit printed it.
  }
}

// Asked for with WS_BORDER, an edit under Wine drops the style and draws that line
// itself, in the platform's grey, inside its client area: only the control knows.
bool TSkinEdit::HasInnerBorder() const {
  // Attached by its window: the framework control, if any, is found by the handle.
  const TWinControl* control = FControl ? FControl : (FHandle ? TWinControl::FindControl(FHandle) : nullptr);
  if (const auto* edit = dynamic_cast<const TEdit*>(control)) return edit->Flat();
  if (const auto* memo = dynamic_cast<const TMemo*>(control)) return memo->Flat();
  return false;
}

void TSkinEdit::FindSpinButton(HWND window) {
  if (FUpDown || !window || !Owner()) return;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsSpinButtonClass(child)) continue;
    auto* upDown = MakeChildSkin<TSkinUpDown>();
    if (!upDown) return;
    // Its frame is drawn one pixel inside its client rectangle (the up-down skin's inset).
    upDown->SetInset(true);
    WatchReference(FUpDown, static_cast<TSkinControl*>(upDown));
    FUpDown->AttachWindow(child, FSkinData, FCanvas);
    return;
  }
}

// ---- TSkinComBox

TStateFlags TSkinComBox::DrawState() {
  TStateFlags state = TSkinControl::DrawState();
  if (!FHandle) return state;
  FStyle = GetWindowLongPtrW(FHandle, GWL_STYLE);
  FExStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
  // A drop-down combo box hands its focus to its edit: that is focus of the combo box.
  const HWND focus = GetFocus();
  FFocused = focus && (focus == FHandle || IsChild(FHandle, focus));
  if (FFocused) state |= TStateFlags::csFocused;
  return state;
}

void TSkinComBox::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FState |= sbPressed;
      PaintSkin(nullptr);
      break;
    case WM_LBUTTONUP:
      FState &= ~sbPressed;
      PaintSkin(nullptr);
      break;
    case CM_MOUSEENTER:
      if (FEnabled) {
        FState |= sbHot;
        PaintSkin(nullptr);
      }
      break;
    case CM_MOUSELEAVE:
      if (FEnabled) {
        FState &= ~sbHot;
        PaintSkin(nullptr);
      }
      break;
    case WM_COMMAND: {
      // A drop-down combo box's focus lives in its edit, whose focus changes reach us only
      // as its notifications.
      const UINT code = HIWORD(message.WParam);
      const auto from = reinterpret_cast<HWND>(message.LParam);
      if ((code == EN_SETFOCUS || code == EN_KILLFOCUS) && from && FHandle && IsChild(FHandle, from))
        PaintSkin(nullptr);
      break;
    }
    default: TSkinControl::AfterMessage(message); break;
  }
}

void TSkinComBox::DrawSkin(HDC dc, const RECT& rect) {
  if (!FSkinData || !FHandle) return;
  const TSkinDefinition& model = FSkinData->ModelFor(FHandle);
  const TDataSkinBorder* button = model.ComboButton.get();
  if (!Usable(button)) return;
  const TStateFlags state = DrawState();
  if (button->Style == 1) {
    DrawFlatCombo(dc, rect, state);
    return;
  }
  const TDataSkinObject* edge = model.SunkEdge.get();
  if (!Usable(edge)) return;

  const int b = SystemMetricForDpi(SM_CXHSCROLL, WindowDpi(FHandle));
  RECT text, buttonRect, glyphArea;
  const TPixelBitmap* strip = nullptr;
  if ((FExStyle & WS_EX_LEFTSCROLLBAR) == 0) {
    text = {rect.left + 2, rect.top + 2, rect.right - b - 4, rect.bottom - 2};
    buttonRect = {rect.right - b - 2, rect.top, rect.right, rect.bottom};
    glyphArea = {rect.right - b - 2, rect.top, rect.right - 2, rect.bottom};
    strip = &button->Image;
  } else {
    text = {rect.left + b + 4, rect.top + 2, rect.right - 2, rect.bottom - 2};
    buttonRect = {rect.left, rect.top, rect.left + b + 2, rect.bottom};
    glyphArea = {2, rect.top, b + 2, rect.bottom};
    strip = &button->Image2;  // mirrored when the skin was loaded
  }

  // The caller's DC gets its clipping back; the text area stays the control's.
  const TSavedDc saved(dc);
  ExcludeClipRect(dc, text.left, text.top, text.right, text.bottom);
  const TComposeDc compose(dc, rect);
  HDC work = compose.Get();
  const int edgeFrames = std::max(edge->FrameCount, 1);
  DrawElement(work, rect, edgeFrames, StripFrameIndex(TElementKind::ekSunkEdge, state, edgeFrames), *edge);
  const int buttonFrames = FixedFrameCount(TElementKind::ekComboButton);
  DrawFrameTransparent(work, buttonRect, *strip, buttonFrames,
                       StripFrameIndex(TElementKind::ekComboButton, state, buttonFrames));
  const TDataSkinObject* arrow = model.ExtraImages.get();
  if (Usable(arrow)) {
    const int arrowFrames = std::max(arrow->FrameCount, 1);
    const int w = arrow->Image.Width() / arrowFrames, h = arrow->Image.Height();
    const int left = glyphArea.left + (Width(glyphArea) - w) / 2, top = glyphArea.top + (Height(glyphArea) - h) / 2;
    DrawFrameTransparent(work, {left, top, left + w, top + h}, arrow->Image, arrowFrames,
                         StripFrameIndex(TElementKind::ekComboArrow, state, arrowFrames));
  }
}

void TSkinComBox::DrawFlatCombo(HDC dc, const RECT& rect, TStateFlags state) {
  if (!FSkinData || !FHandle) return;
  const TDataSkinBorder* button = FSkinData->ModelFor(FHandle).ComboButton.get();
  if (!Usable(button)) return;
  // The brush the DC holds is the control's background here.
  const auto dcBrush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));

  const TComposeDc compose(dc, rect);
  HDC work = compose.Get();
  TCanvasLoan loan(FCanvas, work);
  RECT inner = rect;
  InflateRect(&inner, -1, -1);
  if (dcBrush) ::FrameRect(work, &inner, dcBrush);
  InflateRect(&inner, -1, -1);
  RECT buttonRect = inner;
  buttonRect.left = std::max(inner.left, inner.right - SystemMetricForDpi(SM_CYVTHUMB, WindowDpi(FHandle)));
  if (dcBrush) ::FillRect(work, &buttonRect, dcBrush);
  const int frames = FixedFrameCount(TElementKind::ekComboButton);
  TElementImage image;
  image.FStrip = &button->Image;
  image.FFrameCount = frames;
  const int frame = StripFrameIndex(TElementKind::ekComboButton, state, frames);
  const Rect target{buttonRect.left, buttonRect.top, buttonRect.right, buttonRect.bottom};
  if (CanDraw(target, image, frame)) DrawFrameStretched(work, target, button->Image, TDrawFlags::dfNone, frames, frame);
  FrameWithCanvas(loan.Canvas(), rect, ShadowColour(FSkinData));
}

}  // namespace kv
