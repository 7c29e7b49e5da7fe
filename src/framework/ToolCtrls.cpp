#include "framework/ToolCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ControlsInternal.h"

namespace kv {

// ---- TToolButton

int TToolButton::Index() const {
  if (!FToolBar) return -1;
  const auto& buttons = FToolBar->FButtons;
  auto it = std::find(buttons.begin(), buttons.end(), this);
  return it == buttons.end() ? -1 : static_cast<int>(it - buttons.begin());
}

void TToolButton::SetCaption(std::wstring_view caption) {
  FCaption = caption;
  if (FToolBar) FToolBar->UpdateButton(this);
}

void TToolButton::SetImageIndex(int index) {
  FImageIndex = index;
  if (FToolBar) FToolBar->UpdateButton(this);
}

bool TToolButton::Down() const {
  if (FToolBar && FToolBar->HandleAllocated())
    return SendMessageW(FToolBar->Handle(), TB_ISBUTTONCHECKED, static_cast<WPARAM>(FCommand), 0) != 0;
  return FDown;
}

void TToolButton::SetDown(bool value) {
  FDown = value;
  if (FToolBar && FToolBar->HandleAllocated())
    SendMessageW(FToolBar->Handle(), TB_CHECKBUTTON, static_cast<WPARAM>(FCommand), MAKELPARAM(value, 0));
}

void TToolButton::SetEnabled(bool value) {
  FEnabled = value;
  if (FToolBar && FToolBar->HandleAllocated())
    SendMessageW(FToolBar->Handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(FCommand), MAKELPARAM(value, 0));
}

// ---- TToolBar

namespace {
constexpr int kSeparatorWidth = 8;  // 96-DPI units, the platform's own
}  // namespace

TToolBar::TToolBar() { SetBounds(0, 0, 150, 29); }

TToolButton* TToolBar::AddButton(std::wstring_view caption, int imageIndex, TToolButtonStyle style) {
  auto* button = Make<TToolButton>();
  button->FToolBar = this;
  button->FCaption = caption;
  button->FImageIndex = imageIndex;
  button->FStyle = style;
  button->FCommand = FNextCommand++;
  FButtons.push_back(button);
  if (FHandle) AddToWindow(button);
  return button;
}

void TToolBar::AddToWindow(TToolButton* button) {
  TBBUTTON b{};
  b.idCommand = button->FCommand;
  b.fsState = static_cast<BYTE>((button->FEnabled ? TBSTATE_ENABLED : 0) | (button->FDown ? TBSTATE_CHECKED : 0));
  switch (button->FStyle) {
    case tbsButton: b.fsStyle = BTNS_BUTTON; break;
    case tbsCheck: b.fsStyle = BTNS_CHECK; break;
    case tbsSeparator: b.fsStyle = BTNS_SEP; break;
  }
  // A separator's "image" is its width.
  b.iBitmap = button->FStyle == tbsSeparator ? Scaled(kSeparatorWidth)
              : button->FImageIndex >= 0     ? button->FImageIndex
                                             : I_IMAGENONE;
  b.iString = button->FCaption.empty() ? -1 : reinterpret_cast<INT_PTR>(button->FCaption.c_str());
  SendMessageW(FHandle, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&b));
}

void TToolBar::UpdateButton(TToolButton* button) {
  if (!FHandle || button->FStyle == tbsSeparator) return;
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_TEXT | TBIF_IMAGE;
  info.pszText = const_cast<wchar_t*>(button->FCaption.c_str());
  info.iImage = button->FImageIndex >= 0 ? button->FImageIndex : I_IMAGENONE;
  SendMessageW(FHandle, TB_SETBUTTONINFOW, static_cast<WPARAM>(button->FCommand), reinterpret_cast<LPARAM>(&info));
}

void TToolBar::SetFlat(bool value) {
  if (FFlat == value) return;
  FFlat = value;
  RecreateWnd();
}

void TToolBar::SetImages(TImageList* images) {
  if (FImages == images) return;
  WatchReference(FImages, images);
  if (!FHandle) return;
  SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
  Invalidate();
}

void TToolBar::DpiChanged(int oldDpi) {
  TWinControl::DpiChanged(oldDpi);
  if (!FHandle) return;
  // The bar sizes its buttons from the list's image size when it is given the list, and
  // separators keep the width they were added with: every button again at the new scale.
  for (TToolButton* button : FButtons) button->FDown = button->Down();
  while (SendMessageW(FHandle, TB_DELETEBUTTON, 0, 0)) {
  }
  SendMessageW(FHandle, TB_SETIMAGELIST, 0, 0);
  if (FImages) SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  for (TToolButton* button : FButtons) AddToWindow(button);
  Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) SetImages(nullptr);
  auto it = std::find(FButtons.begin(), FButtons.end(), component);
  if (it == FButtons.end()) return;
  if (FHandle) {
    const LRESULT index = SendMessageW(FHandle, TB_COMMANDTOINDEX, static_cast<WPARAM>((*it)->FCommand), 0);
    if (index >= 0) SendMessageW(FHandle, TB_DELETEBUTTON, static_cast<WPARAM>(index), 0);
  }
  FButtons.erase(it);
}

