#include "skin/controls/SkinTabs.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "base/win/Dc.h"
#include "framework/Controls.h"
#include "framework/TabCtrls.h"
#include "skin/controls/SkinRanges.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {

namespace {

// The page frame's pieces keep these sizes whatever the Border picture is.
constexpr Margins kBorderMargins{4, 5, 4, 4};
// TCIF_TEXT | TCIF_IMAGE | TCIF_RTLREADING: what a tab header shows.
constexpr UINT kItemMask = 0x13;
constexpr int kItemTextLength = 80;

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

const TDataSkinBorder* TabsOf(const TSkinData* data, HWND window) {
  const TDataSkinBorder* tabs = data ? data->ModelFor(window).Tabs.get() : nullptr;
  return tabs && !tabs->Image.Empty() ? tabs : nullptr;
}

// The tab strip image with our own (turned) copy of the picture.
TElementImage TabImage(const TDataSkinBorder& tabs, const TPixelBitmap& strip) {
  TElementImage image = ElementImage(tabs);
  image.FStrip = &strip;
  image.FFrameCount = FixedFrameCount(TElementKind::ekTab);
  return image;
}

int TabFrame(bool selected) {
  return FrameIndex(TElementKind::ekTab, selected ? TStateFlags::csSelected : TStateFlags::csNone);
}

// The item's rectangle moved from the window into the strip composed lying down.
RECT IntoBuffer(RECT r, TTabSide side, int pageBottom, int bufferWidth, int windowWidth) {
  switch (side) {
    case TTabSide::tsTop: OffsetRect(&r, 0, 1); return r;
    case TTabSide::tsBottom: OffsetRect(&r, 0, -(pageBottom + 1)); return r;
    case TTabSide::tsLeft: return {bufferWidth - r.bottom, r.left, bufferWidth - r.top, r.right};
    case TTabSide::tsRight: return {r.top - 1, windowWidth - r.right, r.bottom - 1, windowWidth - r.left};
  }
  return r;
}

}  // namespace

TTabSide TabSideOfStyle(LONG_PTR style) {
  const bool farSide = (style & TCS_BOTTOM) != 0, vertical = (style & TCS_VERTICAL) != 0;
  if (farSide) return vertical ? TTabSide::tsRight : TTabSide::tsBottom;
  return vertical ? TTabSide::tsLeft : TTabSide::tsTop;
}

// ---- tab control

TSkinTab::TSkinTab() : TSkinControl(TControlSkinKind::skTab) {}

TSkinTab::~TSkinTab() {
  // Our bitmap must leave the DC before either goes.
  if (FBufferDc && FBufferOriginal) SelectObject(FBufferDc.Get(), FBufferOriginal);
}

void TSkinTab::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation == opRemove && component == FUpDown) FUpDown = nullptr;
}

void TSkinTab::AttachWindow(HWND window, TSkinData* skinData, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachWindow(window, skinData, canvas);
  if (!FAttached) return;
  FFocused = GetFocus() == window;
  FEnabled = IsWindowEnabled(window) != FALSE;
  PrepareStrips();
  FindUpDown();
}

bool TSkinTab::BeforeMessage(TMessage& message) {
  // Without the skin's tabs the control keeps its own look, painted as usual.
  if (!TabsOf(FSkinData, FHandle)) return true;
  return !ComposePaintMessages(message);
}

void TSkinTab::ReadOrientation() {
  if (FHandle) FOrientation = TabSideOfStyle(GetWindowLongPtrW(FHandle, GWL_STYLE));
}

void TSkinTab::PrepareStrips() {
  ReadOrientation();
  // Made again whole from the skin shown now: no picture of an earlier skin stays.
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  FTabStrip = tabs ? tabs->Image : TPixelBitmap();
  FBorderStrip = tabs ? tabs->Image2 : TPixelBitmap();
  switch (FOrientation) {
    case TTabSide::tsBottom:
      FlipVertical(FTabStrip);
      FlipVertical(FBorderStrip);
      break;
    case TTabSide::tsLeft: RotateLeft(FBorderStrip); break;
    case TTabSide::tsRight: RotateRight(FBorderStrip); break;
    case TTabSide::tsTop: break;
  }
}

void TSkinTab::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareStrips();
}

