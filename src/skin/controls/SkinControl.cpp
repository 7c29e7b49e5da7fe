#include "skin/controls/SkinControl.h"

#include <algorithm>
#include <utility>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "base/win/Handles.h"
#include "base/win/WindowText.h"
#include "framework/Controls.h"
#include "framework/Subclass.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

// DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS: how an image caption's text is laid out.
constexpr UINT kImageCaptionFormat = 0x61;

TSkinColour FaceColour(const TSkinData* skinData) {
  return skinData ? skinData->Model().Colours.ButtonFaceColour : TSkinColours().ButtonFaceColour;
}

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
bool Inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// The one off-screen bitmap every control skin composes in: made on first use, grown to
// the largest size asked for, freed at exit.
class TScratchBitmap {
 public:
  TScratchBitmap() = default;
  TScratchBitmap(const TScratchBitmap&) = delete;
  TScratchBitmap& operator=(const TScratchBitmap&) = delete;
  ~TScratchBitmap() {
    if (FDc && FOriginal) SelectObject(FDc.Get(), FOriginal);
  }

  HDC Dc() {
    if (!FDc) {
      FDc.Reset(CreateCompatibleDC(nullptr));
      if (FDc) SetStretchBltMode(FDc.Get(), COLORONCOLOR);
    }
    return FDc.Get();
  }

  // At least width x height; what it held is lost when it grows. Null when the system
  // refuses the memory.
  HDC Sized(int width, int height) {
    HDC dc = Dc();
    if (!dc) return nullptr;
    if (width <= FWidth && height <= FHeight) return dc;
    const int w = std::max(width, FWidth), h = std::max(height, FHeight);
    TBitmapHandle bitmap(CreateBufferBitmap(w, h));
    if (!bitmap) return nullptr;
    HGDIOBJ previous = SelectObject(dc, bitmap.Get());
    if (!FOriginal) FOriginal = previous;
    FBitmap = std::move(bitmap);  // the smaller one is no longer selected: it goes
    FWidth = w;
    FHeight = h;
    return dc;
  }

 private:
  TMemoryDc FDc;
  TBitmapHandle FBitmap;
  HGDIOBJ FOriginal = nullptr;  // the DC's own bitmap, put back before ours goes
  int FWidth = 0, FHeight = 0;
};

TScratchBitmap& Scratch() {
  static TScratchBitmap scratch;
  return scratch;
}

}  // namespace

// ---- attaching

TSkinControl::TSkinControl(TControlSkinKind kind) : FKind(kind) {}

TSkinControl::~TSkinControl() { Detach(); }

TSkinControlHost* TSkinControl::Host() const {
  if (auto* host = dynamic_cast<TSkinControlHost*>(Owner())) return host;
  const auto* parent = dynamic_cast<const TSkinControl*>(Owner());
  return parent ? parent->Host() : nullptr;
}

void TSkinControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FControl) {
    FControl = nullptr;
    FControlHook = {};  // died with the control
    FColorReplaced = false;
  }
  if (component == FGraphicControl) {
    FGraphicControl = nullptr;
    FGraphicHook = {};
  }
  if (component == FWindowControl) {
    FWindowControl = nullptr;
    FWindowHook = {};  // died with the control
  }
  std::erase(FChildren, component);
}

bool TSkinControl::BindControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (FAttached || !control) return false;
  HWND wnd = control->Handle();  // may throw: nothing is changed yet
  FRecolor = recolor;
  FSkinData = skinData;
  FCanvas = canvas;
  WatchReference(FControl, control);
  FHandle = wnd;
  return true;
}

void TSkinControl::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (!BindControl(control, skinData, recolor, canvas)) return;
  HWND wnd = FHandle;
  HookControl(control);
  SetDoubleBuffered(true);
  if (TSkinControlHost* host = Host()) host->AddControlSkin(this);
  FFocused = GetFocus() == wnd;
  FEnabled = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_DISABLED) == 0;
  FCaption = WindowText(wnd);
  if (recolor) ReplaceColor(control);
  control->Invalidate();
  FAttached = true;
}