RECT TToolBar::ButtonRect(int index) {
  RECT r{};
  if (FHandle) SendMessageW(FHandle, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

void TToolBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = TOOLBARCLASSNAMEW;
  // We place it ourselves, exactly where the form says.
  params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | (FFlat ? TBSTYLE_FLAT : 0);
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  if (FImages) SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(FImages->Handle()));
  for (TToolButton* button : FButtons) AddToWindow(button);
}

void TToolBar::DestroyWnd() {
  for (TToolButton* button : FButtons) button->FDown = button->Down();
  TWinControl::DestroyWnd();
}

void TToolBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_COMMAND: {
      const int command = LOWORD(m.WParam);
      auto it =
          std::find_if(FButtons.begin(), FButtons.end(), [command](TToolButton* b) { return b->FCommand == command; });
      if (it != FButtons.end()) {
        TToolButton* button = *it;
        button->FDown = button->Down();
        if (button->OnClick) button->OnClick(button);
      }
      return;
    }
    case WM_ERASEBKGND: {
      TCanvas canvas(reinterpret_cast<HDC>(m.WParam));
      canvas.Brush().SetColor(Color());
      RECT client{};
      GetClientRect(FHandle, &client);
      canvas.FillRect(client);
      m.Result = 1;
      return;
    }
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TScrollBox

namespace {
constexpr int kLineStep = 16;
}  // namespace

TScrollBox::TScrollBox() {
  FOwnPaint = true;
  FClickOnMouseUp = true;
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_CLIPCHILDREN;
  if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  params.WinClassName = L"Kv.ScrollBox";
}

void TScrollBox::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollBars();
}

void TScrollBox::SetBorderStyle(TFormBorderStyle style) {
  if (FBorderStyle == style) return;
  FBorderStyle = style;
  RecreateWnd();
}

void TScrollBox::SetAutoScroll(bool value) {
  FAutoScroll = value;
  if (!value) ScrollTo(0, 0);
  UpdateScrollBars();
}

void TScrollBox::UpdateScrollBars() {
  if (!FHandle || FUpdating) return;
  FUpdating = true;
  // The content reaches as far as the farthest child, measured unscrolled.
  int extent[2] = {0, 0};
  if (FAutoScroll) {
    for (int i = 0; i < ControlCount(); ++i) {
      const TControl* c = Controls(i);
      if (!c->Visible()) continue;
      extent[0] = std::max(extent[0], c->Left() + FPosition[0] + c->Width());
      extent[1] = std::max(extent[1], c->Top() + FPosition[1] + c->Height());
    }
  }
  // Showing one bar narrows the client area, which may call for the other: settle it.
  for (int round = 0; round < 3; ++round) {
    RECT client{};
    GetClientRect(FHandle, &client);
    const int page[2] = {client.right, client.bottom};
    if (round > 0 && page[0] == FPage[0] && page[1] == FPage[1]) break;
    for (int bar = 0; bar < 2; ++bar) {
      FRange[bar] = extent[bar];
      FPage[bar] = page[bar];
      SCROLLINFO info = detail::ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS);
      info.nMax = std::max(extent[bar] - 1, 0);
      info.nPage = static_cast<UINT>(std::max(page[bar], 0));
      info.nPos = std::clamp(FPosition[bar], 0, std::max(extent[bar] - page[bar], 0));
      SetScrollInfo(FHandle, bar == 0 ? SB_HORZ : SB_VERT, &info, TRUE);
    }
  }
  FUpdating = false;
  ScrollTo(FPosition[0], FPosition[1]);  // a grown client area may leave less to scroll
}

void TScrollBox::ScrollTo(int horizontal, int vertical) {
  const int wanted[2] = {horizontal, vertical};
  int delta[2] = {0, 0};
  for (int bar = 0; bar < 2; ++bar) {
    const int position = std::clamp(wanted[bar], 0, std::max(FRange[bar] - FPage[bar], 0));
    delta[bar] = position - FPosition[bar];
    FPosition[bar] = position;
  }
  if (delta[0] == 0 && delta[1] == 0) return;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() - delta[0], c->Top() - delta[1], c->Width(), c->Height());
  }
  if (!FHandle) return;
  for (int bar = 0; bar < 2; ++bar) {
    SCROLLINFO info = detail::ScrollInfo(SIF_POS);
    info.nPos = FPosition[bar];
    SetScrollInfo(FHandle, bar == 0 ? SB_HORZ : SB_VERT, &info, TRUE);
  }
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TScrollBox::ScrollInView(TControl* control) {
  if (!control || control->Parent() != this) return;
  int position[2] = {FPosition[0], FPosition[1]};
  const int start[2] = {control->Left(), control->Top()};
  const int length[2] = {control->Width(), control->Height()};
  for (int bar = 0; bar < 2; ++bar) {
    if (start[bar] < 0) {
      position[bar] += start[bar];
    } else if (start[bar] + length[bar] > FPage[bar]) {
      // As much as fits, from the top-left.
      position[bar] += std::min(start[bar] + length[bar] - FPage[bar], start[bar]);
    }
  }
  ScrollTo(position[0], position[1]);
}

