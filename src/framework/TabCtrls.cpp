#include "framework/TabCtrls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace kv {

// ---- TTabControl

TTabControl::TTabControl() {
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
  FTabs.OnChange = [this] {
    if (FHandle) FTabIndex = TabIndex();
    UpdateTabs();
  };
}

void TTabControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = WC_TABCONTROLW;
  params.Style |= WS_CLIPCHILDREN | TCS_TABS | (FMultiLine ? TCS_MULTILINE : 0);
  switch (FTabPosition) {
    case tpTop: break;
    case tpBottom: params.Style |= TCS_BOTTOM; break;
    case tpLeft: params.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
    case tpRight: params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
  }
}

void TTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (FImages) SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  UpdateTabs();
}

void TTabControl::DestroyWnd() {
  FTabIndex = TabIndex();
  TWinControl::DestroyWnd();
}

void TTabControl::UpdateTabs() {
  const int count = FTabs.Count();
  // A tab control with tabs always has one selected.
  if (FTabIndex >= count) FTabIndex = count - 1;
  if (FTabIndex < 0 && count > 0) FTabIndex = 0;
  if (!FHandle) return;
  SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < count; ++i) {
    std::wstring text = FTabs[i];
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = text.data();
    item.iImage = FImages ? i : -1;
    SendMessageW(FHandle, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

int TTabControl::TabIndex() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
  return FTabIndex;
}

void TTabControl::SetTabIndex(int index) {
  FTabIndex = index >= 0 && index < FTabs.Count() ? index : -1;
  if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, static_cast<WPARAM>(FTabIndex), 0);
}

void TTabControl::SetTabPosition(TTabPosition position) {
  if (FTabPosition == position) return;
  FTabPosition = position;
  RecreateWnd();
}

void TTabControl::SetMultiLine(bool value) {
  if (FMultiLine == value) return;
  FMultiLine = value;
  RecreateWnd();
}

void TTabControl::SetImages(TImageList* images) {
  if (FImages == images) return;
  WatchReference(FImages, images);
  if (!FHandle) return;
  SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
  FTabIndex = TabIndex();
  UpdateTabs();
}

void TTabControl::DpiChanged(int oldDpi) {
  TWinControl::DpiChanged(oldDpi);
  // The tabs are measured from the list's image size when it is given.
  if (FHandle && FImages) {
    SendMessageW(FHandle, TCM_SETIMAGELIST, 0, 0);
    SendMessageW(FHandle, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  }
}

void TTabControl::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FImages) SetImages(nullptr);
}

RECT TTabControl::DisplayRect() {
  RECT r{};
  GetClientRect(Handle(), &r);
  SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
  return r;
}

void TTabControl::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY) {
    const UINT code = reinterpret_cast<const NMHDR*>(m.LParam)->code;
    if (code == static_cast<UINT>(TCN_SELCHANGING)) {
      bool allow = true;
      if (OnChanging) OnChanging(this, allow);
      m.Result = allow ? FALSE : TRUE;
      return;
    }
    if (code == static_cast<UINT>(TCN_SELCHANGE)) {
      FTabIndex = TabIndex();
      if (OnChange) OnChange(this);
      return;
    }
  }
  TWinControl::WndProc(m);
}

// ---- TTabScroller

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
}

TTabScroller::TTabScroller() {
  FOwnPaint = true;
  SetBounds(0, 0, 2 * GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL));
}

void TTabScroller::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.WinClassName = L"Kv.TabScroller";
}

void TTabScroller::SetCanScroll(bool left, bool right) {
  if (FCanLeft == left && FCanRight == right) return;
  FCanLeft = left;
  FCanRight = right;
  Invalidate();
}

void TTabScroller::Paint(TCanvas& canvas) {
  const RECT client = ClientRect();
  const int half = (client.right - client.left) / 2;
  RECT left{client.left, client.top, client.left + half, client.bottom};
  RECT right{client.left + half, client.top, client.right, client.bottom};
  auto state = [this](TScrollButton button, bool can) -> UINT {
    return (can ? 0 : DFCS_INACTIVE) | (FPressing && FPressed == button && can ? DFCS_PUSHED : 0);
  };
  DrawFrameControl(canvas.Handle(), &left, DFC_SCROLL, DFCS_SCROLLLEFT | state(sbLeft, FCanLeft));
  DrawFrameControl(canvas.Handle(), &right, DFC_SCROLL, DFCS_SCROLLRIGHT | state(sbRight, FCanRight));
}