void TSkinControl::AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas) {
  if (FAttached || !IsWindow(window)) return;
  FSkinData = skinData;
  FCanvas = canvas;
  FHandle = window;
  FEnabled = true;
  FCaption = WindowText(window);
  HookWindow(window);
  FAttached = true;
}

void TSkinControl::AttachGraphic(TGraphicControl* control, TSkinData* skinData, TCanvas* canvas) {
  if (FAttached || !control) return;
  FSkinData = skinData;
  FCanvas = canvas;
  WatchReference(FGraphicControl, control);
  if (TSkinControlHost* host = Host()) host->AddControlSkin(this);
  FAttached = true;
}

void TSkinControl::Detach() {
  // Taken one at a time: giving one back may send messages that reach us again.
  while (!FUndo.empty()) {
    const std::function<void()> undo = std::move(FUndo.back());
    FUndo.pop_back();
    undo();
  }
}

// ---- recorded changes

void TSkinControl::RecordChange(std::function<void()> undo) { FUndo.push_back(std::move(undo)); }

void TSkinControl::HookControl(TWinControl* control) {
  FControlHook =
      control->HookWindowProc([this](TMessage& m, TDefaultProc callDefault) { HookMessage(m, callDefault); });
  RecordChange([this] {
    if (FControl && FControlHook) FControl->UnhookWindowProc(FControlHook);
    FControlHook = {};
  });
}

void TSkinControl::HookWindow(HWND window) {
  const auto hook = [this](TMessage& m, TDefaultProc callDefault) { HookMessage(m, callDefault); };
  // A window of the framework's: its control's hook chain, where the platform's subclass
  // service would look its data up on every message.
  if (TWinControl* control = TWinControl::FindControl(window)) {
    FWindowControl = control;
    FreeNotification(control);
    FWindowHook = control->HookWindowProc(hook);
    RecordChange([this] {
      if (FWindowControl && FWindowHook) FWindowControl->UnhookWindowProc(FWindowHook);
      FWindowControl = nullptr;
      FWindowHook = {};
    });
    return;
  }
  FWindowHook = SubclassWindow(window, hook);
  RecordChange([this, window] {
    // Gone already when the window reached WM_NCDESTROY; removing it again is harmless.
    if (FWindowHook) UnsubclassWindow(window, FWindowHook);
    FWindowHook = {};
  });
}

void TSkinControl::HookGraphic(TGraphicControl* control) {
  FGraphicHook =
      control->HookWindowProc([this](TMessage& m, TDefaultProc callDefault) { HookMessage(m, callDefault); });
  RecordChange([this] {
    if (FGraphicControl && FGraphicHook) FGraphicControl->UnhookWindowProc(FGraphicHook);
    FGraphicHook = {};
  });
}

void TSkinControl::ChangeStyle(int index, LONG_PTR set, LONG_PTR clear) {
  if (!FHandle) return;
  const HWND wnd = FHandle;
  const LONG_PTR before = GetWindowLongPtrW(wnd, index);
  const LONG_PTR after = (before & ~clear) | set;
  const LONG_PTR changed = before ^ after;
  if (!changed) return;
  SetWindowLongPtrW(wnd, index, after);
  RecordChange([wnd, index, before, changed] {
    if (!IsWindow(wnd)) return;
    const LONG_PTR now = GetWindowLongPtrW(wnd, index);
    SetWindowLongPtrW(wnd, index, (now & ~changed) | (before & changed));
  });
}

void TSkinControl::SetDoubleBuffered(bool on) {
  if (!FControl) return;
  const bool before = FControl->DoubleBuffered();
  FControl->SetDoubleBuffered(on);
  RecordChange([this, before] {
    if (FControl) FControl->SetDoubleBuffered(before);
  });
}

void TSkinControl::ReplaceColor(TWinControl* control) {
  const TColor savedColor = control->Color();
  const bool savedParentColor = control->ParentColor();
  control->SetColor(FaceColour(FSkinData));
  FColorReplaced = true;
  RecordChange([this, savedColor, savedParentColor] {
    if (!std::exchange(FColorReplaced, false)) return;
    if (!FControl) return;  // gone first: nothing to give back, nor a host to ask
    const TSkinControlHost* host = Host();
    if (host && host->HostClosing()) return;
    FControl->SetColor(savedColor);
    if (savedParentColor) FControl->SetParentColor(true);
  });
}

