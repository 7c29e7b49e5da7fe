#include "skin/controls/SkinButtons.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/ButtonCtrls.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/StdCtrls.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

using enum TStateFlags;

constexpr WPARAM kSpace = VK_SPACE;

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[1000] = {};
  SendMessageW(wnd, WM_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer));
  buffer[999] = L'\0';
  return buffer;
}

// A face frame count as the record gives it; a record without one has the usual five.
int FaceFrameCount(const TDataSkinButton& element) {
  return element.FrameCount > 0 ? element.FrameCount : FixedFrameCount(TElementKind::ekPushButton);
}

SIZE GlyphSize(const TBitmap& glyph, int count) {
  if (glyph.Empty()) return {0, 0};
  return {glyph.Width() / std::max(count, 1), glyph.Height()};
}

// Only the low seven bits of a glyph count mean anything; none counts as one.
int GlyphCount(int numGlyphs) { return std::max(numGlyphs & 0x7F, 1); }

SIZE MeasureText(TCanvas& canvas, std::wstring_view text, const RECT& client) {
  if (text.empty()) return {0, 0};
  RECT r = client;
  canvas.DrawTextIn(text, r, DT_CALCRECT);
  return {r.right - r.left, r.bottom - r.top};
}

// The glyph frame a speed button shows in a state: the strip holds up, disabled, down
// (and latched) pictures; a frame the strip lacks is the first.
int SpeedGlyphFrame(TStateFlags state, int glyphCount) {
  int frame = 1;
  if (HasFlag(state, csLatched)) {
    frame = 3;  // held down by its group, disabled or not
  } else if (HasFlag(state, csDisabled)) {
    frame = 2;
  } else if (HasFlag(state, csPressed)) {
    frame = 3;
  }
  return frame <= glyphCount ? frame : 1;
}

// Where a push button's focus ring goes: inside the face's edge, as the platform's.
RECT FocusCueRect(const RECT& face) {
  RECT r = face;
  InflateRect(&r, -3, -3);
  return r;
}

}  // namespace

void DrawGlyph(TCanvas& canvas, POINT position, int glyphCount, int frameIndex, const TBitmap& glyph) {
  const int count = std::max(glyphCount, 1);
  const int width = glyph.Width() / count, height = glyph.Height();
  if (width <= 0 || height <= 0 || frameIndex < 1 || frameIndex > count) return;
  TPixelBitmap frame(width, height);
  const int left = (frameIndex - 1) * width;
  for (int y = 0; y < height; ++y) {
    const std::uint32_t* row = glyph.ScanLine(y) + left;
    for (int x = 0; x < width; ++x) frame.SetPixel(x, y, row[x] & 0xFFFFFF);
  }
  TransparentBlit(canvas.Handle(), {position.x, position.y, position.x + width, position.y + height}, frame,
                  ColorOf(frame.Pixel(0, 0)));
}

// ---- TSkinButton

const TDataSkinButton* TSkinButton::ButtonElement() const {
  if (!FSkinData) return nullptr;
  const TDataSkinButton* element = FSkinData->ModelFor(FHandle).Buttons.get();
  return element && !element->Image.Empty() ? element : nullptr;
}

TColor TSkinButton::CaptionColor(int frame, bool enabled) const {
  if (!enabled) return clBtnShadow;
  const TDataSkinButton* element = ButtonElement();
  if (!element) return FSkinData ? FSkinData->Model().Colours.ButtonTextColour : clBtnText;
  // The face frames a caption colour belongs to: normal 1, pressed 2, hot 4.
  switch (frame) {
    case 1: return element->NormalColour2;
    case 2: return element->PressedColour2;
    case 4: return element->MouseOverColour2;
    default: return FSkinData->Model().Colours.ButtonTextColour;
  }
}

HDC TSkinButton::Buffer(int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  if (!FBufferDc) FBufferDc.Reset(CreateCompatibleDC(nullptr));
  if (!FBufferDc) return nullptr;
  if (!FBuffer || width != FBufferWidth || height != FBufferHeight) {
    FBufferSelect.reset();
    FBuffer.Reset(CreateBufferBitmap(width, height));
    FBufferWidth = FBufferHeight = 0;
    if (!FBuffer) return nullptr;
    FBufferSelect.emplace(FBufferDc.Get(), FBuffer.Get());
    FBufferWidth = width;
    FBufferHeight = height;
  }
  return FBufferDc.Get();
}

