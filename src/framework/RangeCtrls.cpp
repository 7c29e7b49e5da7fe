#include "framework/RangeCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ControlsInternal.h"

namespace kv {

namespace {

const NMHDR& Header(const TMessage& m) { return *reinterpret_cast<const NMHDR*>(m.LParam); }

// Keeps a control's recorded bounds equal to where the platform put its window.
void SyncBounds(TWinControl* control) {
  if (!control || !control->HandleAllocated() || !control->Parent()) return;
  RECT r{};
  GetWindowRect(control->Handle(), &r);
  MapWindowPoints(nullptr, control->Parent()->Handle(), reinterpret_cast<POINT*>(&r), 2);
  control->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

}  // namespace

// ---- TProgressBar

TProgressBar::TProgressBar() { SetBounds(0, 0, 150, 16); }

void TProgressBar::SetRange(int min, int max) {
  FMin = min;
  FMax = std::max(min, max);
  FPosition = std::clamp(FPosition, FMin, FMax);
  if (FHandle) SendMessageW(FHandle, PBM_SETRANGE32, FMin, FMax);
}

int TProgressBar::Position() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
  return FPosition;
}

void TProgressBar::SetPosition(int value) {
  FPosition = std::clamp(value, FMin, FMax);
  if (FHandle) SendMessageW(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::SetStep(int value) {
  FStep = value;
  if (FHandle) SendMessageW(FHandle, PBM_SETSTEP, value, 0);
}

void TProgressBar::StepIt() {
  if (FHandle) {
    SendMessageW(FHandle, PBM_STEPIT, 0, 0);
    return;
  }
  int position = FPosition + FStep;
  if (FMax > FMin && (position > FMax || position < FMin)) position = FMin + (position - FMin) % (FMax - FMin);
  FPosition = std::clamp(position, FMin, FMax);
}

void TProgressBar::StepBy(int delta) {
  if (FHandle) {
    SendMessageW(FHandle, PBM_DELTAPOS, delta, 0);
    return;
  }
  FPosition = std::clamp(FPosition + delta, FMin, FMax);
}

void TProgressBar::SetSmooth(bool value) {
  if (FSmooth == value) return;
  FSmooth = value;
  RecreateWnd();
}

void TProgressBar::SetOrientation(TOrientation value) {
  if (FOrientation == value) return;
  FOrientation = value;
  RecreateWnd();
}

void TProgressBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = PROGRESS_CLASSW;
  params.Style |= (FSmooth ? PBS_SMOOTH : 0) | (FOrientation == orVertical ? PBS_VERTICAL : 0);
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, PBM_SETRANGE32, FMin, FMax);
  SendMessageW(FHandle, PBM_SETSTEP, FStep, 0);
  SendMessageW(FHandle, PBM_SETPOS, FPosition, 0);
}

void TProgressBar::DestroyWnd() {
  FPosition = Position();
  TWinControl::DestroyWnd();
}

// ---- TTrackBar

TTrackBar::TTrackBar() {
  SetTabStop(true);
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetRange(int min, int max) {
  FMin = min;
  FMax = std::max(min, max);
  FPosition = std::clamp(FPosition, FMin, FMax);
  if (FHandle) {
    SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(FHandle, TBM_SETRANGEMAX, TRUE, FMax);
  }
}

int TTrackBar::Position() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, TBM_GETPOS, 0, 0));
  return FPosition;
}