void TTabScroller::Press(TScrollButton button) {
  const bool can = button == sbLeft ? FCanLeft : FCanRight;
  if (can && OnScrollClick) OnScrollClick(this, button);
}

void TTabScroller::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      FPressing = true;
      FPressed = GET_X_LPARAM(m.LParam) < Width() / 2 ? sbLeft : sbRight;
      SetCapture(FHandle);
      Invalidate();
      Press(FPressed);
      SetTimer(FHandle, kRepeatTimer, 400, nullptr);
      break;
    case WM_TIMER:
      if (m.WParam == kRepeatTimer) {
        if (FPressing) {
          SetTimer(FHandle, kRepeatTimer, 100, nullptr);
          Press(FPressed);
        } else {
          KillTimer(FHandle, kRepeatTimer);
        }
        return;
      }
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (FPressing) {
        FPressing = false;
        KillTimer(FHandle, kRepeatTimer);
        if (GetCapture() == FHandle) ReleaseCapture();
        Invalidate();
      }
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TTabSet

TTabSet::TTabSet() {
  FOwnPaint = true;
  FClickOnMouseUp = true;
  SetTabStop(true);
  FScroller = Make<TTabScroller>();
  FScroller->SetVisible(false);
  FScroller->SetParent(this);
  FScroller->OnScrollClick = [this](TComponent*, TScrollButton button) {
    SetFirstIndex(FFirstIndex + (button == sbLeft ? -1 : 1));
  };
  FTabs.OnChange = [this] {
    if (FTabIndex >= FTabs.Count()) {
      FTabIndex = -1;
      if (OnChange) OnChange(this);
    }
    FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs.Count() - 1, 0));
    Layout();
    Invalidate();
  };
  SetBounds(0, 0, 185, 21);
}

void TTabSet::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  params.WinClassName = L"Kv.TabSet";
}

void TTabSet::SetBounds(int left, int top, int width, int height) {
  TWinControl::SetBounds(left, top, width, height);
  Layout();
}

void TTabSet::FontChanged() {
  TWinControl::FontChanged();
  Layout();
  Invalidate();
}

void TTabSet::Layout() {
  if (!FScroller) return;  // still being made
  std::vector<int> widths;
  {
    const TWindowDc screen = TWindowDc::Screen();
    TCanvas canvas(screen.Get());
    canvas.Font() = Font();
    for (const std::wstring& tab : FTabs.Lines()) widths.push_back(canvas.TextExtent(tab).cx);
  }
  const int count = FTabs.Count();
  auto lay = [&](int limit) {
    FTabRects.clear();
    int x = FStartMargin;
    for (int i = FFirstIndex; i < count; ++i) {
      const int right = x + widths[static_cast<std::size_t>(i)] + kTabPadding;
      if (right > limit) break;
      FTabRects.push_back(RECT{x, 0, right, FHeight});
      x = right;
    }
    return static_cast<int>(FTabRects.size());
  };
  const int scrollerWidth = FScroller->Width(), scrollerHeight = std::min(FScroller->Height(), FHeight);
  int shown = lay(FWidth - FEndMargin);
  const bool needScroller = FFirstIndex > 0 || FFirstIndex + shown < count;
  if (needScroller) shown = lay(FWidth - FEndMargin - scrollerWidth - 2);
  FVisibleTabs = shown;
  FScroller->SetBounds(FWidth - FEndMargin - scrollerWidth, (FHeight - scrollerHeight) / 2, scrollerWidth,
                       scrollerHeight);
  FScroller->SetCanScroll(FFirstIndex > 0, FFirstIndex + shown < count);
  FScroller->SetVisible(needScroller);
}

void TTabSet::SetFirstIndex(int index) {
  index = std::clamp(index, 0, std::max(FTabs.Count() - 1, 0));
  if (index == FFirstIndex) return;
  FFirstIndex = index;
  Layout();
  Invalidate();
}