void TSkinButton::TakeWindowFont(TCanvas& canvas) const {
  HGDIOBJ font = FHandle ? reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0)) : nullptr;
  if (!font) font = GetStockObject(SYSTEM_FONT);  // what a button without a font shows
  LOGFONTW log{};
  if (!GetObjectW(font, sizeof(log), &log)) return;
  TFont& target = canvas.Font();
  target.SetName(log.lfFaceName);
  target.SetPixelsPerInch(kDefaultDpi);  // made at the window's DPI already
  target.SetHeight(log.lfHeight);
  target.SetCharset(log.lfCharSet);
  unsigned style = 0;
  if (log.lfWeight >= FW_BOLD) style |= fsBold;
  if (log.lfItalic) style |= fsItalic;
  if (log.lfUnderline) style |= fsUnderline;
  if (log.lfStrikeOut) style |= fsStrikeOut;
  target.SetStyle(style);
}

bool TSkinButton::PointInside(const TMessage& message) const {
  const POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
  RECT client{};
  if (FHandle) {
    GetClientRect(FHandle, &client);
  } else if (FGraphicControl) {
    client = FGraphicControl->ClientRect();
  }
  return PtInRect(&client, p) != FALSE;
}

void TSkinButton::RefreshCaption() {
  if (FHandle) FCaption = WindowText(FHandle);
}

bool TSkinButton::BeforeMessage(TMessage& message) {
  // Without the skin's picture the platform draws the button and handles its mouse.
  if (!ButtonElement()) return true;
  switch (message.Msg) {
    case WM_PAINT: PaintFromMessage(message); return false;
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Kept from the button: it never captures the mouse nor clicks by itself; we click
      // on button-up.
      if (!FFocused && FHandle) SetFocus(FHandle);
      FState |= sbPressed;
      PaintSkin(nullptr);
      return false;
    case CN_DRAWITEM:
      // An owner-drawn button asked to draw a focus or pressed change outside WM_PAINT:
      // the skin has drawn it (or will at once), so the platform's look never flashes.
      message.Result = TRUE;
      return false;
    default: return true;
  }
}

void TSkinButton::AfterMessage(TMessage& message) {
  TSkinControlHost* host = Host();
  switch (message.Msg) {
    case WM_KEYDOWN:
      if (message.WParam != kSpace) break;
      FState |= sbPressed;
      Redraw();
      return;
    case WM_KEYUP:
      if (message.WParam != kSpace) break;
      FState &= ~sbPressed;
      Redraw();
      return;
    case WM_MOUSEMOVE:
      if (!PointInside(message)) {
        // Only a captured mouse reports from outside: dragged off while held.
        if (FState & sbPressed) {
          FState &= ~sbPressed;
          Redraw();
        }
        return;
      }
      if (FState & sbHot) return;
      FState |= sbHot;
      if (host) {
        TSkinControl* previous = host->HotControlSkin();
        if (previous && previous != this) previous->SendMouseLeave();
        if (host->HotControlSkin() != this) {
          Redraw();
          host->SetHotControlSkin(this);
        }
      } else {
        Redraw();
      }
      return;
    case WM_LBUTTONUP: {
      if (!(FState & sbPressed)) return;
      FState &= ~sbPressed;
      Redraw();
      if (!PointInside(message)) return;  // released elsewhere: no click
      if (FControl) {
        FControl->Click();
      } else if (FHandle) {
        const HWND parent = GetParent(FHandle);
        const auto id = static_cast<WORD>(GetDlgCtrlID(FHandle));
        if (parent) PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(FHandle));
      }
      return;
    }
    case CM_MOUSEENTER:
      if (!FEnabled) return;
      FState |= sbHot;
      Redraw();
      if (host) host->SetHotControlSkin(this);
      return;
    case CM_MOUSELEAVE:
      if (!FEnabled) return;
      FState &= ~(sbHot | sbPressed);
      Redraw();
      if (host && host->HotControlSkin() == this) host->SetHotControlSkin(nullptr);
      return;
    default: break;
  }
  TSkinControl::AfterMessage(message);
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinButton* element = ButtonElement();
  if (!element) return;
  const TStateFlags state = DrawState();
  RefreshCaption();
  if (FCaption.empty() && FControl) FCaption = FControl->Caption();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC buffer = Buffer(width, height);
  if (!buffer) return;
  const int frameCount = FixedFrameCount(TElementKind::ekPushButton);
  const int frame = StripFrameIndex(TElementKind::ekPushButton, state, frameCount);
  const RECT local{0, 0, width, height};
  FillFace(buffer, local);
  TSkinControl::DrawElement(buffer, local, frameCount, frame, *element);
  {
    TCanvas canvas(buffer);  // lets go of the buffer's font before the copy
    TakeWindowFont(canvas);
    canvas.Font().SetColor(CaptionColor(frame, FEnabled));
    DrawCaption(canvas, local, DT_CENTER, FEnabled, FCaption);
  }
  DrawFocusCue(buffer, FocusCueRect(local));
  BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
}