void TSkinControl::AdoptChild(TSkinControl* child) {
  FChildren.push_back(child);
  FreeNotification(child);
  if (TSkinControlHost* host = Host()) host->AddControlSkin(child);
  RecordChange([this, child] {
    // Freed first (the host's teardown): nothing of it is left to give back.
    if (std::find(FChildren.begin(), FChildren.end(), child) != FChildren.end()) child->Detach();
  });
}

// ---- messages

void TSkinControl::HookMessage(TMessage& message, TDefaultProc callDefault) {
  const std::weak_ptr<char> life = FLife;
  const TDefaultProc* outer = std::exchange(FCurrentDefault, &callDefault);
  try {
    SkinWindowProc(message);
  } catch (...) {
    if (!life.expired()) FCurrentDefault = outer;
    HandleCurrentException();
    return;
  }
  if (!life.expired()) FCurrentDefault = outer;
}

void TSkinControl::SkinWindowProc(TMessage& message) {
  if (FPlatformPaint) {
    CallOldProc(message);
    return;
  }
  // The platform's controls repaint themselves at once, in their own look, when the
  // keyboard cues change: held, and the skin paints them afresh with the new cue.
  if (message.Msg == WM_UPDATEUISTATE && FHandle && GetAncestor(FHandle, GA_PARENT) != GetDesktopWindow()) {
    PassHeld(message);
    return;
  }
  const std::weak_ptr<char> life = FLife;
  const bool painting = message.Msg == WM_PAINT || message.Msg == WM_NCPAINT;
  bool passed = false;
  try {
    passed = BeforeMessage(message);
  } catch (...) {
    if (!painting) throw;
    // Painting errors never reach the user: the control paints itself instead.
    if (!life.expired()) PaintByPlatform(message);
    return;
  }
  if (life.expired()) return;
  if (passed) {
    CallOldProc(message);
    if (life.expired()) return;  // the control's handling freed us
    try {
      AfterMessage(message);
    } catch (...) {
      if (!painting) throw;
      if (!life.expired()) PaintByPlatform(message);
      return;
    }
    if (life.expired()) return;
  }
  if (message.Msg == WM_NCDESTROY) {
    Detach();
    FHandle = nullptr;
  }
}

void TSkinControl::PaintByPlatform(TMessage& message) {
  if (!FHandle) return;
  // Our failed paint may have validated the window already.
  if (message.Msg == WM_PAINT && !message.WParam) InvalidateRect(FHandle, nullptr, TRUE);
  const std::weak_ptr<char> life = FLife;
  const bool outer = std::exchange(FPlatformPaint, true);
  try {
    CallOldProc(message);
  } catch (...) {
    if (!life.expired()) FPlatformPaint = outer;
    throw;
  }
  if (!life.expired()) FPlatformPaint = outer;
}

void TSkinControl::CallOldProc(TMessage& message) {
  // Only a dispatch knows what lies below our hook; outside one there is nothing to call.
  if (FCurrentDefault) (*FCurrentDefault)(message);
}

bool TSkinControl::BeforeMessage(TMessage&) { return true; }

void TSkinControl::AfterMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      FFocused = message.Msg == WM_SETFOCUS;
      Redraw();
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      if (FHandle) FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
      Redraw();
      break;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const wchar_t*>(message.LParam);
      FCaption = text ? text : L"";
      Redraw();
      break;
    }
    case WM_PAINT: PaintSkin(reinterpret_cast<HDC>(message.WParam)); break;
    default: break;
  }
}

void TSkinControl::SendMouseLeave() {
  if (FHandle) {
    SendMessageW(FHandle, CM_MOUSELEAVE, 0, 0);
  } else if (FGraphicControl) {
    // A window-less control hears it through its own chain.
    FGraphicControl->Perform(CM_MOUSELEAVE, 0, 0);
  }
}