void TTabSet::SetTabIndex(int index) {
  if (index < 0 || index >= FTabs.Count()) index = -1;
  if (index == FTabIndex) return;
  FTabIndex = index;
  if (index >= 0 && index < FFirstIndex) FFirstIndex = index;
  Layout();
  while (index >= FFirstIndex + FVisibleTabs && FFirstIndex < index) {
    ++FFirstIndex;
    Layout();
  }
  Invalidate();
  if (OnChange) OnChange(this);
}

void TTabSet::UserSelect(int index) {
  if (index < 0 || index >= FTabs.Count() || index == FTabIndex) return;
  bool allow = true;
  if (OnChanging) OnChanging(this, index, allow);
  if (allow) SetTabIndex(index);
}

void TTabSet::SetStartMargin(int value) {
  FStartMargin = value;
  Layout();
  Invalidate();
}

void TTabSet::SetEndMargin(int value) {
  FEndMargin = value;
  Layout();
  Invalidate();
}

void TTabSet::SetSelectedColor(TColor color) {
  FSelectedColor = color;
  Invalidate();
}

void TTabSet::SetUnselectedColor(TColor color) {
  FUnselectedColor = color;
  Invalidate();
}

RECT TTabSet::TabRect(int index) const {
  const int at = index - FFirstIndex;
  if (at < 0 || at >= FVisibleTabs) return RECT{};
  return FTabRects[static_cast<std::size_t>(at)];
}

int TTabSet::TabAtPos(POINT point) const {
  for (int i = 0; i < FVisibleTabs; ++i)
    if (PtInRect(&FTabRects[static_cast<std::size_t>(i)], point)) return FFirstIndex + i;
  return -1;
}

void TTabSet::Paint(TCanvas& canvas) {
  HDC dc = canvas.Handle();
  const RECT client = ClientRect();
  // Each tab hangs from the line at the top: sides slanting in, the selected one open
  // to the line and drawn last, over its neighbours.
  auto drawTab = [&](int index) {
    const RECT r = TabRect(index);
    const bool selected = index == FTabIndex;
    const POINT shape[4] = {{r.left, 0}, {r.left + 3, r.bottom - 2}, {r.right - 3, r.bottom - 2}, {r.right, 0}};
    TBrushHandle brush(CreateSolidBrush(ColorToRgb(selected ? FSelectedColor : FUnselectedColor)));
    TPenHandle pen(CreatePen(PS_SOLID, 1, ColorToRgb(selected ? clWindowText : clBtnShadow)));
    {
      TSelectGuard useBrush(dc, brush.Get());
      TSelectGuard usePen(dc, pen.Get());
      Polygon(dc, shape, 4);
    }
    if (selected) {
      RECT open{r.left + 1, 0, r.right, 1};
      FillRect(dc, &open, brush.Get());
    }
    RECT text = r;
    text.bottom -= 2;
    canvas.Brush().SetStyle(bsClear);
    canvas.Font() = Font();
    if (!Enabled()) canvas.Font().SetColor(clGrayText);
    canvas.DrawTextIn(FTabs[index], text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (selected && Focused()) {
      InflateRect(&text, -3, -3);
      canvas.SetHandle(dc);  // back to the DC's own objects before drawing around them
      DrawFocusRect(dc, &text);
    }
  };
  {
    TBrushHandle line(CreateSolidBrush(ColorToRgb(clWindowText)));
    RECT top{client.left, 0, client.right, 1};
    FillRect(dc, &top, line.Get());
  }
  for (int i = FFirstIndex; i < FFirstIndex + FVisibleTabs; ++i)
    if (i != FTabIndex) drawTab(i);
  if (FTabIndex >= FFirstIndex && FTabIndex < FFirstIndex + FVisibleTabs) drawTab(FTabIndex);
}

void TTabSet::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int index = TabAtPos(POINT{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
      if (CanFocus()) SetFocus();
      if (index >= 0) UserSelect(index);
      break;
    }
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
      if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT) {
        if (FTabs.Count() > 0) UserSelect(std::clamp(FTabIndex + (m.WParam == VK_LEFT ? -1 : 1), 0, FTabs.Count() - 1));
        return;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      Layout();
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

}  // namespace kv