// ---- TSkinBitButton

void TSkinBitButton::AttachGraphic(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas) {
  if (FAttached || !control) return;
  TSkinControl::AttachGraphic(control, skinData, canvas);
  HookGraphic(control);
}

TStateFlags TSkinBitButton::DrawState() {
  const TStateFlags state = TSkinButton::DrawState();
  if (!FControl) return state;
  // The framework's own flag decides: the window may not have heard of it yet.
  const auto rest = TStateFlags(unsigned(state) & ~unsigned(csDisabled));
  return FControl->Enabled() ? rest : rest | csDisabled;
}

void TSkinBitButton::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinButton* element = ButtonElement();
  if (!element) return;
  const TStateFlags state = DrawState();
  RefreshCaption();
  auto* bitBtn = dynamic_cast<TBitBtn*>(FControl);
  const bool enabled = !HasFlag(state, csDisabled);
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  HDC buffer = Buffer(width, height);
  if (!buffer) return;
  const int frameCount = FaceFrameCount(*element);
  const int frame = StripFrameIndex(TElementKind::ekPushButton, state, frameCount);
  const RECT local{0, 0, width, height};
  {
    TCanvas canvas(buffer);
    TakeWindowFont(canvas);
    FillFace(buffer, local);
    TSkinControl::DrawElement(buffer, local, frameCount, frame, *element);

    RECT client = local;
    if (FHandle) GetClientRect(FHandle, &client);
    const int glyphCount = bitBtn ? GlyphCount(bitBtn->NumGlyphs()) : 1;
    const SIZE glyph = bitBtn ? GlyphSize(bitBtn->DrawnGlyph(), glyphCount) : SIZE{0, 0};
    const SIZE text = MeasureText(canvas, FCaption, client);
    const TGlyphPlacement place =
        PlaceGlyphAndText(client, glyph, text, bitBtn ? bitBtn->Layout() : blGlyphLeft,
                          bitBtn ? bitBtn->DrawnMargin() : -1, bitBtn ? bitBtn->DrawnSpacing() : -1);
    // The first glyph frame whatever the state: the face shows the state.
    if (glyph.cx > 0) DrawGlyph(canvas, place.Glyph, glyphCount, 1, bitBtn->DrawnGlyph());
    if (!FCaption.empty()) {
      canvas.Brush().SetStyle(bsClear);
      canvas.Font().SetColor(CaptionColor(frame, enabled));
      RECT textRect = place.Text;
      canvas.DrawTextIn(FCaption, textRect, place.TextFormat);
    }
  }
  DrawFocusCue(buffer, FocusCueRect(local));
  BitBlt(dc, rect.left, rect.top, width, height, buffer, 0, 0, SRCCOPY);
}

// ---- TSkinSpeedButton

bool TSkinSpeedButton::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT: {
      // Without the face picture the control paints itself, as push buttons are left to
      // the platform.
      if (!ButtonElement()) return true;
      // Its own painting is skipped: the skin draws the whole button on the parent's DC.
      if (FGraphicControl) DrawButton(reinterpret_cast<HDC>(message.WParam), FGraphicControl->ClientRect());
      message.Result = 1;
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The control captures the mouse and keeps its group and down logic.
      const std::weak_ptr<char> life = Life();
      CallOldProc(message);
      if (life.expired()) return false;
      FState |= sbPressed;
      PaintSkin(nullptr);
      return false;
    }
    default: return true;
  }
}

void TSkinSpeedButton::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_NCDESTROY:
    case CM_RELEASE: Detach(); return;
    case WM_KEYDOWN:
      if (message.WParam != kSpace) break;
      FState |= sbPressed;
      PaintSkin(nullptr);
      return;
    case WM_KEYUP:
      if (message.WParam != kSpace) break;
      FState &= ~sbPressed;
      PaintSkin(nullptr);
      return;
    case WM_LBUTTONUP:
      FState &= ~sbPressed;
      PaintSkin(nullptr);
      return;
    case CM_MOUSEENTER:
      FState |= sbHot;
      PaintSkin(nullptr);
      return;
    case CM_MOUSELEAVE:
      FState &= ~(sbHot | sbPressed);
      if (FGraphicControl && FGraphicControl->Visible()) PaintSkin(nullptr);
      return;
    case WM_MOUSEMOVE: {
      // Redraw does nothing without a window: paint here what the move changed.
      const std::uint8_t before = FState;
      TSkinButton::AfterMessage(message);
      if (FState != before) PaintSkin(nullptr);
      return;
    }
    default: break;
  }
  TSkinButton::AfterMessage(message);
}