void TTrackBar::SetPosition(int value) {
  FPosition = std::clamp(value, FMin, FMax);
  if (FHandle) SendMessageW(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetOrientation(TOrientation value) {
  if (FOrientation == value) return;
  FOrientation = value;
  SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value) {
  if (FTickMarks == value) return;
  FTickMarks = value;
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
  if (FTickStyle == value) return;
  FTickStyle = value;
  RecreateWnd();
}

void TTrackBar::SetFrequency(int value) {
  FFrequency = std::max(value, 1);
  if (FHandle) SendMessageW(FHandle, TBM_SETTICFREQ, FFrequency, 0);
}

void TTrackBar::SetTick(int value) {
  FTicks.push_back(value);
  if (FHandle) SendMessageW(FHandle, TBM_SETTIC, 0, value);
}

void TTrackBar::SetLineSize(int value) {
  FLineSize = value;
  if (FHandle) SendMessageW(FHandle, TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetPageSize(int value) {
  FPageSize = value;
  if (FHandle) SendMessageW(FHandle, TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetTransparent(bool value) {
  FTransparent = value;
  FParentBrush.Reset();
  Invalidate();
}

void TTrackBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = TRACKBAR_CLASSW;
  const bool vertical = FOrientation == orVertical;
  params.Style |= vertical ? TBS_VERT : TBS_HORZ;
  switch (FTickMarks) {
    case tmBottomRight: params.Style |= vertical ? TBS_RIGHT : TBS_BOTTOM; break;
    case tmTopLeft: params.Style |= vertical ? TBS_LEFT : TBS_TOP; break;
    case tmBoth: params.Style |= TBS_BOTH; break;
  }
  if (FTickStyle == tsNone) params.Style |= TBS_NOTICKS;
  if (FTickStyle == tsAuto) params.Style |= TBS_AUTOTICKS;
}

void TTrackBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, TBM_SETRANGEMIN, FALSE, FMin);
  SendMessageW(FHandle, TBM_SETRANGEMAX, FALSE, FMax);
  SendMessageW(FHandle, TBM_SETLINESIZE, 0, FLineSize);
  SendMessageW(FHandle, TBM_SETPAGESIZE, 0, FPageSize);
  if (FTickStyle == tsAuto) SendMessageW(FHandle, TBM_SETTICFREQ, FFrequency, 0);
  for (int tick : FTicks) SendMessageW(FHandle, TBM_SETTIC, 0, tick);
  SendMessageW(FHandle, TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::DestroyWnd() {
  FPosition = Position();
  TWinControl::DestroyWnd();
}

void TTrackBar::ParentBackgroundBrush(TMessage& m) {
  RECT client{};
  GetClientRect(FHandle, &client);
  HWND parent = FParent->Handle();
  TBitmap picture(client.right, client.bottom);
  if (picture.Empty()) return;
  HDC dc = picture.Canvas().Handle();
  // The parent paints itself into the picture with its origin moved to ours.
  POINT origin{0, 0};
  MapWindowPoints(FHandle, parent, &origin, 1);
  POINT old{};
  SetViewportOrgEx(dc, -origin.x, -origin.y, &old);
  SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  GdiFlush();
  FParentBrush.Reset(CreatePatternBrush(picture.Handle()));
  SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
  m.Result = reinterpret_cast<LRESULT>(FParentBrush.Get());
}

void TTrackBar::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
      if (const int position = Position(); position != FPosition) {
        FPosition = position;
        if (OnChange) OnChange(this);
      }
      return;
    case CN_NOTIFY:
      // The platform draws every part unless a hook in front of us says otherwise.
      if (Header(m).code == static_cast<UINT>(NM_CUSTOMDRAW)) {
        m.Result = CDRF_DODEFAULT;
        return;
      }
      break;
    case CN_CTLCOLORSTATIC:
      if (FTransparent && FParent && FParent->HandleAllocated()) {
        ParentBackgroundBrush(m);
        if (m.Result) return;
      }
      break;
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TUpDown

TUpDown::TUpDown() { SetBounds(0, 0, 17, 25); }

void TUpDown::SetAssociate(TWinControl* control) {
  if (FAssociate == control) return;
  WatchReference(FAssociate, control);
  if (FHandle) AttachBuddy();
}

void TUpDown::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FAssociate) {
    FAssociate = nullptr;
    if (FHandle) SendMessageW(FHandle, UDM_SETBUDDY, 0, 0);
  }
}

void TUpDown::AttachBuddy() {
  SendMessageW(FHandle, UDM_SETBUDDY, FAssociate ? reinterpret_cast<WPARAM>(FAssociate->Handle()) : 0, 0);
  if (!FAssociate) return;
  // The platform moves us to the buddy's side and narrows the buddy; the buddy's text
  // shows the position from now on.
  SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
  SyncBounds(this);
  SyncBounds(FAssociate);
}

void TUpDown::SetRange(int min, int max) {
  FMin = min;
  FMax = max;
  FPosition = std::clamp(FPosition, std::min(min, max), std::max(min, max));
  if (FHandle) SendMessageW(FHandle, UDM_SETRANGE32, min, max);
}

int TUpDown::Position() const {
  if (FHandle) return static_cast<int>(SendMessageW(FHandle, UDM_GETPOS32, 0, 0));
  return FPosition;
}

void TUpDown::SetPosition(int value) {
  FPosition = std::clamp(value, std::min(FMin, FMax), std::max(FMin, FMax));
  if (FHandle) SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
}

void TUpDown::SetIncrement(int value) {
  FIncrement = value;
  if (FHandle) {
    UDACCEL accel{0, static_cast<UINT>(value)};
    SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  }
}

void TUpDown::SetOrientation(TOrientation value) {
  if (FOrientation == value) return;
  FOrientation = value;
  SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

void TUpDown::SetWrap(bool value) {
  if (FWrap == value) return;
  FWrap = value;
  RecreateWnd();
}

void TUpDown::SetArrowKeys(bool value) {
  if (FArrowKeys == value) return;
  FArrowKeys = value;
  RecreateWnd();
}

void TUpDown::SetAlignButton(TUDAlignButton value) {
  if (FAlignButton == value) return;
  FAlignButton = value;
  RecreateWnd();
}

void TUpDown::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = UPDOWN_CLASSW;
  params.Style |= UDS_SETBUDDYINT | UDS_NOTHOUSANDS | (FWrap ? UDS_WRAP : 0) | (FArrowKeys ? UDS_ARROWKEYS : 0) |
                  (FOrientation == orHorizontal ? UDS_HORZ : 0) |
                  (FAlignButton == udRight ? UDS_ALIGNRIGHT : UDS_ALIGNLEFT);
}

void TUpDown::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(FHandle, UDM_SETRANGE32, FMin, FMax);
  UDACCEL accel{0, static_cast<UINT>(FIncrement)};
  SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
  SendMessageW(FHandle, UDM_SETPOS32, 0, FPosition);
  if (FAssociate) AttachBuddy();
}

void TUpDown::DestroyWnd() {
  FPosition = Position();
  TWinControl::DestroyWnd();
}

void TUpDown::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CN_NOTIFY:
      if (Header(m).code == static_cast<UINT>(UDN_DELTAPOS)) {
        FLastDelta = reinterpret_cast<const NMUPDOWN*>(m.LParam)->iDelta;
        m.Result = 0;  // the change may go ahead
        return;
      }
      break;
    case CN_HSCROLL:
    case CN_VSCROLL:
      // One report per step; the end of the press (SB_ENDSCROLL) is not a step.
      if (LOWORD(m.WParam) == SB_THUMBPOSITION) {
        FPosition = Position();
        if (OnClick) OnClick(this, FLastDelta >= 0 ? btNext : btPrev);
      }
      return;
    default: break;
  }
  TWinControl::WndProc(m);
}