void TSkinControl::Redraw() {
  if (!FHandle) return;
  RECT r;
  if (!GetWindowRect(FHandle, &r)) return;
  // A top-level window's parent is the desktop.
  const HWND parent = GetAncestor(FHandle, GA_PARENT);
  if (!parent || parent == GetDesktopWindow()) return;
  OffsetRect(&r, -r.left, -r.top);
  InvalidateRect(FHandle, &r, FALSE);
  UpdateWindow(FHandle);
}

// ---- painting

void TSkinControl::PaintSkin(HDC dc) {
  RECT r;
  if (!FHandle || !GetWindowRect(FHandle, &r)) return;
  FWindowRect = r;
  OffsetRect(&r, -r.left, -r.top);
  try {
    if (dc) {
      DrawSkin(dc, r);
    } else {
      const TWindowDc whole = TWindowDc::Whole(FHandle);
      if (whole) DrawSkin(whole.Get(), r);
    }
  } catch (...) {
    // The control stays as drawn so far: painting errors must not reach the user.
  }
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::UseWindowFont(TCanvas& canvas, HWND window) {
  if (const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0))) {
    LOGFONTW log{};
    if (GetObjectW(font, sizeof log, &log)) {
      canvas.Font().SetName(log.lfFaceName);
      // The window's font is made at its DPI already: its height is taken as it is.
      canvas.Font().SetPixelsPerInch(kDefaultDpi);
      canvas.Font().SetHeight(log.lfHeight);
      canvas.Font().SetCharset(log.lfCharSet);
    }
  }
  canvas.Font().SetStyle(0);
}

void TSkinControl::SkinChanged() {
  // Registered with a host, the children hear of it from the host itself.
  if (!Host())
    for (TSkinControl* child : std::vector<TSkinControl*>(FChildren)) child->SkinChanged();
  if (FRecolor && FColorReplaced && FControl) FControl->SetColor(FaceColour(FSkinData));
  if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
  } else if (FGraphicControl) {
    FGraphicControl->Invalidate();
  }
}

TStateFlags TSkinControl::DrawState() {
  if (FHandle) {
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
  }
  TStateFlags state = TStateFlags::csNone;
  if (FState & sbHot) state |= TStateFlags::csHot;
  if (FState & sbPressed) state |= TStateFlags::csPressed;
  if (FFocused) state |= TStateFlags::csFocused;
  if (!FEnabled) state |= TStateFlags::csDisabled;
  return state;
}