void TSkinSpeedButton::PaintSkin(HDC dc) {
  if (!FGraphicControl) return;
  const RECT client = FGraphicControl->ClientRect();
  try {
    if (dc) {
      DrawButton(dc, client);
      return;
    }
    TWinControl* parent = FGraphicControl->Parent();
    if (!parent || !parent->HandleAllocated() || !FGraphicControl->Showing()) return;
    const HWND parentWnd = parent->Handle();
    const RECT bounds = FGraphicControl->BoundsRect();
    RECT screen = bounds;
    MapWindowPoints(parentWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
    FWindowRect = screen;
    const TWindowDc parentDc = TWindowDc::Client(parentWnd);
    if (!parentDc) return;
    // As the parent paints us: clipped to our bounds, origin at our top-left.
    const TSavedDc saved(parentDc.Get());
    IntersectClipRect(parentDc.Get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    SetViewportOrgEx(parentDc.Get(), bounds.left, bounds.top, nullptr);
    DrawButton(parentDc.Get(), client);
  } catch (...) {
    // The button stays as drawn so far: painting errors must not reach the user.
  }
}

TStateFlags TSkinSpeedButton::DrawState() {
  // No window and no focus: the state is the control's and our bits.
  TStateFlags state = csNone;
  if (FState & sbPressed) state |= csPressed;
  if (FState & sbHot) state |= csHot;
  const auto* speed = dynamic_cast<const TSpeedButton*>(FGraphicControl);
  if (speed && !speed->Enabled()) state |= csDisabled;
  if (speed && speed->Down()) state |= csLatched;
  return state;
}

void TSkinSpeedButton::DrawButton(HDC target, const RECT& rect) {
  const TDataSkinButton* element = ButtonElement();
  auto* speed = dynamic_cast<TSpeedButton*>(FGraphicControl);
  if (!element || !speed || !target) return;
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;

  const TStateFlags state = DrawState();
  const bool enabled = !HasFlag(state, csDisabled);
  const int frameCount = FaceFrameCount(*element);
  const int frame = StripFrameIndex(TElementKind::ekPushButton, state, frameCount);

  const RECT local{0, 0, width, height};
  DrawElementOnScratch(local, *element, element->Trans == 1, frameCount, frame);
  HDC scratch = ScratchDc(width, height);
  if (!scratch) return;
  {
    TCanvas canvas(scratch);
    canvas.Font() = speed->Font();
    canvas.Font().SetColor(CaptionColor(frame, enabled));
    const std::wstring caption = speed->Caption();
    const TBitmap& glyph = speed->DrawnGlyph();
    if (!glyph.Empty()) {
      const int glyphCount = GlyphCount(speed->NumGlyphs());
      const SIZE glyphSize = GlyphSize(glyph, glyphCount);
      const SIZE text = MeasureText(canvas, caption, local);
      const TButtonLayout layout = speed->Layout();
      int margin = speed->DrawnMargin(), spacing = speed->DrawnSpacing();
      if (text.cx == 0 || glyphSize.cx == 0) spacing = 0;
      if (margin == -1 && spacing != -1) {
        // Speed buttons sit one pixel further in than bit buttons.
        const bool across = layout == blGlyphLeft || layout == blGlyphRight;
        const int room = across ? width : height;
        const int total = (across ? glyphSize.cx + text.cx : glyphSize.cy + text.cy) + spacing;
        margin = (room - total) / 2 + 1;
      }
      const TGlyphPlacement place = PlaceGlyphAndText(local, glyphSize, text, layout, margin, spacing);
      DrawGlyph(canvas, place.Glyph, glyphCount, SpeedGlyphFrame(state, glyphCount), glyph);
      if (!caption.empty()) {
        canvas.Brush().SetStyle(bsClear);
        RECT textRect = place.Text;
        canvas.DrawTextIn(caption, textRect, place.TextFormat);
      }
    } else {
      DrawCaption(canvas, local, DT_CENTER, enabled, caption);
    }
  }
  BitBlt(target, rect.left, rect.top, width, height, scratch, 0, 0, SRCCOPY);
}

}  // namespace kv
