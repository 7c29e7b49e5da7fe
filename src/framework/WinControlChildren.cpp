// TWinControl and its window-less children: hit testing, and handing them the mouse
// (capture on press, enter and leave as the mouse moves between controls).
#include <windowsx.h>

#include "framework/Controls.h"
#include "framework/ControlsInternal.h"

namespace kv {

namespace {

bool IsMouseButtonDown(UINT msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
         msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
}
bool IsMouseButtonUp(UINT msg) { return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP; }

}  // namespace

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) const {
  for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, point)) return c;
  }
  return nullptr;
}

void TWinControl::MouseHandler(TMessage& m) {
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  TControl* target = FCaptureControl ? FCaptureControl : ControlAtPos(p);
  if (m.Msg == WM_MOUSEMOVE) {
    if (!FTrackingLeave) {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
      FTrackingLeave = TrackMouseEvent(&track) != FALSE;
    }
    detail::SetMouseControl(target ? target : this);
  }
  if (!target) {
    TControl::WndProc(m);
    return;
  }
  if (IsMouseButtonDown(m.Msg)) {
    FCaptureControl = target;
    SetCapture(FHandle);
  }
  m.Result = target->Perform(m.Msg, m.WParam, MAKELPARAM(p.x - target->Left(), p.y - target->Top()));
  if (IsMouseButtonUp(m.Msg)) {
    FCaptureControl = nullptr;
    if (GetCapture() == FHandle) ReleaseCapture();
  }
  // The default processing turns a right-button release into WM_CONTEXTMENU, which
  // finds the window-less control's popup menu.
  if (m.Msg == WM_RBUTTONUP) DefaultHandler(m);
}

void TWinControl::MouseLeaveHandler() {
  // The mouse left this window: find what it is over now, if it is one of ours.
  POINT p;
  GetCursorPos(&p);
  HWND under = WindowFromPoint(p);
  TWinControl* control = nullptr;
  for (HWND w = under; w && !control; w = GetParent(w)) control = FindControl(w);
  if (!control) {
    detail::SetMouseControl(nullptr);
    return;
  }
  ScreenToClient(control->FHandle, &p);
  TControl* inner = control->ControlAtPos(p);
  detail::SetMouseControl(inner ? inner : control);
}

}  // namespace kv