void TScrollBox::Scroll(int bar, int code) {
  int position = FPosition[bar];
  switch (code) {
    case SB_LINEUP: position -= kLineStep; break;
    case SB_LINEDOWN: position += kLineStep; break;
    case SB_PAGEUP: position -= FPage[bar]; break;
    case SB_PAGEDOWN: position += FPage[bar]; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = detail::ScrollInfo(SIF_TRACKPOS);
      GetScrollInfo(FHandle, bar == 0 ? SB_HORZ : SB_VERT, &info);
      position = info.nTrackPos;
      break;
    }
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = FRange[bar]; break;
    default: return;
  }
  if (bar == 0) {
    ScrollTo(position, FPosition[1]);
  } else {
    ScrollTo(FPosition[0], position);
  }
}

void TScrollBox::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      // Our own bars (a scroll-bar child names itself in LParam and is reflected).
      if (m.LParam == 0) {
        Scroll(m.Msg == WM_HSCROLL ? 0 : 1, LOWORD(m.WParam));
        m.Result = 0;
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      if (FRange[1] > FPage[1]) {
        ScrollTo(FPosition[0], FPosition[1] - GET_WHEEL_DELTA_WPARAM(m.WParam) * 3 * kLineStep / WHEEL_DELTA);
        m.Result = 0;
        return;
      }
      break;
    case WM_SIZE:
      TWinControl::WndProc(m);
      UpdateScrollBars();
      return;
    case WM_SHOWWINDOW:
      TWinControl::WndProc(m);
      if (m.WParam) UpdateScrollBars();
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TDateTimePicker

namespace {
bool SameMoment(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay && a.wHour == b.wHour &&
         a.wMinute == b.wMinute && a.wSecond == b.wSecond;
}
}  // namespace

TDateTimePicker::TDateTimePicker() {
  SetTabStop(true);
  SetColor(clWindow);
  SetBounds(0, 0, 186, 21);
  GetLocalTime(&FDateTime);
  FDateTime.wMilliseconds = 0;
}

void TDateTimePicker::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = DATETIMEPICK_CLASSW;
  params.Style |= FDateMode == dmUpDown ? DTS_UPDOWN : 0;
  if (FKind == dtkTime) {
    params.Style |= DTS_TIMEFORMAT;
  } else {
    params.Style |= FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
  }
}

void TDateTimePicker::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
}

void TDateTimePicker::DestroyWnd() {
  FDateTime = DateTime();
  TWinControl::DestroyWnd();
}

SYSTEMTIME TDateTimePicker::DateTime() const {
  if (!FHandle) return FDateTime;
  SYSTEMTIME value{};
  if (SendMessageW(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)) != GDT_VALID) return FDateTime;
  return value;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& value) {
  FDateTime = value;
  if (FHandle) SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&FDateTime));
}

void TDateTimePicker::SetDate(int year, int month, int day) {
  SYSTEMTIME value = DateTime();
  value.wYear = static_cast<WORD>(year);
  value.wMonth = static_cast<WORD>(month);
  value.wDay = static_cast<WORD>(day);
  value.wDayOfWeek = 0;
  SetDateTime(value);
}

void TDateTimePicker::SetTime(int hour, int minute, int second) {
  SYSTEMTIME value = DateTime();
  value.wHour = static_cast<WORD>(hour);
  value.wMinute = static_cast<WORD>(minute);
  value.wSecond = static_cast<WORD>(second);
  value.wMilliseconds = 0;
  SetDateTime(value);
}

void TDateTimePicker::SetKind(TDateTimeKind kind) {
  if (FKind == kind) return;
  FKind = kind;
  RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode mode) {
  if (FDateMode == mode) return;
  FDateMode = mode;
  RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat format) {
  if (FDateFormat == format) return;
  FDateFormat = format;
  RecreateWnd();
}

bool TDateTimePicker::DroppedDown() const { return FHandle && SendMessageW(FHandle, DTM_GETMONTHCAL, 0, 0) != 0; }

void TDateTimePicker::WndProc(TMessage& m) {
  if (m.Msg == CN_NOTIFY && reinterpret_cast<const NMHDR*>(m.LParam)->code == static_cast<UINT>(DTN_DATETIMECHANGE)) {
    // The platform also reports a close of the calendar that changed nothing.
    const SYSTEMTIME now = DateTime();
    const bool changed = !SameMoment(now, FDateTime);
    FDateTime = now;
    if (changed && OnChange) OnChange(this);
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace kv