// ---- TScrollBar

TScrollBar::TScrollBar() {
  SetTabStop(true);
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (FKind == kind) return;
  FKind = kind;
  SetBounds(FLeft, FTop, FHeight, FWidth);
  RecreateWnd();
}

int TScrollBar::MaxPosition() const { return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax; }

int TScrollBar::Position() const {
  if (!FHandle) return FPosition;
  SCROLLINFO info = detail::ScrollInfo(SIF_POS);
  SendMessageW(FHandle, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info.nPos;
}

void TScrollBar::SetParams(int position, int min, int max) {
  FMin = min;
  FMax = std::max(min, max);
  FPageSize = std::clamp(FPageSize, 0, FMax - FMin + 1);
  FPosition = std::clamp(position, FMin, MaxPosition());
  UpdateScrollInfo();
}

void TScrollBar::SetPageSize(int value) {
  FPageSize = std::clamp(value, 0, FMax - FMin + 1);
  FPosition = std::clamp(FPosition, FMin, MaxPosition());
  UpdateScrollInfo();
}

void TScrollBar::UpdateScrollInfo() {
  if (!FHandle) return;
  SCROLLINFO info = detail::ScrollInfo(SIF_RANGE | SIF_PAGE | SIF_POS);
  info.nMin = FMin;
  info.nMax = FMax;
  info.nPage = static_cast<UINT>(FPageSize);
  info.nPos = FPosition;
  // Through the window procedure (not SetScrollInfo's shortcut), so hooks see it.
  SendMessageW(FHandle, SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
}

void TScrollBar::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.BaseClass = L"SCROLLBAR";
  params.Style |= FKind == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TWinControl::CreateWnd();
  UpdateScrollInfo();
}

void TScrollBar::Scroll(TScrollCode code) {
  int position = Position();
  switch (code) {
    case scLineUp: position -= FSmallChange; break;
    case scLineDown: position += FSmallChange; break;
    case scPageUp: position -= FLargeChange; break;
    case scPageDown: position += FLargeChange; break;
    case scPosition:
    case scTrack: {
      SCROLLINFO info = detail::ScrollInfo(SIF_TRACKPOS);
      SendMessageW(FHandle, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
      position = info.nTrackPos;
      break;
    }
    case scTop: position = FMin; break;
    case scBottom: position = FMax; break;
    case scEndScroll: break;
  }
  if (OnScroll) OnScroll(this, code, position);
  position = std::clamp(position, FMin, MaxPosition());
  if (position == Position()) return;
  FPosition = position;
  UpdateScrollInfo();
  if (OnChange) OnChange(this);
}

void TScrollBar::WndProc(TMessage& m) {
  if (m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) {
    const unsigned code = LOWORD(m.WParam);
    if (code <= SB_ENDSCROLL) Scroll(static_cast<TScrollCode>(code));
    m.Result = 0;
    return;
  }
  TWinControl::WndProc(m);
}

}  // namespace kv
