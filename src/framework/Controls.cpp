#include "framework/Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <exception>

#include "framework/ControlsInternal.h"
#include "framework/Forms.h"
#include "framework/Menus.h"

namespace kv {

namespace {

TControl* GMouseControl = nullptr;
std::function<void()> GExceptionHandler;

}  // namespace

namespace detail {

void SetMouseControl(TControl* control) {
  if (control == GMouseControl) return;
  TControl* old = GMouseControl;
  GMouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE);
  if (control) control->Perform(CM_MOUSEENTER);
}

}  // namespace detail

TControl* MouseControl() { return GMouseControl; }

void SetExceptionHandler(std::function<void()> handler) { GExceptionHandler = std::move(handler); }

void HandleCurrentException() {
  try {
    if (GExceptionHandler) {
      GExceptionHandler();
      return;
    }
    throw;
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, e.what(), "Error", MB_OK | MB_ICONSTOP);
  } catch (...) {
    MessageBoxA(nullptr, "Unknown error", "Error", MB_OK | MB_ICONSTOP);
  }
}

HCURSOR CursorHandle(TCursor cursor) {
  const wchar_t* system = nullptr;
  switch (cursor) {
    case crDefault:
    case crArrow: system = IDC_ARROW; break;
    case crNone: return nullptr;
    case crCross: system = IDC_CROSS; break;
    case crIBeam: system = IDC_IBEAM; break;
    case crSizeNESW: system = IDC_SIZENESW; break;
    case crSizeNS: system = IDC_SIZENS; break;
    case crSizeNWSE: system = IDC_SIZENWSE; break;
    case crSizeWE: system = IDC_SIZEWE; break;
    case crHourGlass: system = IDC_WAIT; break;
    case crNo: system = IDC_NO; break;
    case crHandPoint: system = IDC_HAND; break;
    case crSizeAll: system = IDC_SIZEALL; break;
    case crDrag:
    case crMultiDrag: {
      // Shared cursors from our resources live as long as the module.
      HANDLE own = LoadImageW(GetModuleHandleW(nullptr), cursor == crDrag ? L"KV_DRAG" : L"KV_MULTIDRAG", IMAGE_CURSOR,
                              0, 0, LR_SHARED | LR_DEFAULTSIZE);
      if (own) return static_cast<HCURSOR>(own);
      system = IDC_ARROW;
      break;
    }
  }
  return LoadCursorW(nullptr, system ? system : IDC_ARROW);
}

// ---- TControl

TControl::TControl() {
  FFont.OnChange = [this] {
    FParentFont = false;
    FontChanged();
  };
}

TControl::~TControl() {
  if (GMouseControl == this) GMouseControl = nullptr;
  if (FParent) {
    std::erase(FParent->FControls, this);
    if (FParent->FCaptureControl == this) FParent->FCaptureControl = nullptr;
  }
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  Dispatch(message);
  return message.Result;
}

// ---- the hook chain

namespace {
std::uint64_t GNextHookId = 1;

struct TChainPosition {
  TControl* Control;
  std::size_t Below;
};
}  // namespace

THookToken TControl::HookWindowProc(TMessageHook hook) {
  const THookToken token{GNextHookId++};
  FHooks.push_back(std::make_unique<THookEntry>(THookEntry{token, std::move(hook)}));
  return token;
}

void TControl::UnhookWindowProc(THookToken token) {
  for (auto& entry : FHooks)
    if (entry->Token == token) entry->Removed = true;
  if (FDispatchDepth == 0) std::erase_if(FHooks, [](const auto& e) { return e->Removed; });
}

int TControl::HookCount() const {
  return static_cast<int>(std::count_if(FHooks.begin(), FHooks.end(), [](const auto& e) { return !e->Removed; }));
}

void TControl::Dispatch(TMessage& message) {
  ++FDispatchDepth;
  struct TDepthGuard {
    TControl* Control;
    ~TDepthGuard() {
      if (--Control->FDispatchDepth == 0) std::erase_if(Control->FHooks, [](const auto& e) { return e->Removed; });
    }
  } guard{this};
  DispatchBelow(FHooks.size(), message);
}

void TControl::DispatchBelow(std::size_t below, TMessage& message) {
  // Indices stay valid during a dispatch: entries are only appended, never erased.
  for (std::size_t i = below; i-- > 0;) {
    THookEntry& entry = *FHooks[i];
    if (entry.Removed) continue;
    const TChainPosition next{this, i};
    entry.Hook(message, TDefaultProc(
                            [](const void* context, TMessage& m) {
                              const auto* position = static_cast<const TChainPosition*>(context);
                              position->Control->DispatchBelow(position->Below, m);
                            },
                            &next));
    return;
  }
  WndProc(message);
}