bool TSkinControl::ShowsFocusCue() const {
  if (!FHandle || GetFocus() != FHandle) return false;
  return (SendMessageW(FHandle, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void TSkinControl::DrawFocusCue(HDC dc, const RECT& rect) const {
  if (!ShowsFocusCue() || rect.right <= rect.left || rect.bottom <= rect.top) return;
  // The ring inverts what lies under it through the DC's text and background colours:
  // black and white make every other pixel the inverse of the skin's.
  const COLORREF text = SetTextColor(dc, RGB(0, 0, 0)), back = SetBkColor(dc, RGB(255, 255, 255));
  DrawFocusRect(dc, &rect);
  SetTextColor(dc, text);
  SetBkColor(dc, back);
}

void TSkinControl::FillFace(HDC dc, const RECT& rect) {
  const TBrushHandle brush(CreateSolidBrush(ResolveColor(FaceColour(FSkinData))));
  if (brush) ::FillRect(dc, &rect, brush.Get());
}

// ---- shared drawing routines

void TSkinControl::DrawCaption(TCanvas& canvas, const RECT& rect, UINT alignment, bool enabled,
                               std::wstring_view text) {
  canvas.Brush().SetStyle(bsClear);  // also makes the text background transparent
  canvas.Font().SetStyle(0);
  RECT measured = rect;
  canvas.DrawTextIn(text, measured, alignment | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS);
  const int textWidth = measured.right - measured.left, textHeight = measured.bottom - measured.top;
  // One pixel above the exact centre, as the skins are drawn to expect.
  const int dy = (rect.bottom - rect.top - textHeight) / 2 - 1;
  RECT place{rect.left, rect.top + dy, rect.right, rect.top + dy + textHeight};
  if (alignment == DT_CENTER) {
    place.left = rect.left + (rect.right - rect.left - textWidth) / 2;
    place.right = place.left + textWidth;
  }
  if (!enabled) canvas.Font().SetColor(clBtnShadow);
  canvas.DrawTextIn(text, place, alignment | DT_EXPANDTABS);
}

void TSkinControl::DrawImageCaption(TCanvas& canvas, const RECT& rect, UINT alignment, std::wstring_view text,
                                    int imageIndex, HIMAGELIST images) {
  int cx = 0, cy = 0;
  const bool hasImage = images && imageIndex != -1 && ImageList_GetIconSize(images, &cx, &cy);
  if (!hasImage) cx = cy = 0;
  int textWidth = 0, textHeight = 0;
  if (!text.empty()) {
    RECT measured = rect;
    canvas.DrawTextIn(text, measured, kImageCaptionFormat | DT_CALCRECT | DT_NOCLIP);
    textWidth = measured.right - measured.left;
    textHeight = measured.bottom - measured.top;
  }
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  int x0 = 2;
  if (alignment == DT_CENTER) x0 = (width - cx - textWidth) / 2;
  if (alignment == DT_RIGHT) x0 = width - cx - textWidth - 2;
  if (hasImage && imageIndex >= 0 && imageIndex < ImageList_GetImageCount(images))
    ImageList_Draw(images, imageIndex, canvas.Handle(), rect.left + x0, rect.top + (height - cy) / 2, ILD_TRANSPARENT);
  if (text.empty()) return;
  canvas.Brush().SetStyle(bsClear);
  canvas.Font().SetStyle(0);
  if (!FEnabled) canvas.Font().SetColor(clBtnShadow);
  const int left = rect.left + x0 + cx + 1, top = rect.top + (height - textHeight) / 2;
  RECT place{left, top, left + textWidth, top + textHeight};
  canvas.DrawTextIn(text, place, kImageCaptionFormat);
}

void TSkinControl::DrawElement(HDC dc, const RECT& rect, int frameCount, int frameIndex,
                               const TDataSkinObject& element) {
  if (Inverted(rect)) return;
  TElementImage image = ElementImage(element);
  image.FFrameCount = frameCount;
  kv::DrawElement(dc, ToRect(rect), image, frameIndex);
}

void TSkinControl::DrawFrameTransparent(HDC dc, const RECT& rect, const TPixelBitmap& strip, int frameCount,
                                        int frameIndex) {
  TElementImage image;
  image.FStrip = &strip;
  image.FFrameCount = frameCount;
  // A missing strip or frame would otherwise come out as a black block.
  if (!CanDraw(ToRect(rect), image, frameIndex)) return;
  DrawFrameStretched(dc, ToRect(rect), strip, TDrawFlags::dfTransparent, frameCount, frameIndex);
}

void TSkinControl::DrawElementOnScratch(const RECT& rect, const TDataSkinObject& element, bool transparent,
                                        int frameCount, int frameIndex) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  HDC scratch = ScratchDc(width, height);
  if (!scratch) return;
  // Composed in memory and copied to the scratch bitmap in one transfer.
  TPixelBitmap work(width, height, PixelOf(ResolveColor(FaceColour(FSkinData))));
  TElementImage image = ElementImage(element);
  image.FFrameCount = frameCount;
  if (CanDraw(work.Bounds(), image, frameIndex)) {
    const TDrawFlags flags = image.FTile ? TDrawFlags::dfTile : TDrawFlags::dfNone;
    const TPixelBitmap rendered =
        RenderNineSlice(width, height, element.Image, element.GetMargins(), flags, frameCount, frameIndex);
    if (transparent) {
      DrawKeyed(work, 0, 0, rendered, width, height, PixelOf(kKeyColor));
    } else {
      CopyPixels(work, 0, 0, rendered, rendered.Bounds());
    }
  }
  CopyToDc(scratch, 0, 0, work);
}

HDC TSkinControl::ScratchDc() { return Scratch().Dc(); }

HDC TSkinControl::ScratchDc(int minWidth, int minHeight) { return Scratch().Sized(minWidth, minHeight); }

}  // namespace kv