bool TSkinTab::FindUpDown() {
  if (!FHandle) return false;
  const HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
  if (!arrows) return false;
  if (!FUpDown) {
    if (TSkinControl* skin = MakeChildSkin<TSkinUpDown>()) {
      WatchReference(FUpDown, skin);
      FUpDown->AttachWindow(arrows, FSkinData, FCanvas);
    }
  }
  return (GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
}

void TSkinTab::DrawTab(HDC dc, const RECT& rect, int frame) {
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  if (!tabs || FTabStrip.Empty()) return;
  kv::DrawElement(dc, ToRect(rect), TabImage(*tabs, FTabStrip), frame);
}

HDC TSkinTab::TabBuffer(int width, int height) {
  if (!FBufferDc) {
    FBufferDc.Reset(CreateCompatibleDC(nullptr));
    if (!FBufferDc) return nullptr;
  }
  if (width == FBufferWidth && height == FBufferHeight && FTabBuffer) return FBufferDc.Get();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  TBitmapHandle bitmap(CreateDIBSection(FBufferDc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return nullptr;
  HGDIOBJ previous = SelectObject(FBufferDc.Get(), bitmap.Get());
  if (!FBufferOriginal) FBufferOriginal = previous;
  FTabBuffer = std::move(bitmap);  // the old one is no longer selected: it goes
  FBufferWidth = width;
  FBufferHeight = height;
  return FBufferDc.Get();
}

void TSkinTab::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  if (!tabs || !FHandle) return;
  if (FTabStrip.Empty()) PrepareStrips();
  if (FTabStrip.Empty()) return;
  FFocused = GetFocus() == FHandle;
  FEnabled = IsWindowEnabled(FHandle) != FALSE;

  RECT page = rect;
  SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  InflateRect(&page, 4, 4);
  const int count = int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
  const int selected = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));

  RECT strip = rect;
  switch (FOrientation) {
    case TTabSide::tsTop:
      page.top += 1;
      strip.bottom = page.top;
      break;
    case TTabSide::tsBottom:
      page.bottom -= 1;
      strip.top = page.bottom;
      break;
    case TTabSide::tsLeft:
      page.left += 1;
      strip.right = page.left;
      break;
    case TTabSide::tsRight:
      page.right -= 1;
      strip.left = page.right;
      break;
  }
  const int stripWidth = strip.right - strip.left, stripHeight = strip.bottom - strip.top;
  const bool lying = FOrientation == TTabSide::tsLeft || FOrientation == TTabSide::tsRight;
  const int bufferWidth = lying ? stripHeight : stripWidth, bufferHeight = lying ? stripWidth : stripHeight;

  if (bufferWidth > 0 && bufferHeight > 0) {
    HDC buffer = TabBuffer(bufferWidth, bufferHeight);
    if (!buffer) return;
    const RECT whole{0, 0, bufferWidth, bufferHeight};
    FillFace(buffer, whole);
    {
      TCanvas canvas(buffer);  // gives the buffer its own font back when it goes
      const int windowWidth = rect.right - rect.left;
      for (int i = 0; i < count; ++i) {
        wchar_t text[kItemTextLength + 1] = {};
        TCITEMW item{};
        item.mask = kItemMask;
        item.pszText = text;
        item.cchTextMax = kItemTextLength;
        item.iImage = -1;
        SendMessageW(FHandle, TCM_GETITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
        RECT r;
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
        r = IntoBuffer(r, FOrientation, page.bottom, bufferWidth, windowWidth);
        const bool isSelected = i == selected;
        DrawTab(buffer, r, TabFrame(isSelected));
        UseWindowFont(canvas, FHandle);
        canvas.Font().SetColor(isSelected ? tabs->MouseOverColour2 : tabs->NormalColour2);
        DrawImageCaption(canvas, r, DT_CENTER, item.pszText ? item.pszText : L"", item.iImage, images);
      }
    }

    std::optional<TPixelBitmap> turned;
    if (lying) {
      turned = ReadDcPixels(buffer, ToRect(whole));
      if (FOrientation == TTabSide::tsRight) {
        RotateRight(*turned);
      } else {
        RotateLeft(*turned);
      }
    }
    const TSavedDc saved(dc);  // the arrows' clipping goes with it
    if (FindUpDown()) {
      const HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
      RECT own, arrowRect;
      if (GetWindowRect(FHandle, &own) && GetWindowRect(arrows, &arrowRect)) {
        OffsetRect(&arrowRect, -own.left, -own.top);
        ExcludeClipRect(dc, arrowRect.left, arrowRect.top, arrowRect.right, arrowRect.bottom);
      }
    }
    if (turned) {
      CopyToDc(dc, strip.left, strip.top, *turned);
    } else {
      BitBlt(dc, strip.left, strip.top, stripWidth, stripHeight, buffer, 0, 0, SRCCOPY);
    }
    // The skin's tabs cover the platform's ring on the focused tab: ours instead.
    RECT focused;
    if (selected >= 0 && ShowsFocusCue() &&
        SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(selected), reinterpret_cast<LPARAM>(&focused))) {
      InflateRect(&focused, -3, -3);
      DrawFocusCue(dc, focused);
    }
  }

  if (!FBorderStrip.Empty())
    DrawNineSliceBorder(dc, ToRect(page), FBorderStrip, false, FixedFrameCount(TElementKind::ekTabPage),
                        FrameIndex(TElementKind::ekTabPage, TStateFlags::csNone), kBorderMargins);
}