void TControl::WndProc(TMessage& m) {
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  const unsigned keys = static_cast<unsigned>(m.WParam);
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, keys, x, y);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FMouseDown = true;
      if (OnMouseDown) OnMouseDown(this, mbLeft, keys, x, y);
      if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
      break;
    case WM_LBUTTONUP: {
      const bool wasDown = std::exchange(FMouseDown, false);
      if (OnMouseUp) OnMouseUp(this, mbLeft, keys, x, y);
      if (wasDown && FClickOnMouseUp && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
      break;
    }
    case WM_RBUTTONDOWN:
      if (OnMouseDown) OnMouseDown(this, mbRight, keys, x, y);
      break;
    case WM_RBUTTONUP:
      if (OnMouseUp) OnMouseUp(this, mbRight, keys, x, y);
      break;
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    default: break;
  }
  DefaultHandler(m);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::SetPopupMenu(TPopupMenu* menu) { WatchReference(FPopupMenu, menu); }

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) {
    Invalidate();
    std::erase(FParent->FControls, this);
  }
  FParent = parent;
  if (!parent) return;
  parent->FControls.push_back(this);
  if (FParentColor) ParentColorChanged();
  if (FParentFont) ParentFontChanged();
  if (IsWindowed()) {
    auto* self = static_cast<TWinControl*>(this);
    if (parent->HandleAllocated()) {
      if (self->HandleAllocated()) {
        ::SetParent(self->FHandle, parent->FHandle);
      } else {
        self->HandleNeeded();
      }
    }
  } else {
    Invalidate();
  }
}

TForm* TControl::ParentForm() const {
  const TControl* c = this;
  while (c->FParent) c = c->FParent;
  return dynamic_cast<TForm*>(const_cast<TControl*>(c));
}

void TControl::SetBounds(int left, int top, int width, int height) {
  Invalidate();
  StoreBounds(left, top, width, height);
  Invalidate();
}

void TControl::StoreBounds(int left, int top, int width, int height) {
  // A value that did not move keeps its 96-DPI units exactly: pixels back to units lose
  // the rounding, and an auto-sized label would creep.
  if (!FScaling) {
    if (left != FLeft) FDesignLeft = UnscaleFromDpi(left, FDpi);
    if (top != FTop) FDesignTop = UnscaleFromDpi(top, FDpi);
    if (width != FWidth) FDesignWidth = UnscaleFromDpi(width, FDpi);
    if (height != FHeight) FDesignHeight = UnscaleFromDpi(height, FDpi);
  }
  FLeft = left;
  FTop = top;
  FWidth = width;
  FHeight = height;
}

RECT TControl::DesignBounds() const {
  return {FDesignLeft, FDesignTop, FDesignLeft + FDesignWidth, FDesignTop + FDesignHeight};
}

void TControl::ScaleForDpi(int dpi) {
  if (dpi <= 0 || dpi == FDpi) return;
  const int old = FDpi;
  FDpi = dpi;
  if (ScalesOwnBounds()) {
    FScaling = true;
    try {
      SetBounds(Scaled(FDesignLeft), Scaled(FDesignTop), Scaled(FDesignWidth), Scaled(FDesignHeight));
    } catch (...) {
      FScaling = false;
      throw;
    }
    FScaling = false;
  }
  // After the bounds: an auto-sized label measures itself again in its new font.
  const bool parentFont = FParentFont;
  FFont.SetPixelsPerInch(dpi);
  FParentFont = parentFont;
  DpiChanged(old);
}

void TControl::SetCaption(std::wstring_view caption) {
  if (FCaption == caption) return;
  FCaption = caption;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetEnabled(bool enabled) {
  if (FEnabled == enabled) return;
  FEnabled = enabled;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetVisible(bool visible) {
  if (FVisible == visible) return;
  if (!visible) Invalidate();
  FVisible = visible;
  Perform(CM_VISIBLECHANGED, visible);
  Invalidate();
}

bool TControl::Showing() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FVisible) return false;
  return true;
}

void TControl::SetColor(TColor color) {
  FParentColor = false;
  if (FColor == color) return;
  FColor = color;
  ColorChanged();
}

void TControl::SetParentColor(bool value) {
  FParentColor = value;
  if (value) ParentColorChanged();
}

void TControl::SetParentFont(bool value) {
  FParentFont = value;
  if (value) ParentFontChanged();
}

void TControl::ParentColorChanged() {
  if (FParentColor && FParent && FColor != FParent->FColor) {
    FColor = FParent->FColor;
    ColorChanged();
  }
}

void TControl::ParentFontChanged() {
  if (FParentFont && FParent) {
    FFont = FParent->FFont;  // fires OnChange, which clears the flag: put it back
    FParentFont = true;
  }
}

void TControl::ColorChanged() {
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::FontChanged() {
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::Invalidate() {
  if (FParent && FParent->HandleAllocated() && FVisible) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->FHandle, &r, FALSE);
  }
}

void TControl::Update() {
  if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->FHandle);
}

// ---- TGraphicControl

TGraphicControl::~TGraphicControl() {
  // The parent shows where this control was until it repaints.
  if (FParent && FParent->HandleAllocated() && Visible()) {
    RECT r = BoundsRect();
    InvalidateRect(FParent->Handle(), &r, TRUE);
  }
}

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == WM_PAINT && m.WParam) {
    FCanvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
    FCanvas.Font() = Font();
    FCanvas.Brush().SetColor(Color());
    FCanvas.Brush().SetStyle(bsSolid);
    Paint();
    FCanvas.SetHandle(nullptr);
    return;
  }
  TControl::WndProc(m);
}

}  // namespace kv