// ---- tab set

TSkinTab31::TSkinTab31() : TSkinControl(TControlSkinKind::skTab31) {}

void TSkinTab31::Notification(TComponent* component, TOperation operation) {
  TSkinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FUpDown) FUpDown = nullptr;
  if (component == FScroller) FScroller = nullptr;
}

void TSkinTab31::AttachControl(TWinControl* control, TSkinData* skinData, bool recolor, TCanvas* canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(control, skinData, recolor, canvas);
  if (!FAttached || !FControl) return;
  PrepareStrip();
  auto* scroller = FControl->ComponentCount() > 0 ? dynamic_cast<TTabScroller*>(FControl->Components(0)) : nullptr;
  if (!scroller) return;
  WatchReference(FScroller, scroller);
  if (FUpDown) return;
  if (auto* upDown = MakeChildSkin<TSkinUpDown>()) {
    // The scroller's two arrows sit side by side: the up-down skin draws them horizontal.
    upDown->SetHorizontal(true);
    WatchReference(FUpDown, static_cast<TSkinControl*>(upDown));
    FUpDown->AttachWindow(scroller->Handle(), FSkinData, FCanvas);
  }
}

void TSkinTab31::SkinChanged() {
  TSkinControl::SkinChanged();
  PrepareStrip();
}

void TSkinTab31::PrepareStrip() {
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  FTabStrip = tabs ? tabs->Image : TPixelBitmap();
  FlipVertical(FTabStrip);
}

bool TSkinTab31::BeforeMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_PAINT:
      // The control then finds nothing left to paint; AfterMessage paints once more.
      PaintFromMessage(message);
      return true;
    case WM_ERASEBKGND: message.Result = 1; return false;
    default: return true;
  }
}

void TSkinTab31::DrawTab(HDC dc, const RECT& rect, int frame) {
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  if (!tabs || FTabStrip.Empty()) return;
  kv::DrawElement(dc, ToRect(rect), TabImage(*tabs, FTabStrip), frame);
}

void TSkinTab31::DrawSkin(HDC dc, const RECT& rect) {
  const TDataSkinBorder* tabs = TabsOf(FSkinData, FHandle);
  auto* tabSet = dynamic_cast<TTabSet*>(FControl);
  if (!tabs || !tabSet) return;
  if (FTabStrip.Empty()) PrepareStrip();
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;
  const TBufferDc buffer(dc, rect);
  FillFace(buffer.Get(), rect);
  TCanvas canvas(buffer.Get());
  canvas.Font() = tabSet->Font();
  // The tabs where the tab set itself puts them: the ones in view, from its first on.
  TStringList& texts = tabSet->Tabs();
  const int first = std::max(tabSet->FirstIndex(), 0);
  const int end = std::min(first + tabSet->VisibleTabs(), texts.Count());
  for (int i = first; i < end; ++i) {
    RECT tab = tabSet->TabRect(i);
    if (IsRectEmpty(&tab)) continue;
    OffsetRect(&tab, rect.left, rect.top);
    const bool isSelected = i == tabSet->TabIndex();
    DrawTab(buffer.Get(), tab, TabFrame(isSelected));
    canvas.Font().SetColor(isSelected ? tabs->MouseOverColour2 : tabs->NormalColour2);
    DrawCaption(canvas, tab, DT_CENTER, true, texts[i]);
  }
}

}  // namespace kv
